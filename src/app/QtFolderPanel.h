#pragma once

#include "workspace/FolderPanel.h"

#include <QPalette>

namespace orva {

// Panels as Qt file dialogs (needs a QApplication), in the detail view with
// columns as wide as what they show, the name taking the rest.
class QtFolderPanel : public FolderPanel {
public:
    void beginOpenPanel(const OpenPanelOptions& options, Completion completion) override;
    void beginSavePanel(const SavePanelOptions& options, Completion completion) override;

    // The colours of every dialog shown from now on (the application gives
    // its dark palette at start-up); the style's own until one is given.
    static void setDialogPalette(const QPalette& palette);

    // The size a dialog opens at: room for the sidebar and the four columns.
    static constexpr int dialogWidth = 820;
    static constexpr int dialogHeight = 520;
    static constexpr int sidebarWidth = 160;
};

} // namespace orva
