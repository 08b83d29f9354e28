// The dashboard's checks over plans published by a real monitor watching a
// temporary workspace: the model is made as the work screen makes it (from
// the plan on disk when the dashboard opens), the dashboard is shown, then
// plans are written (or the plan removed) one after another.
#include "ui/screens/dashboard/DashboardChecks.h"
#include "workflow/common/WorkflowTestSupport.h"
#include "workflow/work/PlanFixtures.h"

#include "support/TempContext.h"
#include "workflow/DashboardViewModel.h"
#include "workflow/WorkflowServices.h"
#include "workspace/AppGroupMonitorService.h"
#include "workspace/AppGroupStorageService.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QSignalSpy>

namespace orva::test {
namespace {

const QString kDirectory = QStringLiteral("ZAVE/project");
const QString kFile = QStringLiteral("Task.json");

// One thing that happens while the dashboard is open.
struct Step {
    enum class Kind { publish, removePlan, dismiss };
    Kind kind = Kind::publish;
    std::optional<Project> plan;
};
Step publish(const Project& plan) { return {Step::Kind::publish, plan}; }
Step removePlan() { return {Step::Kind::removePlan, std::nullopt}; }
Step dismiss() { return {Step::Kind::dismiss, std::nullopt}; }

const QString kSkip = QStringLiteral("[DashboardViewModel] - All tasks completed. Skipping popup.");
const QString kShown = QStringLiteral("[DashboardViewModel] - Popup shown: true");
const QString kDismissed = QStringLiteral("[DashboardViewModel] - Popup dismissed");
QString completed(int n) { return QStringLiteral("[DashboardViewModel] - %1 task(s) completed!").arg(n); }

// Two of five done, and the same count with the other statuses changed.
Project twoOfFiveReshuffled()
{
    return projectOf({{TaskStatus::completed, TaskStatus::completed, TaskStatus::inProgress, TaskStatus::onHold,
                       TaskStatus::planned}});
}

struct Case {
    const char* name;
    std::optional<Project> opened; // the plan on disk when the dashboard opens
    QList<Step> steps;
    bool popup;         // shown at the end
    QStringList lines;  // the model's lines after opening
    int checks;         // checks asked of the model, the one on appearing included
};

class Workspace {
public:
    void write(const Project& project) const
    {
        ProjectWrapper wrapper;
        wrapper.project = project;
        storage.saveFile(QString::fromUtf8(encodeProjectWrapper(wrapper)), kFile, kDirectory);
    }
    bool remove() const { return QFile::remove(storage.url(kFile, kDirectory).value()); }

