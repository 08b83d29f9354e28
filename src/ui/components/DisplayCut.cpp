#include "ui/components/DisplayCut.h"

#include <algorithm>

namespace orva {

DisplayCut cutForDisplay(const QString& text, qsizetype maxChars, qsizetype maxLines)
{
    DisplayCut result;
    result.total = text.size();
    qsizetype end = std::min(text.size(), std::max<qsizetype>(0, maxChars));
    if (maxLines > 0) {
        qsizetype lines = 1;
        for (qsizetype i = 0; i < end; ++i) {
            if (text.at(i) == QLatin1Char('\n') && ++lines > maxLines) {
                end = i;
                break;
            }
        }
    }
    if (end < text.size() && end > 0 && text.at(end - 1).isHighSurrogate())
        --end;
    result.cut = end < text.size();
    result.text = result.cut ? text.left(end) : text;
    return result;
}

QString displayText(const QString& text, qsizetype maxChars, qsizetype maxLines)
{
    const DisplayCut cut = cutForDisplay(text, maxChars, maxLines);
    return cut.cut ? cut.text + QChar(0x2026) : cut.text;
}

} // namespace orva
