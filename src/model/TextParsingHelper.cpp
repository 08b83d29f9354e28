#include "model/TextParsingHelper.h"

#include <QTextBoundaryFinder>

#include <algorithm>
#include <limits>

namespace orva {

namespace {

bool isNewline(char16_t c)
{
    return (c >= 0x000A && c <= 0x000D) || c == 0x0085 || c == 0x2028 || c == 0x2029;
}

// Every space separator lies in the Basic Multilingual Plane, so code units
// are enough to test for them.
bool isLineWhitespace(char16_t c)
{
    return c == 0x0009 || QChar::category(char32_t(c)) == QChar::Separator_Space;
}

template <typename Pred>
QString trimmed(const QString& text, Pred inSet)
{
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && inSet(text[start].unicode()))
        ++start;
    while (end > start && inSet(text[end - 1].unicode()))
        --end;
    return text.mid(start, end - start);
}

// The line's user-perceived characters (extended grapheme clusters).
QStringList graphemes(const QString& line)
{
    QStringList out;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, line);
    qsizetype previous = 0;
    while (finder.toNextBoundary() != -1) {
        const qsizetype position = finder.position();
        if (position > previous)
            out.append(line.mid(previous, position - previous));
        previous = position;
    }
    return out;
}

const QString kFence = QStringLiteral("'''");

} // namespace

ContentBlock ContentBlock::text(const QString& content)
{
    return ContentBlock{Kind::text, content, QUuid::createUuid()};
}

ContentBlock ContentBlock::code(const QString& content)
{
    return ContentBlock{Kind::code, content, QUuid::createUuid()};
}

QStringList TextParsingHelper::splitLines(const QString& text)
{
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (isNewline(text[i].unicode())) {
            lines.append(text.mid(start, i - start));
            start = i + 1;
        }
    }
    lines.append(text.mid(start));
    return lines;
}

QString TextParsingHelper::trimLineWhitespace(const QString& text)
{
    return trimmed(text, isLineWhitespace);
}

QString TextParsingHelper::trimWhitespaceAndNewlines(const QString& text)
{
    return trimmed(text, [](char16_t c) { return isLineWhitespace(c) || isNewline(c); });
}

QList<ContentBlock> TextParsingHelper::parseContentBlocks(const QString& message)
{
    QList<ContentBlock> blocks;
    QString textBuffer;
    QString codeBuffer;
    bool inCode = false;

    for (const QString& line : splitLines(message)) {
        if (trimLineWhitespace(line) == kFence) {
            if (!inCode) {
                if (!textBuffer.isEmpty())
                    blocks.append(ContentBlock::text(trimWhitespaceAndNewlines(textBuffer)));
                textBuffer.clear();
                inCode = true;
            } else {
                if (!codeBuffer.isEmpty())
                    blocks.append(ContentBlock::code(removeCommonIndentation(codeBuffer)));
                codeBuffer.clear();
                inCode = false;
            }
            continue;
        }
        QString& buffer = inCode ? codeBuffer : textBuffer;
        buffer += line;
        buffer += QLatin1Char('\n');
    }

    // The code of a run that was never closed is dropped.
    if (!textBuffer.isEmpty())
        blocks.append(ContentBlock::text(trimWhitespaceAndNewlines(textBuffer)));
    return blocks;
}

QString TextParsingHelper::removeCommonIndentation(const QString& text)
{
    const QStringList lines = splitLines(text);
    QList<QStringList> clusters;
    clusters.reserve(lines.size());
    qsizetype indent = std::numeric_limits<qsizetype>::max();
    for (const QString& line : lines) {
        clusters.append(graphemes(line));
        if (trimLineWhitespace(line).isEmpty())
            continue;
        qsizetype count = 0;
        for (const QString& g : clusters.last()) {
            if (g != QLatin1String(" ") && g != QLatin1String("\t"))
                break;
            ++count;
        }
        indent = std::min(indent, count);
    }
    if (indent == std::numeric_limits<qsizetype>::max())
        indent = 0;

    QStringList result;
    result.reserve(lines.size());
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QStringList& g = clusters[i];
        if (g.size() >= indent)
            result.append(g.mid(indent).join(QString()));
        else
            result.append(lines[i]);
    }
    return trimWhitespaceAndNewlines(result.join(QLatin1Char('\n')));
}

} // namespace orva
