#pragma once

// Why a `claude` call failed, in claude's own words: the last line it wrote
// that still says something once the terminal's escape sequences and control
// characters are gone.

#include <QByteArray>
#include <QString>
#include <QStringView>

namespace orva {

// The most characters (grapheme clusters) of a reason, "…" included.
inline constexpr qsizetype kClaudeReasonLimit = 300;

// The reason a failed call gives: the last non-empty line of its standard
// error, else of its standard output, cleaned (cleanOutputLine). Bytes that
// are not UTF-8 are dropped. Empty when neither stream says anything.
QString claudeFailureReason(const QByteArray& standardOutput, const QByteArray& standardError);

// The last non-empty line of one stream, cleaned; empty when there is none.
// Lines end at every line break (U+000A to U+000D, U+0085, U+2028, U+2029),
// so of a progress line redrawn with carriage returns the last state counts.
QString lastOutputLine(const QByteArray& bytes, qsizetype limit = kClaudeReasonLimit);

// One line of terminal output as a person reads it: escape sequences (CSI,
// OSC, DCS and the other strings, two- and three-character escapes, their
// 8-bit forms) and control characters removed, tabs and runs of blanks made
// one blank, trimmed, and cut on a character boundary to `limit` characters
// with "…" at the end when longer.
QString cleanOutputLine(QStringView line, qsizetype limit = kClaudeReasonLimit);

} // namespace orva
