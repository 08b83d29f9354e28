#include "ui/components/RotatingLines.h"

#include "ui/components/DisplayCut.h"

namespace orva {

QString rotatingLine(const QStringList& texts, int index)
{
    if (index < 0 || index >= texts.size())
        return {};
    // One line shows: a name of any length is laid out only that far.
    return cutForDisplay(texts[index], kOneLineChars, 0).text;
}

int rotatingNextIndex(int index, qsizetype count)
{
    if (count <= 0 || index < 0 || index >= count)
        return 0;
    return static_cast<int>((index + 1) % count);
}

bool rotatingNeedsTimer(qsizetype count) { return count >= 2; }

} // namespace orva
