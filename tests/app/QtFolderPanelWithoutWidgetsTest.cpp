// The Qt folder panel in an application without widgets.
#include "app/QtFolderPanel.h"
#include "workspace/DirectoryAccessService.h"

#include <gtest/gtest.h>

namespace orva {
namespace {

// These tests run under a QGuiApplication: a Qt dialog cannot be shown, and
// the panel answers as cancelled instead of aborting the process.
TEST(QtFolderPanelWithoutWidgetsTest, AnswersAsCancelled)
{
    QtFolderPanel panel;
    int cancels = 0;
    const auto count = [&](PanelResponse response, const QString& path) {
        cancels += response == PanelResponse::cancel && path.isEmpty();
    };
    panel.beginOpenPanel(DirectoryAccessService::selectPanelOptions(), count);
    panel.beginSavePanel(DirectoryAccessService::createPanelOptions(), count);
    EXPECT_EQ(cancels, 2);
}

} // namespace
} // namespace orva
