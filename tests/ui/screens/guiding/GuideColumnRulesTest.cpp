// The guide column's scrolling: which edges hide content, and where the
// column stands once a check has answered.
#include "ui/screens/guiding/GuideColumnRules.h"

#include <gtest/gtest.h>

namespace orva {
namespace {

using guiding::Fold;

TEST(GuideColumnRules, WhichEdgesHideContent)
{
    struct Case {
        const char* name;
        double contentY, originY, viewHeight, contentHeight;
        Fold fold;
    };
    const Case cases[] = {
        {"all of it fits", 0, 0, 800, 600, {false, false}},
        {"exactly fits", 0, 0, 800, 800, {false, false}},
        {"at the top of a longer column", 0, 0, 800, 1200, {false, true}},
        {"in the middle", 200, 0, 800, 1200, {true, true}},
        {"at the end", 400, 0, 800, 1200, {true, false}},
        {"a fraction of a pixel left is none", 399.6, 0, 800, 1200, {true, false}},
        {"a fraction of a pixel scrolled is none", 0.4, 0, 800, 1200, {false, true}},
        {"a pixel left below", 399, 0, 800, 1200, {true, true}},
        {"content that starts above zero", -50, -50, 800, 1200, {false, true}},
        {"pulled past the top", -30, 0, 800, 1200, {false, true}},
        {"pulled past the end", 450, 0, 800, 1200, {true, false}},
        {"an empty view", 0, 0, 0, 100, {false, true}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(guiding::foldOf(c.contentY, c.originY, c.viewHeight, c.contentHeight), c.fold);
    }
}

TEST(GuideColumnRules, AVerdictBringsTheResultAndTheFolderRowIntoView)
{
    struct Case {
        const char* name;
        double contentY, viewHeight, contentHeight;
        double resultTop, resultBottom, rowTop, rowBottom;
        double expected;
    };
    const double margin = 16;
    const Case cases[] = {
        // The box and the row under it below the fold: both come up, the
        // row's foot at the margin.
        {"both below the fold", 0, 700, 1000, 620, 700, 716, 750, 750 + margin - 700},
        {"both in view already", 100, 700, 1000, 620, 700, 716, 750, 100},
        // Only the row is hidden: it is the one brought up.
        {"the row alone below the fold", 80, 700, 1000, 620, 700, 716, 800, 800 + margin - 700},
        // A box and row taller than the view: the box, its top first.
        {"a tall box keeps its top in view", 0, 700, 2000, 620, 1500, 1516, 1550, 620 - margin},
        {"the box and row together too tall: the box's foot", 0, 700, 2000, 620, 1260, 1276, 1310, 1260 + margin - 700},
        // Above the view: scrolled back up to the box's top.
        {"above the view", 900, 700, 2000, 620, 700, 716, 750, 620 - margin},
        // Never past the end of the content.
        {"clamped at the end", 0, 700, 760, 620, 700, 716, 750, 60},
        {"a short column does not scroll", 0, 900, 760, 620, 700, 716, 750, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_DOUBLE_EQ(guiding::verdictOffset(c.contentY, c.viewHeight, c.contentHeight, c.resultTop, c.resultBottom,
                                                c.rowTop, c.rowBottom, margin),
                         c.expected);
    }
}

} // namespace
} // namespace orva
