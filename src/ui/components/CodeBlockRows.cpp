#include "ui/components/CodeBlockRows.h"

#include "model/TextParsingHelper.h"

namespace orva {

QStringList codeBlockRows(const QString& code)
{
    QStringList rows;
    for (const QString& line : TextParsingHelper::splitLines(code))
        if (!TextParsingHelper::trimLineWhitespace(line).isEmpty())
            rows.append(line);
    return rows;
}

} // namespace orva
