#include "ui/design/Hex.h"

#include <QTextBoundaryFinder>

#include <algorithm>
#include <cstdint>
#include <limits>

namespace orva {
namespace {

bool isAlphanumeric(char32_t c)
{
    switch (QChar::category(c)) {
    case QChar::Letter_Uppercase:
    case QChar::Letter_Lowercase:
    case QChar::Letter_Titlecase:
    case QChar::Letter_Modifier:
    case QChar::Letter_Other:
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
    case QChar::Number_DecimalDigit:
    case QChar::Number_Letter:
    case QChar::Number_Other:
        return true;
    default:
        return false;
    }
}

QString trimNonAlphanumeric(const QString& text)
{
    const QList<uint> codes = text.toUcs4();
    qsizetype begin = 0;
    qsizetype end = codes.size();
    while (begin < end && !isAlphanumeric(codes[begin]))
        ++begin;
    while (end > begin && !isAlphanumeric(codes[end - 1]))
        --end;
    QString out;
    for (qsizetype i = begin; i < end; ++i)
        out.append(QString::fromUcs4(reinterpret_cast<const char32_t*>(&codes[i]), 1));
    return out;
}

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9') return u - '0';
    if (u >= 'a' && u <= 'f') return u - 'a' + 10;
    if (u >= 'A' && u <= 'F') return u - 'A' + 10;
    return -1;
}

// Reads like a hexadecimal scanner: white space skipped, optional 0x/0X,
// digits up to the first non-digit; saturates on overflow.
std::uint64_t scanHex(const QString& text)
{
    qsizetype i = 0;
    while (i < text.size() && text[i].isSpace())
        ++i;
    if (i + 1 < text.size() && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X'))
        i += 2;
    std::uint64_t value = 0;
    bool overflow = false;
    for (; i < text.size(); ++i) {
        const int d = hexDigit(text[i]);
        if (d < 0)
            break;
        if (value > (std::numeric_limits<std::uint64_t>::max() >> 4))
            overflow = true;
        value = (value << 4) | static_cast<std::uint64_t>(d);
    }
    return overflow ? std::numeric_limits<std::uint64_t>::max() : value;
}

qsizetype characterCount(const QString& text)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype count = 0;
    while (finder.toNextBoundary() != -1)
        ++count;
    return count;
}

int component(std::uint64_t v)
{
    return static_cast<int>(std::min<std::uint64_t>(v, 255));
}

} // namespace

QColor colorFromHex(const QString& text)
{
    const QString trimmed = trimNonAlphanumeric(text);
    const std::uint64_t v = scanHex(trimmed);
    int r = 0, g = 0, b = 0, a = 255;
    switch (characterCount(trimmed)) {
    case 3:
        r = component((v >> 8) * 17);
        g = component(((v >> 4) & 15) * 17);
        b = component((v & 15) * 17);
        break;
    case 6:
        r = component(v >> 16);
        g = component((v >> 8) & 255);
        b = component(v & 255);
        break;
    case 8:
        a = component(v >> 24);
        r = component((v >> 16) & 255);
        g = component((v >> 8) & 255);
        b = component(v & 255);
        break;
    default:
        break;
    }
    return QColor::fromRgb(r, g, b, a);
}

} // namespace orva
