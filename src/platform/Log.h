#pragma once

#include <QString>

#include <string_view>

namespace orva {

// Writes one diagnostic line to standard output as UTF-8, adds the newline and
// flushes. Safe to call from any thread; lines never interleave.
void logLine(const QString& line);
void logLine(std::string_view utf8Line);

} // namespace orva
