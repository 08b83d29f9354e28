#include "workflow/WorkflowServices.h"

#include "terminal/NativeTerminalService.h"
#include "workflow/ClaudeProcessService.h"
#include "workspace/AppGroupMonitorService.h"
#include "workspace/AppGroupStorageService.h"
#include "workspace/DirectoryAccessService.h"
#include "workspace/PromptFileService.h"
#include "workspace/XcodeService.h"

namespace orva {

ClaudeProcessService& WorkflowServices::claude() const
{
    return claudeProcess ? *claudeProcess : ClaudeProcessService::shared();
}

PromptFileService& WorkflowServices::prompts() const
{
    return promptFiles ? *promptFiles : PromptFileService::shared();
}

AppGroupStorageService& WorkflowServices::storage() const
{
    return appGroupStorage ? *appGroupStorage : AppGroupStorageService::shared();
}

AppGroupMonitorService& WorkflowServices::monitor() const
{
    return appGroupMonitor ? *appGroupMonitor : AppGroupMonitorService::shared();
}

DirectoryAccessService& WorkflowServices::directory() const
{
    return directoryAccess ? *directoryAccess : DirectoryAccessService::shared();
}

XcodeService& WorkflowServices::xcodeService() const
{
    return xcode ? *xcode : XcodeService::shared();
}

NativeTerminalService& WorkflowServices::terminal() const
{
    return nativeTerminal ? *nativeTerminal : NativeTerminalService::shared();
}

WorkflowServices& WorkflowServices::defaults()
{
    static WorkflowServices services;
    return services;
}

void WorkflowServices::createSharedServices()
{
    // The storage service first: creating it makes "ZAVE" and "ZAVE/project",
    // which the monitor then looks into.
    AppGroupStorageService::shared();
    PromptFileService::shared();
    AppGroupMonitorService::shared();
    defaults().directory();
    defaults().xcodeService();
    ClaudeProcessService::shared();
    NativeTerminalService::shared();
}

} // namespace orva