    TempContext context;
    AppGroupStorageService storage;
};

TEST(DashboardChecks, PublishedPlansShowThePopupWhenTheCountRisesAndWorkRemains)
{
    const QList<Case> cases = {
        {"2 -> 3 of 5 shows it", projectWith(5, 2), {publish(projectWith(5, 3))}, true, {completed(1), kShown}, 2},
        {"4 -> 5 of 5 logs the skip and shows none", projectWith(5, 4), {publish(projectWith(5, 5))}, false,
         {completed(1), kSkip}, 2},
        {"3 -> 2 never shows it", projectWith(5, 3), {publish(projectWith(5, 2))}, false, {}, 2},
        {"the same count with other statuses runs no check", projectWith(5, 2), {publish(twoOfFiveReshuffled())},
         false, {}, 1},
        {"dismissed, then 3 -> 4 shows it again", projectWith(5, 2),
         {publish(projectWith(5, 3)), dismiss(), publish(projectWith(5, 4))}, true,
         {completed(1), kShown, kDismissed, completed(1), kShown}, 3},
        {"a second rise while it shows keeps it", projectWith(5, 1),
         {publish(projectWith(5, 2)), publish(projectWith(5, 4))}, true,
         {completed(1), kShown, completed(2), kShown}, 3},
        // Opened before any plan: the first plan (0 done) is a change and arms
        // the model, so the next rise shows the popup.
        {"absent -> 0 is a change", std::nullopt, {publish(projectWith(3, 0)), publish(projectWith(3, 1))}, true,
         {completed(1), kShown}, 3},
        {"0 -> 0 with another plan is not", projectWith(3, 0), {publish(projectWith(4, 0))}, false, {}, 1},
        // The plan goes (the dashboard shows its loading state) and comes back
        // with one more task done: the model remembered 2.
        {"2 -> absent -> 3 shows it", projectWith(5, 2), {removePlan(), publish(projectWith(5, 3))}, true,
         {completed(1), kShown}, 3},
    };

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Workspace workspace;
        if (c.opened)
            workspace.write(*c.opened);
        AppGroupMonitorService monitor(std::chrono::milliseconds(30));
        monitor.startTaskDashboardMonitoring();
        ASSERT_EQ(monitor.project(), c.opened);
        WorkflowServices services;
        services.appGroupStorage = &workspace.storage;
        services.appGroupMonitor = &monitor;

        LogCapture log;
        DashboardViewModel model(monitor.project(), services);
        DashboardChecks checks;
        QSignalSpy asked(&checks, &DashboardChecks::checked);
        checks.setViewModel(&model);
        checks.setShown(true);
        EXPECT_FALSE(model.showCompletedTaskPopup()) << "opening never shows the popup";

        for (const Step& step : c.steps) {
            switch (step.kind) {
            case Step::Kind::publish:
                workspace.write(*step.plan);
                ASSERT_TRUE(waitUntil([&] { return model.project() == step.plan; }));
                break;
            case Step::Kind::removePlan:
                ASSERT_TRUE(workspace.remove());
                ASSERT_TRUE(waitUntil([&] { return !model.project(); }));
                break;
            case Step::Kind::dismiss:
                model.dismissPopup();
                break;
            }
        }

        EXPECT_EQ(model.showCompletedTaskPopup(), c.popup);
        QStringList lines = log.lines();
        lines.removeIf([](const QString& line) { return !line.startsWith(QStringLiteral("[DashboardViewModel]")); });
        EXPECT_EQ(lines, c.lines);
        EXPECT_EQ(asked.count(), c.checks);
    }
}

// Shown once: hiding and showing the dashboard again, or a second appearance,
// asks nothing more; a new model is a new opening.
TEST(DashboardChecks, TheCheckOnAppearingRunsOncePerModel)
{
    Workspace workspace;
    workspace.write(projectWith(4, 1));
    AppGroupMonitorService monitor(std::chrono::milliseconds(30));
    WorkflowServices services;
    services.appGroupStorage = &workspace.storage;
    services.appGroupMonitor = &monitor;

    DashboardViewModel first(monitor.project(), services);
    DashboardChecks checks;
    QSignalSpy asked(&checks, &DashboardChecks::checked);
    checks.setViewModel(&first);
    EXPECT_EQ(asked.count(), 0) << "not shown yet";
    EXPECT_TRUE(first.isInitialLoad());
    checks.setShown(true);
    EXPECT_EQ(asked.count(), 1);
    EXPECT_FALSE(first.isInitialLoad());
    checks.setShown(false);
    checks.setShown(true);
    checks.appear();
    EXPECT_EQ(asked.count(), 1);

    DashboardViewModel second(monitor.project(), services);
    checks.setViewModel(&second);
    EXPECT_EQ(asked.count(), 2);
    EXPECT_FALSE(second.isInitialLoad());
}

// A count that moves before the dashboard is shown is the value it is shown
// with, not a rise: opening never shows the popup.
TEST(DashboardChecks, AChangeBeforeTheDashboardIsShownIsNoRise)
{
    Workspace workspace;
    workspace.write(projectWith(5, 1));
    AppGroupMonitorService monitor(std::chrono::milliseconds(30));
    WorkflowServices services;
    services.appGroupStorage = &workspace.storage;
    services.appGroupMonitor = &monitor;

    DashboardViewModel model(monitor.project(), services);
    DashboardChecks checks;
    QSignalSpy asked(&checks, &DashboardChecks::checked);
    checks.setViewModel(&model);
    workspace.write(projectWith(5, 2));
    ASSERT_TRUE(waitUntil([&] { return model.project() == projectWith(5, 2); }));
    EXPECT_EQ(asked.count(), 0);
    checks.setShown(true);
    EXPECT_FALSE(model.showCompletedTaskPopup());

    workspace.write(projectWith(5, 3));
    ASSERT_TRUE(waitUntil([&] { return model.project() == projectWith(5, 3); }));
    EXPECT_TRUE(model.showCompletedTaskPopup());
}

} // namespace
} // namespace orva::test
