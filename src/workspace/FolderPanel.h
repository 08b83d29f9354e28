#pragma once

#include <QPalette>
#include <QString>

#include <functional>
#include <optional>

namespace orva {

// Settings of the panel that picks an existing folder.
struct OpenPanelOptions {
    bool canChooseFiles = false;
    bool canChooseDirectories = true;
    bool allowsMultipleSelection = false;
    bool canCreateDirectories = true;
    QString title;
    QString message;
    QString prompt;           // the confirm button
    QString directory;        // starting folder
};

// Settings of the panel that names a new folder.
struct SavePanelOptions {
    bool canCreateDirectories = true;
    QString title;
    QString message;
    QString prompt;                 // the confirm button
    QString nameFieldLabel;
    QString nameFieldStringValue;
    bool showsTagField = false;
    std::optional<QString> directory; // starting folder, when there is one
};

enum class PanelResponse { cancel = 0, ok = 1 };

// Shows folder panels without blocking: begin...() returns at once and the
// completion runs later on the main thread with the response and the chosen
// path (empty when none).
class FolderPanel {
public:
    using Completion = std::function<void(PanelResponse, const QString& path)>;
    virtual ~FolderPanel() = default;
    virtual void beginOpenPanel(const OpenPanelOptions& options, Completion completion) = 0;
    virtual void beginSavePanel(const SavePanelOptions& options, Completion completion) = 0;
};

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
