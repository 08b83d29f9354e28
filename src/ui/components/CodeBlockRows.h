#pragma once

// The code block's rows: the lines of a code run that are not blank.

#include <QString>
#include <QStringList>

namespace orva {

// Lines of a code run cut at every newline character (U+000A-U+000D, U+0085,
// U+2028, U+2029).
QStringList splitLines(const QString& text);
// Whether nothing is left after trimming spaces, tabs and other space separators.
bool isBlankLine(const QString& line);
// The rows of the code block: each non-blank line verbatim, in order.
QStringList codeBlockRows(const QString& code);

} // namespace orva
