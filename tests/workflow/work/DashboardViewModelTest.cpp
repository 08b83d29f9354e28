#include "PlanFixtures.h"

#include "support/TempContext.h"
#include "workflow/DashboardViewModel.h"
#include "workflow/WorkflowServices.h"
#include "workflow/common/WorkflowTestSupport.h"
#include "workspace/AppGroupMonitorService.h"
#include "workspace/AppGroupStorageService.h"

#include <gtest/gtest.h>

#include <QFile>

namespace orva::test {
namespace {

class DashboardViewModelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        services.appGroupStorage = &storage;
        services.appGroupMonitor = &monitor;
    }

    void writePlan(const Project& project)
    {
        ProjectWrapper wrapper;
        wrapper.project = project;
        storage.saveFile(QString::fromUtf8(encodeProjectWrapper(wrapper)), QStringLiteral("Task.json"),
                         QStringLiteral("ZAVE/project"));
    }

    TempContext context;
    AppGroupStorageService storage;
    AppGroupMonitorService monitor{std::chrono::milliseconds(30)};
    WorkflowServices services;
};

TEST_F(DashboardViewModelTest, TheFirstCheckOnlyArms)
{
    DashboardViewModel model(projectWith(10, 3), services);
    EXPECT_EQ(model.previousCompletedTasks(), 3);
    EXPECT_TRUE(model.isInitialLoad());

    LogCapture log;
    model.setPreviewProject(projectWith(10, 4));
    model.checkForCompletedTasks();
    EXPECT_FALSE(model.isInitialLoad());
    EXPECT_EQ(model.previousCompletedTasks(), 3);
    EXPECT_FALSE(model.showCompletedTaskPopup());

    model.setPreviewProject(projectWith(10, 5));
    model.checkForCompletedTasks();
    EXPECT_TRUE(model.showCompletedTaskPopup());
    EXPECT_EQ(model.previousCompletedTasks(), 5);
    EXPECT_EQ(log.lines(), (QStringList{QStringLiteral("[DashboardViewModel] - 2 task(s) completed!"),
                                        QStringLiteral("[DashboardViewModel] - Popup shown: true")}));

    model.dismissPopup();
    EXPECT_FALSE(model.showCompletedTaskPopup());
    EXPECT_EQ(log.lines().last(), QStringLiteral("[DashboardViewModel] - Popup dismissed"));
}

TEST_F(DashboardViewModelTest, RisesFallsAndTheLastTask)
{
    struct Step {
        int completed;
        bool popup;       // the popup after the check (never dismissed here)
        QStringList lines;
    };
    DashboardViewModel model(projectWith(10, 8), services);
    model.checkForCompletedTasks(); // arms
    const QList<Step> steps = {
        {7, false, {}},
        {8, true, {QStringLiteral("[DashboardViewModel] - 1 task(s) completed!"), QStringLiteral("[DashboardViewModel] - Popup shown: true")}},
        {8, true, {}},
        {10, true, {QStringLiteral("[DashboardViewModel] - 2 task(s) completed!"),
                    QStringLiteral("[DashboardViewModel] - All tasks completed. Skipping popup.")}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.completed);
        model.setPreviewProject(projectWith(10, step.completed));
        LogCapture log;
        model.checkForCompletedTasks();
        EXPECT_EQ(model.showCompletedTaskPopup(), step.popup);
        EXPECT_EQ(model.previousCompletedTasks(), step.completed);
        EXPECT_EQ(log.lines(), step.lines);
    }

    DashboardViewModel last(projectWith(10, 9), services);
    last.checkForCompletedTasks();
    last.setPreviewProject(projectWith(10, 10));
    last.checkForCompletedTasks();
    EXPECT_FALSE(last.showCompletedTaskPopup());
}

TEST_F(DashboardViewModelTest, WithoutAProjectNothingHappens)
{
    DashboardViewModel model(std::nullopt, services);
    model.checkForCompletedTasks();
    EXPECT_TRUE(model.isInitialLoad());
    EXPECT_EQ(model.previousCompletedTasks(), 0);
}

// The work screen hands the dashboard the plan of the moment it opened; the
// dashboard follows every later plan, so the popup can appear.
TEST_F(DashboardViewModelTest, TheOpenDashboardFollowsTheMonitorsPlan)
{
    writePlan(projectWith(3, 0));
    AppGroupMonitorService planMonitor(std::chrono::milliseconds(30));
    ASSERT_TRUE(planMonitor.hasProject());
    services.appGroupMonitor = &planMonitor;
    DashboardViewModel model(planMonitor.project(), services);
    QObject::connect(&model, &DashboardViewModel::projectChanged, &model,
                     [&model] { model.checkForCompletedTasks(); }); // as the dashboard does

    writePlan(projectWith(3, 1));
    ASSERT_TRUE(waitUntil([&] { return model.completedTaskCount() == 1; }));
    EXPECT_FALSE(model.isInitialLoad());
    EXPECT_FALSE(model.showCompletedTaskPopup());

    writePlan(projectWith(3, 2));
    ASSERT_TRUE(waitUntil([&] { return model.completedTaskCount() == 2; }));
    EXPECT_TRUE(model.showCompletedTaskPopup());
    EXPECT_EQ(model.previewProject()->completedTaskCount(), 2);
    model.dismissPopup();

    writePlan(projectWith(3, 3));
    ASSERT_TRUE(waitUntil([&] { return model.completedTaskCount() == 3; }));
    EXPECT_FALSE(model.showCompletedTaskPopup());

    // The plan is gone: the dashboard holds none (and shows its loading
    // state) instead of the last plan, and takes up the next one.
    ASSERT_TRUE(QFile::remove(storage.url(QStringLiteral("Task.json"), QStringLiteral("ZAVE/project")).value()));
    ASSERT_TRUE(waitUntil([&] { return !planMonitor.hasProject(); }));
    EXPECT_FALSE(model.project().has_value());
    EXPECT_FALSE(model.previewProject().has_value());
    EXPECT_FALSE(model.projectValue().isValid());

    writePlan(projectWith(3, 1));
    ASSERT_TRUE(waitUntil([&] { return model.project().has_value(); }));
    EXPECT_EQ(model.project()->completedTaskCount(), 1);
}

} // namespace
} // namespace orva::test
