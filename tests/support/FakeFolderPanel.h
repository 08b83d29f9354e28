#pragma once

#include "workspace/FolderPanel.h"

#include <optional>

namespace orva {

// A panel for tests: records what was asked and lets the test answer.
class FakeFolderPanel : public FolderPanel {
public:
    void beginOpenPanel(const OpenPanelOptions& options, Completion completion) override
    {
        lastOpenOptions = options;
        lastSaveOptions.reset();
        pending = std::move(completion);
        ++shownCount;
    }
    void beginSavePanel(const SavePanelOptions& options, Completion completion) override
    {
        lastSaveOptions = options;
        lastOpenOptions.reset();
        pending = std::move(completion);
        ++shownCount;
    }
    bool isShowing() const { return static_cast<bool>(pending); }
    // Answers the panel that is showing, as the user would.
    void answer(PanelResponse response, const QString& path = {})
    {
        auto completion = std::move(pending);
        pending = nullptr;
        if (completion)
            completion(response, path);
    }

    std::optional<OpenPanelOptions> lastOpenOptions;
    std::optional<SavePanelOptions> lastSaveOptions;
    int shownCount = 0;

private:
    Completion pending;
};

} // namespace orva
