#pragma once

#include "workspace/WorkspaceError.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace orva {

// Why installing the prompt documents failed.
class PromptFileError : public WorkspaceError {
public:
    enum class Kind { bundleFileNotFound, copyFailed, appGroupNotAccessible };

    static PromptFileError bundleFileNotFound(const QString& detail) { return {Kind::bundleFileNotFound, detail}; }
    static PromptFileError copyFailed(const QString& name) { return {Kind::copyFailed, name}; }
    static PromptFileError appGroupNotAccessible() { return {Kind::appGroupNotAccessible, {}}; }

    Kind kind() const { return kind_; }
    QString payload() const { return payload_; }
    QString description() const override;

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

    // Rebuilds "ZAVE/system" from the resources. Throws PromptFileError or
    // FileSystemError; when any document failed to copy it throws
    // copyFailed naming the first one after trying all of them.
    void setupPromptFiles() const;

    // Copies each of projectFiles into "ZAVE/project", replacing earlier
    // copies. Throws PromptFileError or FileSystemError.
    void copyProjectFiles() const;
};

} // namespace orva
