#pragma once

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

} // namespace orva
