#include "ui/screens/guiding/GuideColumnRules.h"

#include "ui/components/ScrollOffsets.h"

#include <algorithm>

namespace orva {

namespace guiding {

namespace {
constexpr double kTolerance = 0.5;
}

Fold foldOf(double contentY, double originY, double viewHeight, double contentHeight)
{
    Fold fold;
    fold.hiddenAbove = contentY - originY > kTolerance;
    fold.hiddenBelow = (originY + contentHeight) - (contentY + viewHeight) > kTolerance;
    return fold;
}

double verdictOffset(double contentY, double viewHeight, double contentHeight, double resultTop, double resultBottom,
                     double rowTop, double rowBottom, double margin)
{
    const double top = std::min(resultTop, rowTop);
    const double bottom = std::max(resultBottom, rowBottom);
    if (bottom - top <= viewHeight - 2 * margin)
        return revealOffset(contentY, viewHeight, top, bottom, contentHeight, margin);
    return revealOffset(contentY, viewHeight, resultTop, resultBottom, contentHeight, margin);
}

} // namespace guiding

bool GuideColumnRules::hidesAbove(double contentY, double originY, double viewHeight, double contentHeight) const
{
    return guiding::foldOf(contentY, originY, viewHeight, contentHeight).hiddenAbove;
}

bool GuideColumnRules::hidesBelow(double contentY, double originY, double viewHeight, double contentHeight) const
{
    return guiding::foldOf(contentY, originY, viewHeight, contentHeight).hiddenBelow;
}

double GuideColumnRules::verdictOffset(double contentY, double viewHeight, double contentHeight, double resultTop,
                                       double resultBottom, double rowTop, double rowBottom, double margin) const
{
    return guiding::verdictOffset(contentY, viewHeight, contentHeight, resultTop, resultBottom, rowTop, rowBottom,
                                  margin);
}

} // namespace orva
