#pragma once

namespace orva {

class AppGroupMonitorService;
class AppGroupStorageService;
class ClaudeProcessService;
class DirectoryAccessService;
class NativeTerminalService;
class PromptFileService;
class XcodeService;

// The process-wide services a screen model works with. A null entry stands for
// the service's shared instance, looked up when the model asks for it; tests
// put instances of their own in place of some of them.
struct WorkflowServices {
    ClaudeProcessService* claudeProcess = nullptr;
    PromptFileService* promptFiles = nullptr;
    AppGroupStorageService* appGroupStorage = nullptr;
    AppGroupMonitorService* appGroupMonitor = nullptr;
    DirectoryAccessService* directoryAccess = nullptr;
    XcodeService* xcode = nullptr;
    NativeTerminalService* nativeTerminal = nullptr;

    ClaudeProcessService& claude() const;
    PromptFileService& prompts() const;
    AppGroupStorageService& storage() const;
    AppGroupMonitorService& monitor() const;
    DirectoryAccessService& directory() const;
    XcodeService& xcodeService() const;
    NativeTerminalService& terminal() const;

    // The services every model uses unless told otherwise.
    static WorkflowServices& defaults();
    // Creates every shared service now, on the calling (main) thread.
    static void createSharedServices();
};

} // namespace orva
