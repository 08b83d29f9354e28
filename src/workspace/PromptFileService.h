#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace orva {

// Why installing the prompt documents failed, with a text a screen can show.
class PromptFileError {
public:
    enum class Kind { bundleFileNotFound, copyFailed, appGroupNotAccessible, fileSystem };

    static PromptFileError bundleFileNotFound(const QString& detail) { return {Kind::bundleFileNotFound, detail}; }
    static PromptFileError copyFailed(const QString& name) { return {Kind::copyFailed, name}; }
    static PromptFileError appGroupNotAccessible() { return {Kind::appGroupNotAccessible, {}}; }
    // A file-system operation (creating a folder) that failed, with the
    // platform's reason.
    static PromptFileError fileSystem(const QString& reason) { return {Kind::fileSystem, reason}; }

    Kind kind() const { return kind_; }
    QString payload() const { return payload_; }
    QString description() const;

private:
    PromptFileError(Kind kind, QString payload) : kind_(kind), payload_(std::move(payload)) {}
    Kind kind_;
    QString payload_;
};

// Where a shipped document goes inside "ZAVE/system": a subfolder name, ""
// for the root of "ZAVE/system", or none when it is not installed there.
std::optional<QString> promptDocumentDestination(const QString& name, const QStringList& projectFiles);

// Installs the prompt documents shipped in AppContext::current().resourcesPath
// into the workspace.
class PromptFileService {
public:
    static PromptFileService& shared();

    const QString systemFolderName = QStringLiteral("system");
    const QString projectFolderName = QStringLiteral("project");
    const QString promptDirectory = QStringLiteral("ZAVE/system");
    const QString projectDirectory = QStringLiteral("ZAVE/project");
    const QStringList projectFiles = {QStringLiteral("CLAUDE_DEV.md")};

    static const QStringList& systemSubfolders();  // "agents", "state", "system", "template"
    static const QStringList& systemDocuments();   // routed to "system"

    // Rebuilds "ZAVE/system" from the resources. Gives the error that stopped
    // it, nothing when it succeeded; when any document failed to copy it gives
    // copyFailed naming the first one after trying all of them.
    [[nodiscard]] std::optional<PromptFileError> setupPromptFiles() const;

    // Copies each of projectFiles into "ZAVE/project", replacing earlier
    // copies. Gives the error that stopped it, nothing when it succeeded.
    [[nodiscard]] std::optional<PromptFileError> copyProjectFiles() const;
};

} // namespace orva
