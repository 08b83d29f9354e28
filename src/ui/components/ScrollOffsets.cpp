#include "ui/components/ScrollOffsets.h"

#include <algorithm>
#include <cmath>

namespace orva {

double revealOffset(double contentY, double viewHeight, double top, double bottom, double contentHeight,
                    double margin)
{
    double y = contentY;
    if (bottom + margin > y + viewHeight)
        y = bottom + margin - viewHeight;
    if (top - margin < y)
        y = top - margin;
    const double most = std::max(0.0, contentHeight - viewHeight);
    return std::clamp(y, 0.0, most);
}

double lineAlignedOffset(double desired, double lineHeight, double contentHeight, double viewHeight,
                         double cursorTop, double cursorBottom)
{
    const double most = std::max(0.0, contentHeight - viewHeight);
    if (!(lineHeight > 0))
        return std::clamp(desired, 0.0, most);
    // The line starts from which the cursor's line is wholly in view lie
    // between these two; of them, the one nearest the wanted offset.
    const double lowest = std::ceil((cursorBottom - viewHeight) / lineHeight - 1e-6) * lineHeight;
    const double highest = std::floor(cursorTop / lineHeight + 1e-6) * lineHeight;
    const double wanted = std::round(desired / lineHeight) * lineHeight;
    double y = lowest <= highest ? std::clamp(wanted, lowest, highest) : highest;
    // The end of the content need not fall on a line start.
    y = std::clamp(y, 0.0, std::floor(most / lineHeight + 1e-6) * lineHeight);
    return y;
}

double wholeLinesHeight(double space, double lineHeight)
{
    if (!(lineHeight > 0))
        return space;
    return std::max(1.0, std::floor(space / lineHeight + 1e-6)) * lineHeight;
}

} // namespace orva
