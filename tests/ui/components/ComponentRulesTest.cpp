// Chip vocabulary, tap line, the chat field's guard, rotating-text indexes,
// code block rows and the completion popup's delayed actions.
#include "model/TextParsingHelper.h"
#include "support/Waiting.h"
#include "ui/components/ChipStyle.h"
#include "ui/components/CodeBlockRows.h"
#include "ui/components/ComponentRules.h"
#include "ui/components/DisabledTextGuard.h"
#include "ui/components/ProjectCompletionActions.h"
#include "ui/components/RotatingLines.h"
#include "ui/design/DesignTokens.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QSignalSpy>

namespace {

using namespace orva;
namespace C = DesignTokens::Colors;

TEST(StatusChips, TaskStatus)
{
    const std::pair<TaskStatus, ChipStyle> table[] = {
        {TaskStatus::planned, {QStringLiteral("구현 예정"), C::gray()}},
        {TaskStatus::inProgress, {QStringLiteral("구현 진행중"), C::green()}},
        {TaskStatus::completed, {QStringLiteral("구현 완료"), C::blue()}},
        {TaskStatus::onHold, {QStringLiteral("구현 보류"), C::yellow()}},
    };
    for (const auto& [status, chip] : table)
        EXPECT_EQ(chipForTaskStatus(status), chip) << toString(status).toStdString();
    EXPECT_EQ(allTaskStatuses().size(), 4);
}

TEST(StatusChips, TestStatus)
{
    const std::pair<TestStatus, ChipStyle> table[] = {
        {TestStatus::ready, {QStringLiteral("테스트 가능"), C::green()}},
        {TestStatus::pending, {QStringLiteral("테스트 대기"), C::yellow()}},
        {TestStatus::checking, {QStringLiteral("테스트 진행 중"), C::green()}},
        {TestStatus::checked, {QStringLiteral("테스트 완료"), C::blue()}},
        {TestStatus::excluded, {QStringLiteral("테스트 제외"), C::gray()}},
    };
    for (const auto& [status, chip] : table)
        EXPECT_EQ(chipForTestStatus(status), chip) << toString(status).toStdString();
    EXPECT_EQ(allTestStatuses().size(), 5);
    // The QML face answers by the case's integer value.
    ComponentRules rules;
    EXPECT_EQ(rules.testStatusText(2), QStringLiteral("테스트 진행 중"));
    EXPECT_EQ(rules.taskStatusText(1), QStringLiteral("구현 진행중"));
    EXPECT_EQ(rules.taskStatusText(9), QString());
}

TEST(TaskCard, TapLineCarriesTheInternalTitle)
{
    EXPECT_EQ(taskCardTapLine(QStringLiteral("setup-models")), QStringLiteral("TaskCard 클릭: setup-models"));
}

// Undo while disabled restores the last accepted text once; the restore is
// not itself undone (it would otherwise flip back and forth).
TEST(DisabledTextGuard, RestoresOnceAndSettles)
{
    DisabledTextGuard guard(QStringLiteral("hello"));
    EXPECT_EQ(guard.textChanged(QStringLiteral("hello!"), false), std::nullopt);
    EXPECT_EQ(guard.acceptedText(), QStringLiteral("hello!"));
    // Disabled: the caller clears the text; the guard gives it back.
    const auto restore = guard.textChanged(QString(), true);
    ASSERT_TRUE(restore.has_value());
    EXPECT_EQ(*restore, QStringLiteral("hello!"));
    // The restore arrives as a change back to the accepted text: nothing more.
    EXPECT_EQ(guard.textChanged(*restore, true), std::nullopt);
    EXPECT_EQ(guard.acceptedText(), QStringLiteral("hello!"));
    // Enabled again, edits are accepted.
    EXPECT_EQ(guard.textChanged(QStringLiteral("bye"), false), std::nullopt);
    EXPECT_EQ(guard.acceptedText(), QStringLiteral("bye"));
}

TEST(RotatingText, IndexesAndShrinkingLists)
{
    const QStringList three{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")};
    int index = 0;
    QStringList shown;
    for (int i = 0; i < 5; ++i) {
        shown.append(rotatingLine(three, index));
        index = rotatingNextIndex(index, three.size());
    }
    EXPECT_EQ(shown, (QStringList{"a", "b", "c", "a", "b"}));
    EXPECT_EQ(rotatingLine({}, 0), QString());
    EXPECT_EQ(rotatingLine(three, 3), QString());
    EXPECT_EQ(rotatingLine(three, -1), QString());
    // The list shrank under an index at 2: the next tick starts again at 0.
    EXPECT_EQ(rotatingNextIndex(2, 1), 0);
    EXPECT_EQ(rotatingNextIndex(2, 0), 0);
    EXPECT_EQ(rotatingNextIndex(0, 0), 0);
    EXPECT_FALSE(rotatingNeedsTimer(0));
    EXPECT_FALSE(rotatingNeedsTimer(1));
    EXPECT_TRUE(rotatingNeedsTimer(2));
}

struct RowsCase {
    QString code;
    QStringList rows;
};

TEST(CodeBlock, RowsAreTheNonBlankLinesVerbatim)
{
    const RowsCase cases[] = {
        {QStringLiteral("a\n\n  b"), {QStringLiteral("a"), QStringLiteral("  b")}},
        {QStringLiteral("\n \t\n\u00A0\n"), {}},
        {QStringLiteral("x\r\ny\r\n"), {QStringLiteral("x"), QStringLiteral("y")}},
        {QString::fromUtf8("one\u2028two\u0085three\u2029four\x0B" "five\x0C" "six\rseven"),
         {"one", "two", "three", "four", "five", "six", "seven"}},
        {QStringLiteral("  keep trailing  "), {QStringLiteral("  keep trailing  ")}},
        {QString(), {}},
    };
    for (const RowsCase& c : cases)
        EXPECT_EQ(codeBlockRows(c.code), c.rows) << c.code.toStdString();
    EXPECT_EQ(TextParsingHelper::splitLines(QStringLiteral("x\r\ny")), (QStringList{"x", "", "y"}));
}

TEST(ProjectCompletionActions, CloseReportsDismissOnceAfterADelay)
{
    ProjectCompletionActions actions;
    QSignalSpy dismiss(&actions, &ProjectCompletionActions::dismiss);
    QSignalSpy newProject(&actions, &ProjectCompletionActions::newProject);
    QElapsedTimer clock;
    clock.start();
    actions.close();
    ASSERT_TRUE(actions.closing());
    actions.close(); // a second click during the exit
    ASSERT_TRUE(orva::test::waitUntil([&] { return dismiss.count() == 1; }));
    EXPECT_GE(clock.elapsed(), 180);
    // Nothing is left to report: no second dismiss can follow.
    EXPECT_FALSE(actions.closing());
    EXPECT_EQ(dismiss.count(), 1);
    EXPECT_EQ(newProject.count(), 0);
}

TEST(ProjectCompletionActions, NewProjectAfterDismissAndOnlyOnce)
{
    ProjectCompletionActions actions;
    QStringList order;
    QElapsedTimer clock;
    qint64 dismissAt = 0, newAt = 0;
    QObject::connect(&actions, &ProjectCompletionActions::dismiss, [&] {
        order << QStringLiteral("dismiss");
        dismissAt = clock.elapsed();
    });
    QObject::connect(&actions, &ProjectCompletionActions::newProject, [&] {
        order << QStringLiteral("newProject");
        newAt = clock.elapsed();
    });
    bool newProjectStillPendingAtDismiss = false;
    QObject::connect(&actions, &ProjectCompletionActions::dismiss,
                     [&] { newProjectStillPendingAtDismiss = actions.closing() && order.size() == 1; });
    clock.start();
    actions.startNewProject();
    actions.startNewProject();
    ASSERT_TRUE(orva::test::waitUntil([&] { return order.size() == 2; }));
    // Nothing is left to report: neither comes twice.
    EXPECT_FALSE(actions.closing());
    EXPECT_EQ(order, (QStringList{"dismiss", "newProject"}));
    EXPECT_GE(dismissAt, 180);
    EXPECT_GE(newAt, 280);
    // The new project is still to come when the popup is dismissed (a busy
    // machine may run both late, so their distance is not measured).
    EXPECT_TRUE(newProjectStillPendingAtDismiss);
}

} // namespace
