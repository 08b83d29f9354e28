#pragma once

// The rotating text's rules: which line shows for an index, the index that
// follows, and whether the text turns at all.

#include <QString>
#include <QStringList>

namespace orva {

// The line shown for an index: the entry when in range (as far as one line
// can show it), else "".
QString rotatingLine(const QStringList& texts, int index);
// The next index, wrapping after the last; 0 for an empty list. An index left
// beyond the end after the list shrank also starts again at 0.
int rotatingNextIndex(int index, qsizetype count);
// Whether a timer is needed: two lines or more.
bool rotatingNeedsTimer(qsizetype count);

} // namespace orva
