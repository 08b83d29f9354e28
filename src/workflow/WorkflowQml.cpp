#include "workflow/WorkflowQml.h"

#include "model/ProjectModel.h"
#include "terminal/NativeTerminalService.h"
#include "workflow/ClaudeProcessService.h"
#include "workflow/WorkflowServices.h"
#include "workspace/AppGroupMonitorService.h"
#include "workspace/DirectoryAccessService.h"
#include "workspace/XcodeService.h"

#include <QQmlEngine>

// Generated with the module Orva.Workflow (see WorkflowQmlTypes.h).
void qml_register_types_Orva_Workflow();

namespace orva {

void registerWorkflowTypes()
{
    static bool registered = false;
    if (!registered) {
        registered = true;
        registerModelMetaTypes();
        WorkflowServices::createSharedServices();
        qml_register_types_Orva_Workflow();
    }
    // The services outlive every engine; QML must never delete them.
    for (QObject* service : std::initializer_list<QObject*>{
             &ClaudeProcessService::shared(), &AppGroupMonitorService::shared(), &WorkflowServices::defaults().directory(),
             &WorkflowServices::defaults().xcodeService(), &NativeTerminalService::shared()})
        QQmlEngine::setObjectOwnership(service, QQmlEngine::CppOwnership);
}

} // namespace orva
