#pragma once

namespace orva {

// Registers the workflow's models with QML under the module "Orva.Workflow"
// 1.0: the creatable screen models ContentViewModel, OnboardingViewModel,
// EntryViewModel, ChatViewModel, ProjectGuidingViewModel, WorkViewModel and
// DashboardViewModel; the enumeration ViewPhase; ChatHistoryListModel (not
// creatable); and the shared services as singletons named after their types
// (ClaudeProcessService, AppGroupMonitorService, DirectoryAccessService,
// XcodeService, NativeTerminalService). Types are registered once per
// process; the singletons are created on the calling (main) thread, and no
// engine ever owns them.
void registerWorkflowTypes();

} // namespace orva
