#include "ui/components/CodeBlockRows.h"

namespace orva {

namespace {
bool isNewline(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 0x000A && u <= 0x000D) || u == 0x0085 || u == 0x2028 || u == 0x2029;
}
bool isSpaceSeparatorOrTab(QChar c)
{
    return c == u'\t' || c.category() == QChar::Separator_Space;
}
} // namespace

QStringList splitLines(const QString& text)
{
    QStringList lines;
    QString current;
    for (const QChar c : text) {
        if (isNewline(c)) {
            lines.append(current);
            current.clear();
        } else {
            current.append(c);
        }
    }
    lines.append(current);
    return lines;
}

bool isBlankLine(const QString& line)
{
    for (const QChar c : line)
        if (!isSpaceSeparatorOrTab(c))
            return false;
    return true;
}

QStringList codeBlockRows(const QString& code)
{
    QStringList rows;
    for (const QString& line : splitLines(code))
        if (!isBlankLine(line))
            rows.append(line);
    return rows;
}

} // namespace orva
