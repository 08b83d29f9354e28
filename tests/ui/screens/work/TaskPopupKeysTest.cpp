// The task popup's keyboard round: Tab and Shift+Tab over its controls, the
// rows of a checklist of any length included, skipping what takes no
// keyboard now.
#include "ui/screens/work/TaskPopupKeys.h"
#include "workflow/work/PlanFixtures.h"

#include <gtest/gtest.h>

namespace orva::test {
namespace {

using S = PopupStop;

std::string nameOf(PopupPlace place)
{
    static const char* names[] = {"none", "xcode", "master", "works", "fails", "explanation", "submit", "close"};
    std::string name = names[static_cast<int>(place.stop)];
    if (place.row >= 0)
        name.append(" ").append(std::to_string(place.row));
    return name;
}

TEST(TaskPopupKeys, TabGoesRoundTheControlsThatTakeTheKeyboard)
{
    const PopupRound fresh{3, false, false, false};       // nothing judged: submit disabled
    const PopupRound judged{3, false, false, true};       // every item has a verdict
    const PopupRound laterFails{3, false, true, false};   // item 1 fails, item 0 not judged
    const PopupRound buildFails{3, true, true, true};     // item 0 fails: the rest disabled
    const PopupRound onlyItemFails{1, true, true, true};  // one item, failing
    const PopupRound empty{0, false, false, true};        // no checklist: only the close button
    const PopupRound huge{20000, false, false, false};
    struct Case {
        const char* name;
        PopupRound round;
        PopupPlace from;
        bool forward;
        PopupPlace to;
    };
    const QList<Case> cases = {
        {"first Tab", fresh, {}, true, {S::xcode}},
        {"first Shift+Tab", fresh, {}, false, {S::close}},
        {"Xcode, then the master box", fresh, {S::xcode}, true, {S::master}},
        {"the master box, then row 0's works box", fresh, {S::master}, true, {S::works, 0}},
        {"works, then fails of the same row", fresh, {S::works, 1}, true, {S::fails, 1}},
        {"fails, then the next row", fresh, {S::fails, 1}, true, {S::works, 2}},
        {"the last row, past the disabled submit, to close", fresh, {S::fails, 2}, true, {S::close}},
        {"the last row, then submit once it is enabled", judged, {S::fails, 2}, true, {S::submit}},
        {"submit, then close", judged, {S::submit}, true, {S::close}},
        {"close, round to Xcode", judged, {S::close}, true, {S::xcode}},
        {"back from close to submit", judged, {S::close}, false, {S::submit}},
        {"back from Xcode round to close", judged, {S::xcode}, false, {S::close}},
        {"back from works to the row before", fresh, {S::works, 2}, false, {S::fails, 1}},
        {"back from row 0 to the master box", fresh, {S::works, 0}, false, {S::master}},
        {"the explanation after the rows while an item fails", laterFails, {S::fails, 2}, true, {S::explanation}},
        {"the explanation, then close while submit is disabled", laterFails, {S::explanation}, true, {S::close}},
        {"a failing build passes over the disabled rows", buildFails, {S::fails, 0}, true, {S::explanation}},
        {"and back over them", buildFails, {S::explanation}, false, {S::fails, 0}},
        {"a disabled row still has its place", buildFails, {S::works, 1}, true, {S::explanation}},
        {"and back from it", buildFails, {S::fails, 2}, false, {S::fails, 0}},
        {"one failing item: the explanation next", onlyItemFails, {S::fails, 0}, true, {S::explanation}},
        {"the explanation, then submit", buildFails, {S::explanation}, true, {S::submit}},
        {"no checklist: only close", empty, {}, true, {S::close}},
        {"no checklist: close again", empty, {S::close}, true, {S::close}},
        {"no checklist: backwards too", empty, {S::close}, false, {S::close}},
        {"a row past the end starts again", fresh, {S::works, 3}, true, {S::xcode}},
        {"a row past the end, backwards", fresh, {S::works, 3}, false, {S::close}},
        {"a negative row starts again", fresh, {S::fails, -1}, true, {S::xcode}},
        {"deep in a long checklist", huge, {S::fails, 15000}, true, {S::works, 15001}},
        {"the end of a long checklist", huge, {S::fails, 19999}, true, {S::close}},
        {"backwards into a long checklist", huge, {S::close}, false, {S::fails, 19999}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const PopupPlace to = nextPopupPlace(c.from, c.forward, c.round);
        EXPECT_EQ(to, c.to) << nameOf(to) << " instead of " << nameOf(c.to);
    }
}

// Tab and Shift+Tab undo each other from every stop that takes the keyboard.
TEST(TaskPopupKeys, ShiftTabGoesBackTheWayTabCame)
{
    for (const PopupRound& round : {PopupRound{4, false, false, false}, PopupRound{4, true, true, true},
                                    PopupRound{1, false, true, true}, PopupRound{0, false, false, false}}) {
        SCOPED_TRACE(testing::Message() << round.count << " items, first fails " << round.firstFails);
        PopupPlace at = nextPopupPlace({}, true, round);
        const PopupPlace start = at;
        int steps = 0;
        do {
            const PopupPlace next = nextPopupPlace(at, true, round);
            EXPECT_EQ(nextPopupPlace(next, false, round), at) << nameOf(at);
            at = next;
        } while (at != start && ++steps < 100);
        EXPECT_LT(steps, 100) << "the round closes";
    }
}

TEST(TaskPopupKeys, FollowTheVerdict)
{
    TaskItem item = task(4, TaskStatus::onHold);
    item.detail.checklistUx = {QStringLiteral("빌드"), QStringLiteral("목록"), QStringLiteral("저장")};
    TaskDetailVerdict verdict(item);
    TaskPopupKeys keys;
    keys.setVerdict(&verdict);
    auto next = [&](TaskPopupKeys::Stop stop, int row) {
        return PopupPlace{static_cast<PopupStop>(keys.nextStop(stop, row, true)), keys.nextRow(stop, row, true)};
    };
    EXPECT_EQ(next(TaskPopupKeys::Fails, 2), (PopupPlace{S::close}));
    verdict.setChecked(true);
    EXPECT_EQ(next(TaskPopupKeys::Fails, 2), (PopupPlace{S::submit})) << "submit enabled";
    verdict.setFails(0, true);
    EXPECT_EQ(next(TaskPopupKeys::Fails, 0), (PopupPlace{S::explanation})) << "later rows disabled";
    EXPECT_EQ(next(TaskPopupKeys::None, -1), (PopupPlace{S::xcode}));
    EXPECT_EQ(next(static_cast<TaskPopupKeys::Stop>(42), -1), (PopupPlace{S::xcode})) << "an unknown stop starts again";
}

} // namespace
} // namespace orva::test
