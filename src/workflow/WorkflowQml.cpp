#include "workflow/WorkflowQml.h"

#include "model/ProjectModel.h"
#include "terminal/NativeTerminalService.h"
#include "workflow/ChatHistoryListModel.h"
#include "workflow/ChatViewModel.h"
#include "workflow/ClaudeProcessService.h"
#include "workflow/ContentViewModel.h"
#include "workflow/DashboardViewModel.h"
#include "workflow/EntryViewModel.h"
#include "workflow/OnboardingViewModel.h"
#include "workflow/ProjectGuidingViewModel.h"
#include "workflow/ViewPhase.h"
#include "workflow/WorkViewModel.h"
#include "workflow/WorkflowServices.h"
#include "workspace/AppGroupMonitorService.h"
#include "workspace/DirectoryAccessService.h"
#include "workspace/XcodeService.h"

#include <QQmlEngine>

namespace orva {

namespace {
constexpr const char* kModule = "Orva.Workflow";
constexpr int kMajor = 1;
constexpr int kMinor = 0;
} // namespace

void registerWorkflowTypes()
{
    static bool registered = false;
    if (registered)
        return;
    registered = true;

    registerModelMetaTypes();
    WorkflowServices::createSharedServices();

    qmlRegisterType<ContentViewModel>(kModule, kMajor, kMinor, "ContentViewModel");
    qmlRegisterType<OnboardingViewModel>(kModule, kMajor, kMinor, "OnboardingViewModel");
    qmlRegisterType<EntryViewModel>(kModule, kMajor, kMinor, "EntryViewModel");
    qmlRegisterType<ChatViewModel>(kModule, kMajor, kMinor, "ChatViewModel");
    qmlRegisterType<ProjectGuidingViewModel>(kModule, kMajor, kMinor, "ProjectGuidingViewModel");
    qmlRegisterType<WorkViewModel>(kModule, kMajor, kMinor, "WorkViewModel");
    qmlRegisterType<DashboardViewModel>(kModule, kMajor, kMinor, "DashboardViewModel");
    qmlRegisterUncreatableType<ChatHistoryListModel>(kModule, kMajor, kMinor, "ChatHistoryListModel",
                                                     QStringLiteral("The chat model owns its transcript"));
    qmlRegisterUncreatableMetaObject(ViewPhaseType::staticMetaObject, kModule, kMajor, kMinor, "ViewPhase",
                                     QStringLiteral("ViewPhase is an enumeration"));

    qmlRegisterSingletonInstance<ClaudeProcessService>(kModule, kMajor, kMinor, "ClaudeProcessService",
                                                       &ClaudeProcessService::shared());
    qmlRegisterSingletonInstance<AppGroupMonitorService>(kModule, kMajor, kMinor, "AppGroupMonitorService",
                                                         &AppGroupMonitorService::shared());
    qmlRegisterSingletonInstance<DirectoryAccessService>(kModule, kMajor, kMinor, "DirectoryAccessService",
                                                         &DirectoryAccessService::shared());
    qmlRegisterSingletonInstance<XcodeService>(kModule, kMajor, kMinor, "XcodeService", &XcodeService::shared());
    qmlRegisterSingletonInstance<NativeTerminalService>(kModule, kMajor, kMinor, "NativeTerminalService",
                                                        &NativeTerminalService::shared());
}

void registerWorkflowTypes(QQmlEngine& engine)
{
    registerWorkflowTypes();
    // The services outlive every engine; QML must never delete them.
    for (QObject* service : std::initializer_list<QObject*>{
             &ClaudeProcessService::shared(), &AppGroupMonitorService::shared(), &DirectoryAccessService::shared(),
             &XcodeService::shared(), &NativeTerminalService::shared()})
        QQmlEngine::setObjectOwnership(service, QQmlEngine::CppOwnership);
    (void)engine;
}

} // namespace orva
