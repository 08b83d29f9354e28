#pragma once

#include <QByteArray>
#include <QString>

#include <string_view>

namespace orva {

// Writes one diagnostic line to standard output as UTF-8, adds the newline and
// flushes. Safe to call from any thread; lines never interleave.
void logLine(const QString& line);
void logLine(std::string_view utf8Line);

// The most characters an excerpt of a long text in the log holds.
inline constexpr qsizetype kLogExcerptLimit = 4000;

// A text as the log keeps it: whole when it has at most `limit` UTF-16 units,
// else its beginning and its end (each half the limit, cut between
// characters) around "… [N characters left out] …".
QString logExcerpt(const QString& text, qsizetype limit = kLogExcerptLimit);
// The same of bytes, decoded as UTF-8 (malformed sequences replaced); only
// the two ends are decoded, so that a large output is never copied whole.
QString logExcerpt(const QByteArray& bytes, qsizetype limit = kLogExcerptLimit);

// A text of several lines as one log line: every line break (CR LF counting
// as one) becomes " — ".
QString oneLogLine(const QString& text);

} // namespace orva
