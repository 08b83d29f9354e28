#include "ui/screens/dashboard/DashboardRules.h"
#include "workflow/work/PlanFixtures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace orva::test {
namespace {

TEST(DashboardRules, TheCompletedCountChangesOnlyWhenItsValueDoes)
{
    using Count = std::optional<qint64>;
    struct Case {
        const char* name;
        Count shown;
        QList<Count> counts;
        QList<bool> changes;
    };
    const QList<Case> cases = {
        {"a rise", 2, {3}, {true}},
        {"a fall", 3, {2}, {true}},
        {"the same count again (another plan)", 2, {2, 2}, {false, false}},
        {"absent is not 0", std::nullopt, {0, 0}, {true, false}},
        {"0 is not absent", 0, {std::nullopt, std::nullopt}, {true, false}},
        {"the shown value is no change", 5, {5, 6, 6, 5}, {false, true, false, true}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CompletedCountWatch watch(c.shown);
        for (int i = 0; i < c.counts.size(); ++i) {
            EXPECT_EQ(watch.update(c.counts[i]), c.changes[i]) << "step " << i;
            EXPECT_EQ(watch.last(), c.counts[i]);
        }
    }
}

TEST(DashboardRules, BarFractions)
{
    struct Milestone {
        qint64 completed;
        qint64 tasks;
        double fraction;
    };
    for (const Milestone& m : QList<Milestone>{{0, 0, 0.0}, {3, 4, 0.75}, {0, 5, 0.0}, {5, 5, 1.0}, {2, 3, 2.0 / 3.0}}) {
        SCOPED_TRACE(testing::Message() << m.completed << " of " << m.tasks);
        EXPECT_DOUBLE_EQ(milestoneBarFraction(m.completed, m.tasks), m.fraction);
    }

    struct Header {
        double progress;
        double fraction;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (const Header& h : QList<Header>{{-0.25, 0.0}, {0.0, 0.0}, {0.5, 0.5}, {1.0, 1.0}, {1.5, 1.0}, {nan, 0.0}}) {
        SCOPED_TRACE(h.progress);
        EXPECT_DOUBLE_EQ(headerBarFraction(h.progress), h.fraction);
    }
    // The header's figures are the project's own: 2 of 3 is two thirds of the
    // bar and 66 per cent; 29 of 50 is 57; no task is 0.
    EXPECT_DOUBLE_EQ(headerBarFraction(projectWith(3, 2).progress()), 2.0 / 3.0);
    EXPECT_EQ(projectWith(3, 2).progressPercentage(), 66);
    EXPECT_EQ(projectWith(50, 29).progressPercentage(), 57);
    EXPECT_DOUBLE_EQ(headerBarFraction(projectOf({}).progress()), 0.0);
}

TEST(DashboardRules, CountTexts)
{
    EXPECT_EQ(taskTotalText(0), QStringLiteral("총 0개의 작업"));
    EXPECT_EQ(taskTotalText(50), QStringLiteral("총 50개의 작업"));
    EXPECT_EQ(milestoneCountText(3, 4), QStringLiteral("3/4"));
    EXPECT_EQ(milestoneCountText(0, 0), QStringLiteral("0/0"));
}

// The dashboard gives the row 988 points (1020 less its default padding).
TEST(DashboardRules, ThreeColumnsFitCentredAndWiderRowsScrollFromTheLeadingEdge)
{
    struct Case {
        int columns;
        double width;
        bool scrolls;
        double x;
    };
    const QList<Case> cases = {
        {0, 0, false, 494},
        {1, 288, false, 350},
        {3, 880, false, 54},
        {4, 1176, true, 0},
        {7, 7 * 288 + 6 * 8, true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.columns);
        EXPECT_DOUBLE_EQ(milestoneRowWidth(c.columns), c.width);
        EXPECT_EQ(milestoneRowScrolls(c.columns, 988), c.scrolls);
        EXPECT_DOUBLE_EQ(milestoneRowX(c.columns, 988), c.x);
        // Nothing is ever placed left of the row's space.
        EXPECT_GE(milestoneRowX(c.columns, 988), 0);
    }
}

// A column's task cards are 110 high and 10 apart, so a list of any length
// has a known height without a card being made; the tallest column is the
// one with the most tasks.
TEST(DashboardRules, TaskListsOfAnyLength)
{
    EXPECT_DOUBLE_EQ(taskListHeight(0), 0);
    EXPECT_DOUBLE_EQ(taskListHeight(1), 110);
    EXPECT_DOUBLE_EQ(taskListHeight(3), 350);
    EXPECT_DOUBLE_EQ(taskListHeight(10000), 10000 * 110 + 9999 * 10);

    const Project project = projectOf({{TaskStatus::completed}, {}, {TaskStatus::planned, TaskStatus::planned, TaskStatus::inProgress}});
    EXPECT_EQ(mostTasks(project), 3);
    EXPECT_EQ(mostTasks(Project {}), 0);

    // One at a time, for the screen.
    DashboardRules rules;
    const QVariant value = QVariant::fromValue(project);
    EXPECT_EQ(rules.mostTasksOf(value), 3);
    EXPECT_EQ(rules.milestoneCount(value), 3);
    EXPECT_EQ(rules.milestoneAt(value, 2).value<Milestone>().tasks.size(), 3);
    EXPECT_FALSE(rules.milestoneAt(value, 3).isValid());
    EXPECT_FALSE(rules.milestoneAt(value, -1).isValid());
    EXPECT_EQ(rules.taskAt(rules.milestoneAt(value, 2), 2).value<TaskItem>().status, TaskStatus::inProgress);
    EXPECT_FALSE(rules.taskAt(rules.milestoneAt(value, 1), 0).isValid());
    EXPECT_EQ(rules.milestoneCount(QVariant(42)), 0) << "not a project";
    EXPECT_FALSE(rules.taskAt(QVariant(42), 0).isValid()) << "not a milestone";
}

} // namespace
} // namespace orva::test
