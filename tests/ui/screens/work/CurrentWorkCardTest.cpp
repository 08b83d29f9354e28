// The current-work card's states, records and primary action, over every
// task status, test status and planned-display flag.
#include "ui/design/DesignTokens.h"
#include "ui/screens/work/CurrentWorkCardViewState.h"
#include "workflow/common/WorkflowTestSupport.h"

#include <gtest/gtest.h>

#include <QSignalSpy>

namespace orva::test {
namespace {

using Case = CurrentWorkCardViewState::Case;
using Token = TokenColor::Token;

TaskItem taskOf(TaskStatus status, TestStatus testStatus, const QString& titleUx = QStringLiteral("로그인 화면"))
{
    TaskItem task;
    task.id = 7;
    task.title = QStringLiteral("Login");
    task.titleUx = titleUx;
    task.status = status;
    task.testStatus = testStatus;
    return task;
}

// The state table: status x test status x flag.
Case expectedCase(TaskStatus status, TestStatus test, bool force)
{
    const bool working = status == TaskStatus::inProgress || status == TaskStatus::onHold;
    if (force)
        return working && test == TestStatus::ready ? Case::testReady : Case::planned;
    switch (status) {
    case TaskStatus::planned:
    case TaskStatus::completed: return Case::planned;
    case TaskStatus::inProgress: return test == TestStatus::ready ? Case::testReady : Case::inProgress;
    case TaskStatus::onHold:
        return test == TestStatus::ready ? Case::testReady
               : test == TestStatus::checking ? Case::testChecking
                                               : Case::planned;
    }
    return Case::planned;
}

TEST(CurrentWorkCardState, EveryStatusTestStatusAndFlag)
{
    struct Row {
        TaskStatus status;
        TestStatus test;
        bool force;
        Case expected;
    };
    // Written out, not derived: the table the card follows.
    const QList<Row> rows = {
        {TaskStatus::planned, TestStatus::ready, false, Case::planned},
        {TaskStatus::planned, TestStatus::checking, false, Case::planned},
        {TaskStatus::planned, TestStatus::ready, true, Case::planned},
        {TaskStatus::inProgress, TestStatus::ready, false, Case::testReady},
        {TaskStatus::inProgress, TestStatus::ready, true, Case::testReady},
        {TaskStatus::inProgress, TestStatus::pending, false, Case::inProgress},
        {TaskStatus::inProgress, TestStatus::pending, true, Case::planned},
        {TaskStatus::inProgress, TestStatus::checking, false, Case::inProgress},
        {TaskStatus::inProgress, TestStatus::checked, false, Case::inProgress},
        {TaskStatus::inProgress, TestStatus::excluded, false, Case::inProgress},
        {TaskStatus::completed, TestStatus::checked, false, Case::planned},
        {TaskStatus::completed, TestStatus::ready, true, Case::planned},
        {TaskStatus::onHold, TestStatus::ready, false, Case::testReady},
        {TaskStatus::onHold, TestStatus::ready, true, Case::testReady},
        {TaskStatus::onHold, TestStatus::checking, false, Case::testChecking},
        {TaskStatus::onHold, TestStatus::checking, true, Case::planned},
        {TaskStatus::onHold, TestStatus::pending, false, Case::planned},
        {TaskStatus::onHold, TestStatus::checked, false, Case::planned},
        {TaskStatus::onHold, TestStatus::excluded, true, Case::planned},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(QStringLiteral("%1/%2/%3").arg(toString(row.status), toString(row.test)).arg(row.force).toStdString());
        const TaskItem task = taskOf(row.status, row.test);
        const auto state = CurrentWorkCardViewState::of(task, row.force);
        EXPECT_EQ(state.kind, row.expected);
        ASSERT_TRUE(state.task);
        EXPECT_EQ(*state.task, task) << "the payload is the task unchanged";
    }
    // And the whole product agrees with the rules as stated.
    for (TaskStatus status : allTaskStatuses())
        for (TestStatus test : allTestStatuses())
            for (bool force : {false, true})
                EXPECT_EQ(CurrentWorkCardViewState::of(taskOf(status, test), force).kind,
                          expectedCase(status, test, force));
    for (bool force : {false, true}) {
        const auto empty = CurrentWorkCardViewState::of(std::nullopt, force);
        EXPECT_EQ(empty.kind, Case::empty);
        EXPECT_FALSE(empty.task);
    }
}

TEST(CurrentWorkCardState, DisplayRecordOfEachState)
{
    const QString t = QStringLiteral("로그인 화면");
    struct Row {
        std::optional<TaskItem> task;
        bool force;
        CurrentWorkCardDisplay expected;
    };
    const QList<Row> rows = {
        {taskOf(TaskStatus::planned, TestStatus::pending), false,
         {{Token::blue}, QStringLiteral("chevron.right.dotted.chevron.right"), {Token::white40},
          QStringLiteral("다음 작업은"), t + QStringLiteral("입니다"), std::nullopt, false, QStringLiteral("시작하기")}},
        {taskOf(TaskStatus::inProgress, TestStatus::pending), false,
         {{Token::indigo, 0.1}, QStringLiteral("asterisk"), {Token::teal}, QStringLiteral("지금 작업중인 내용은"),
          t + QStringLiteral("입니다"), std::nullopt, true, std::nullopt}},
        {taskOf(TaskStatus::onHold, TestStatus::ready), false,
         {{Token::green}, QStringLiteral("cube"), {Token::white40}, t + QStringLiteral("의"),
          QStringLiteral("테스트가 준비되었습니다"), std::nullopt, false, QStringLiteral("테스트 시작하기")}},
        {taskOf(TaskStatus::onHold, TestStatus::checking), false,
         {{Token::yellow}, QStringLiteral("cube"), {Token::background}, t + QStringLiteral(" 기능을"),
          QStringLiteral("테스트 중입니다"), QStringLiteral("테스트 진행 중"), false, std::nullopt}},
        {std::nullopt, true,
         {{Token::blue}, QStringLiteral("circle.dotted.and.circle"), {Token::white40}, QStringLiteral("진행 중인 작업 없음"),
          QStringLiteral("언제든 새로운 작업을 시작헤보세요"), std::nullopt, false, QStringLiteral("시작하기")}},
        // An empty user-facing title leaves the literals alone.
        {taskOf(TaskStatus::planned, TestStatus::pending, QString()), false,
         {{Token::blue}, QStringLiteral("chevron.right.dotted.chevron.right"), {Token::white40},
          QStringLiteral("다음 작업은"), QStringLiteral("입니다"), std::nullopt, false, QStringLiteral("시작하기")}},
        {taskOf(TaskStatus::inProgress, TestStatus::ready, QString()), true,
         {{Token::green}, QStringLiteral("cube"), {Token::white40}, QStringLiteral("의"),
          QStringLiteral("테스트가 준비되었습니다"), std::nullopt, false, QStringLiteral("테스트 시작하기")}},
        {taskOf(TaskStatus::onHold, TestStatus::checking, QString()), false,
         {{Token::yellow}, QStringLiteral("cube"), {Token::background}, QStringLiteral(" 기능을"),
          QStringLiteral("테스트 중입니다"), QStringLiteral("테스트 진행 중"), false, std::nullopt}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.expected.title.toStdString());
        const CurrentWorkCardDisplay display = CurrentWorkCardViewState::of(row.task, row.force).display();
        EXPECT_EQ(display.backgroundColor, row.expected.backgroundColor);
        EXPECT_EQ(display.iconName, row.expected.iconName);
        EXPECT_EQ(display.iconColor, row.expected.iconColor);
        EXPECT_EQ(display.title, row.expected.title);
        EXPECT_EQ(display.subtitle, row.expected.subtitle);
        EXPECT_EQ(display.statusText, row.expected.statusText);
        EXPECT_EQ(display.showsAnimatedBorder, row.expected.showsAnimatedBorder);
        EXPECT_EQ(display.buttonTitle, row.expected.buttonTitle);
    }
    const QColor tint = TokenColor{Token::indigo, 0.1}.color();
    EXPECT_EQ(tint.rgb(), DesignTokens::Colors::indigo().rgb());
    EXPECT_NEAR(tint.alphaF(), 0.1, 0.01);
}

TEST(CurrentWorkCardState, PrimaryActionLogsThenCalls)
{
    struct Row {
        std::optional<TaskItem> task;
        bool force;
        QString line; // empty: nothing written
        int work;
        int test;
    };
    const QList<Row> rows = {
        {std::nullopt, false, QStringLiteral("Empty State: 작업 시작"), 1, 0},
        {std::nullopt, true, QStringLiteral("Empty State: 작업 시작"), 1, 0},
        {taskOf(TaskStatus::completed, TestStatus::checked), false, QStringLiteral("Planned State: 작업 시작"), 1, 0},
        {taskOf(TaskStatus::inProgress, TestStatus::pending), true, QStringLiteral("Planned State: 작업 시작"), 1, 0},
        {taskOf(TaskStatus::onHold, TestStatus::ready), false, QStringLiteral("TestReady State: 테스트 시작"), 0, 1},
        {taskOf(TaskStatus::inProgress, TestStatus::pending), false, QString(), 0, 0},
        {taskOf(TaskStatus::onHold, TestStatus::checking), false, QString(), 0, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.line.toStdString());
        int work = 0;
        int test = 0;
        QStringList order;
        LogCapture capture;
        performCurrentWorkPrimaryAction(
            row.task, row.force,
            [&] {
                ++test;
                order << capture.text();
            },
            [&] {
                ++work;
                order << capture.text();
            });
        EXPECT_EQ(work, row.work);
        EXPECT_EQ(test, row.test);
        EXPECT_EQ(capture.lines(), row.line.isEmpty() ? QStringList() : QStringList{row.line});
        if (!row.line.isEmpty()) {
            ASSERT_EQ(order.size(), 1);
            EXPECT_EQ(order.first(), row.line) << "the line is written before the callback";
        }
    }
}

TEST(CurrentWorkCardState, ReloadInTheSameStateNotifiesNothing)
{
    CurrentWorkCardState card;
    QSignalSpy display(&card, &CurrentWorkCardState::displayChanged);
    QSignalSpy files(&card, &CurrentWorkCardState::modifiedFilesChanged);
    TaskItem task = taskOf(TaskStatus::inProgress, TestStatus::pending);
    task.detail.modifiedFiles = {QStringLiteral("A.swift"), QStringLiteral("B.swift")};
    card.setTask(QVariant::fromValue(task));
    EXPECT_EQ(card.viewState(), CurrentWorkCardState::InProgress);
    EXPECT_EQ(display.count(), 1);
    EXPECT_EQ(files.count(), 1);
    EXPECT_EQ(card.modifiedFiles(), task.detail.modifiedFiles);
    // The plan reloads: another summary, same state and files.
    task.summaryUx = QStringLiteral("다른 요약");
    card.setTask(QVariant::fromValue(task));
    EXPECT_EQ(display.count(), 1);
    EXPECT_EQ(files.count(), 1);
    // Into the test: the files go, the record changes.
    task.status = TaskStatus::onHold;
    task.testStatus = TestStatus::checking;
    card.setTask(QVariant::fromValue(task));
    EXPECT_EQ(card.viewState(), CurrentWorkCardState::TestChecking);
    EXPECT_EQ(display.count(), 2);
    EXPECT_TRUE(card.modifiedFiles().isEmpty());
    EXPECT_EQ(card.statusText(), QStringLiteral("테스트 진행 중"));
    card.setTask(QVariant());
    EXPECT_EQ(card.viewState(), CurrentWorkCardState::Empty);
    EXPECT_TRUE(card.hasButton());
}

} // namespace
} // namespace orva::test
