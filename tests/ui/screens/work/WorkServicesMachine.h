#pragma once

// The services a work-screen model reaches, on a temporary machine made
// before any of them starts: a fixture of the work screen's C++ tests takes
// them in by inheriting this.

#include "support/TempContext.h"
#include "workflow/WorkflowServices.h"
#include "workflow/common/WorkflowTestSupport.h"
#include "workspace/AppGroupMonitorService.h"
#include "workspace/AppGroupStorageService.h"
#include "workspace/DirectoryAccessService.h"
#include "support/FakeFolderPanel.h"
#include "workspace/XcodeService.h"

#include <chrono>
#include <memory>

namespace orva::test {

struct WorkServicesMachine {
    WorkServicesMachine()
    {
        services.appGroupStorage = &storage;
        services.appGroupMonitor = &monitor;
        services.directoryAccess = &directory;
        services.xcode = &xcode;
    }

    TempContext context;
    AppGroupStorageService storage;
    AppGroupMonitorService monitor{std::chrono::milliseconds(30)};
    DirectoryAccessService directory{std::make_shared<FakeFolderPanel>()};
    XcodeService xcode{directory};
    WorkflowServices services;
};

} // namespace orva::test
