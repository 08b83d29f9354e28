#include "model/ProjectModel.h"
#include "support/TempContext.h"
#include "workflow/ContentViewModel.h"
#include "workflow/DashboardViewModel.h"
#include "workflow/WorkflowQml.h"

#include <gtest/gtest.h>

#include <QQmlComponent>
#include <QQmlEngine>

#include <memory>

namespace orva::test {
namespace {

// What the screens bind to, read through QML.
TEST(WorkflowQmlTest, TheModelsAndServicesAreReachableFromQml)
{
    TempContext context;
    QQmlEngine engine;
    registerWorkflowTypes();

    QQmlComponent component(&engine);
    component.setData(R"(
import QtQuick
import Orva.Workflow 1.0

QtObject {
    property ContentViewModel root: ContentViewModel {}
    property EntryViewModel entry: EntryViewModel {}
    property ProjectGuidingViewModel guiding: ProjectGuidingViewModel {}
    property WorkViewModel work: WorkViewModel {}
    property DashboardViewModel dashboard: DashboardViewModel { previewProject: AppGroupMonitorService.project }
    property bool startsOnEntry: root.currentPhase === ViewPhase.Entry
    property int turns: root.chatViewModel.chatHistories.count
    property bool waiting: root.chatViewModel.isWaitingForResponse
    property string scroll: root.chatViewModel.scrollID
    property bool ready: entry.isReadyForInterview
    property bool verified: guiding.isProjectVerified
    property bool noTask: work.currentTask === undefined
    property bool noPopup: !dashboard.showCompletedTaskPopup
    property bool servicesThere: DirectoryAccessService.selectedDirectory === "" && !NativeTerminalService.isProcessRunning
                                 && !ClaudeProcessService.isProcessRunning && XcodeService.selectedProjectName === ""
    function goToChat() {
        root.setPhase(ViewPhase.ProjectGuiding)
        if (root.currentPhase !== ViewPhase.ProjectGuiding) return false
        root.currentPhase = ViewPhase.Chat
        return root.currentPhase === ViewPhase.Chat
    }
}
)", QUrl(QStringLiteral("qrc:/WorkflowQmlTest.qml")));
    std::unique_ptr<QObject> object(component.create());
    ASSERT_TRUE(object) << component.errorString().toStdString();
    EXPECT_TRUE(object->property("startsOnEntry").toBool());
    EXPECT_EQ(object->property("turns").toInt(), 0);
    EXPECT_FALSE(object->property("waiting").toBool());
    EXPECT_EQ(object->property("scroll").toString().size(), 36);
    EXPECT_FALSE(object->property("ready").toBool());
    EXPECT_FALSE(object->property("verified").toBool());
    EXPECT_TRUE(object->property("noTask").toBool());
    EXPECT_TRUE(object->property("noPopup").toBool());
    EXPECT_TRUE(object->property("servicesThere").toBool());
    QVariant moved;
    ASSERT_TRUE(QMetaObject::invokeMethod(object.get(), "goToChat", Q_RETURN_ARG(QVariant, moved)));
    EXPECT_TRUE(moved.toBool());
}

} // namespace
} // namespace orva::test
