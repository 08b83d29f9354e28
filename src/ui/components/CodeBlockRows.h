#pragma once

#include <QString>
#include <QStringList>

namespace orva {

// The rows of the code block: each non-blank line verbatim, in order. Lines
// are cut at every newline character (see TextParsingHelper::splitLines); a
// line is blank when nothing is left after trimming tabs and space
// separators.
QStringList codeBlockRows(const QString& code);

} // namespace orva
