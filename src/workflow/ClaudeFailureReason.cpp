#include "workflow/ClaudeFailureReason.h"

#include <QTextBoundaryFinder>

namespace orva {

namespace {

constexpr char16_t kEscape = 0x1B;
constexpr char16_t kBell = 0x07;
constexpr char16_t kStringTerminator = 0x9C;
constexpr char16_t kReplacement = 0xFFFD;

bool isLineBreak(char16_t c)
{
    return (c >= 0x0A && c <= 0x0D) || c == 0x85 || c == 0x2028 || c == 0x2029;
}

bool isControl(char16_t c)
{
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

// Past a control sequence whose parameters and intermediates (0x20 to 0x3F)
// begin at `from`: just after its final character (0x40 to 0x7E). A
// character that belongs to neither ends a malformed sequence and stays.
qsizetype skipControlSequence(QStringView s, qsizetype from)
{
    qsizetype i = from;
    while (i < s.size()) {
        const char16_t c = s[i].unicode();
        if (c >= 0x40 && c <= 0x7E)
            return i + 1;
        if (c < 0x20 || c > 0x3F)
            return i;
        ++i;
    }
    return i;
}

// Past a command string (OSC, DCS, SOS, PM, APC) whose text begins at `from`:
// just after its terminator (ESC \ or U+009C, and BEL for OSC), or at the end
// of the line when it has none.
qsizetype skipCommandString(QStringView s, qsizetype from, bool bellEnds)
{
    for (qsizetype i = from; i < s.size(); ++i) {
        const char16_t c = s[i].unicode();
        if ((bellEnds && c == kBell) || c == kStringTerminator)
            return i + 1;
        if (c == kEscape && i + 1 < s.size() && s[i + 1] == u'\\')
            return i + 2;
    }
    return s.size();
}

// Past the escape sequence that begins with ESC at `at`.
qsizetype skipEscape(QStringView s, qsizetype at)
{
    if (at + 1 >= s.size())
        return at + 1;
    const char16_t next = s[at + 1].unicode();
    switch (next) {
    case u'[':
        return skipControlSequence(s, at + 2);
    case u']':
        return skipCommandString(s, at + 2, true);
    case u'P':
    case u'X':
    case u'^':
    case u'_':
        return skipCommandString(s, at + 2, false);
    default:
        break;
    }
    if (next >= 0x20 && next <= 0x2F) {
        // Intermediates, then one final character (e.g. ESC ( B).
        qsizetype i = at + 1;
        while (i < s.size() && s[i].unicode() >= 0x20 && s[i].unicode() <= 0x2F)
            ++i;
        if (i < s.size() && s[i].unicode() >= 0x30 && s[i].unicode() <= 0x7E)
            ++i;
        return i;
    }
    if (next >= 0x30 && next <= 0x7E)
        return at + 2; // e.g. ESC 7, ESC M
    return at + 1;     // a lone ESC
}

// Without escape sequences and control characters; tabs become blanks.
QString withoutTerminalControls(QStringView line)
{
    QString text;
    text.reserve(line.size());
    qsizetype i = 0;
    while (i < line.size()) {
        const char16_t c = line[i].unicode();
        switch (c) {
        case kEscape:
            i = skipEscape(line, i);
            continue;
        case 0x9B: // CSI
            i = skipControlSequence(line, i + 1);
            continue;
        case 0x9D: // OSC
            i = skipCommandString(line, i + 1, true);
            continue;
        case 0x90: // DCS
        case 0x98: // SOS
        case 0x9E: // PM
        case 0x9F: // APC
            i = skipCommandString(line, i + 1, false);
            continue;
        default:
            break;
        }
        if (c == u'\t' || isLineBreak(c))
            text.append(u' ');
        else if (!isControl(c) && c != kReplacement)
            text.append(line[i]);
        ++i;
    }
    return text;
}

} // namespace

QString cleanOutputLine(QStringView line, qsizetype limit)
{
    const QString text = withoutTerminalControls(line).simplified();
    if (limit <= 0 || text.size() <= limit)
        return limit <= 0 ? QString() : text;
    // Longer than the limit in UTF-16 units; count characters.
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype count = 0;
    qsizetype cut = 0;
    while (finder.toNextBoundary() != -1) {
        ++count;
        if (count == limit - 1)
            cut = finder.position();
        if (count > limit)
            break;
    }
    if (count <= limit)
        return text;
    QString shortened = text.left(cut);
    while (!shortened.isEmpty() && shortened.back().isSpace())
        shortened.chop(1);
    return shortened + QChar(0x2026);
}

QString lastOutputLine(const QByteArray& bytes, qsizetype limit)
{
    if (bytes.isEmpty())
        return QString();
    // Malformed sequences become U+FFFD, which the cleaning drops.
    const QString text = QString::fromUtf8(bytes);
    const QStringView view(text);
    qsizetype end = view.size();
    while (end > 0) {
        qsizetype start = end;
        while (start > 0 && !isLineBreak(view[start - 1].unicode()))
            --start;
        const QString line = cleanOutputLine(view.sliced(start, end - start), limit);
        if (!line.isEmpty())
            return line;
        end = start - 1;
    }
    return QString();
}

QString claudeFailureReason(const QByteArray& standardOutput, const QByteArray& standardError)
{
    const QString fromError = lastOutputLine(standardError);
    if (!fromError.isEmpty())
        return fromError;
    return lastOutputLine(standardOutput);
}

} // namespace orva
