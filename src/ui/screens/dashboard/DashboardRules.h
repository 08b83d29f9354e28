#pragma once

// The dashboard's decisions: when the completed count really changed, the
// fractions handed to its bars, its count texts and where its row of
// milestone columns sits.

#include <QObject>
#include <QString>
#include <QVariant>
#include <QtQml/qqmlregistration.h>

#include <optional>

namespace orva {

struct Project;

// The completed count of the shown project, watched for real changes. The
// count is absent while there is no project: absent and 0 are different
// values, and a new plan with the same count is no change.
class CompletedCountWatch {
public:
    // `shown`: the value when the dashboard is first shown (never a change).
    explicit CompletedCountWatch(std::optional<qint64> shown = std::nullopt) : last_(shown) {}

    // Takes the current value; true when it differs from the previous one.
    bool update(std::optional<qint64> count);
    std::optional<qint64> last() const { return last_; }

private:
    std::optional<qint64> last_;
};

// A milestone's bar: completed / tasks, 0 without tasks (not clamped: a
// milestone never completes more tasks than it has).
double milestoneBarFraction(qint64 completedCount, qint64 taskCount);

// The header's bar: the project's progress clamped to 0...1 (0 for NaN).
double headerBarFraction(double progress);

// "총 N개의 작업".
QString taskTotalText(qint64 totalTasks);
// "completed/total".
QString milestoneCountText(qint64 completedCount, qint64 taskCount);

// The row of milestone columns: each column 240 wide with 24 on each side,
// 8 between columns.
inline constexpr double kMilestoneColumnWidth = 240 + 2 * 24;
inline constexpr double kMilestoneColumnSpacing = 8;
double milestoneRowWidth(int columns);
// Whether a row of that many columns is wider than the space it is given
// and so scrolls sideways (never for three columns in the dashboard).
bool milestoneRowScrolls(int columns, double availableWidth);
// Where the row starts within that space: centred when it fits, at the
// leading edge when it scrolls, so no column is lost at either edge.
double milestoneRowX(int columns, double availableWidth);

// A column's task cards: 110 high, 10 apart.
inline constexpr double kTaskCardHeight = 110;
inline constexpr double kTaskCardSpacing = 10;
double taskListHeight(qint64 tasks);
// The most tasks any milestone of the project has, 0 for none: the tallest
// column has them.
qint64 mostTasks(const Project& project);

// QML face of the rules above, as the singleton DashboardRules.
class DashboardRules : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(double columnWidth READ columnWidth CONSTANT)
    Q_PROPERTY(double columnSpacing READ columnSpacing CONSTANT)
    Q_PROPERTY(double taskCardHeight READ taskCardHeight CONSTANT)
    Q_PROPERTY(double taskCardSpacing READ taskCardSpacing CONSTANT)
public:
    using QObject::QObject;
    double columnWidth() const { return kMilestoneColumnWidth; }
    double columnSpacing() const { return kMilestoneColumnSpacing; }
    double taskCardHeight() const { return kTaskCardHeight; }
    double taskCardSpacing() const { return kTaskCardSpacing; }
    Q_INVOKABLE double milestoneBarFraction(qint64 completedCount, qint64 taskCount) const;
    Q_INVOKABLE double headerBarFraction(double progress) const;
    Q_INVOKABLE QString taskTotalText(qint64 totalTasks) const;
    Q_INVOKABLE QString milestoneCountText(qint64 completedCount, qint64 taskCount) const;
    Q_INVOKABLE double milestoneRowWidth(int columns) const;
    Q_INVOKABLE bool milestoneRowScrolls(int columns, double availableWidth) const;
    Q_INVOKABLE double milestoneRowX(int columns, double availableWidth) const;
    Q_INVOKABLE double taskListHeight(qint64 tasks) const { return orva::taskListHeight(tasks); }
    // Over a Project value, one item at a time, so that a plan of any size
    // is never copied into a list for a screen.
    Q_INVOKABLE qint64 mostTasksOf(const QVariant& project) const;
    Q_INVOKABLE int milestoneCount(const QVariant& project) const;
    // The milestone (a Milestone value) at the index; undefined outside.
    Q_INVOKABLE QVariant milestoneAt(const QVariant& project, int index) const;
    // The task (a TaskItem value) at the index of a Milestone value.
    Q_INVOKABLE QVariant taskAt(const QVariant& milestone, int index) const;
};

} // namespace orva
