#include "workspace/PromptFileService.h"

#include "platform/AppContext.h"
#include "platform/Log.h"
#include "workspace/AppGroupStorageService.h"
#include "workspace/FileOps.h"

#include <QDir>

#include <optional>

namespace orva {

QString PromptFileError::description() const
{
    switch (kind_) {
    case Kind::bundleFileNotFound:
        return QStringLiteral("Prompt file not found in bundle: ") + payload_;
    case Kind::copyFailed:
        return QStringLiteral("Failed to copy prompt file: ") + payload_;
    case Kind::appGroupNotAccessible:
        return QStringLiteral("Cannot access App Group container");
    case Kind::fileSystem:
        return payload_;
    }
    return {};
}

const QStringList& PromptFileService::systemSubfolders()
{
    static const QStringList names = {QStringLiteral("agents"), QStringLiteral("state"), QStringLiteral("system"),
                                      QStringLiteral("template")};
    return names;
}

const QStringList& PromptFileService::systemDocuments()
{
    static const QStringList names = {QStringLiteral("CLAUDE_ENTRYPOINT.md"), QStringLiteral("CONTEXT_STRUCTURE.md"),
                                      QStringLiteral("FLOWS_QA.md"), QStringLiteral("GLOBAL_RULES.md"),
                                      QStringLiteral("INTERNAL_SLOTS.md")};
    return names;
}

std::optional<QString> promptDocumentDestination(const QString& name, const QStringList& projectFiles)
{
    if (name.startsWith(QLatin1String("agent.")))
        return QStringLiteral("agents");
    if (PromptFileService::systemDocuments().contains(name))
        return QStringLiteral("system");
    if (name.endsWith(QLatin1String("_template.md")) || name == QLatin1String("Task_json.md"))
        return QStringLiteral("template");
    if (name == QLatin1String("history.md"))
        return QStringLiteral("state");
    if (name.endsWith(QLatin1String(".md")) && !projectFiles.contains(name))
        return QString();
    if (name == QLatin1String(".gitignore"))
        return QString();
    return std::nullopt;
}

PromptFileService& PromptFileService::shared()
{
    static PromptFileService instance;
    return instance;
}

namespace {
QString resourcesFolder()
{
    return AppContext::current().resourcesPath;
}

std::optional<PromptFileError> ensureFolder(const QString& path)
{
    QString error;
    if (!fileops::makePath(path, &error))
        return PromptFileError::fileSystem(error);
    return std::nullopt;
}
} // namespace

std::optional<PromptFileError> PromptFileService::setupPromptFiles() const
{
    const auto container = AppGroupStorageService::containerPath();
    if (!container)
        return PromptFileError::appGroupNotAccessible();

    const QString target = *container + QLatin1Char('/') + promptDirectory;
    // Whatever stands there goes, a link as a link; a failure shows up below.
    if (fileops::entryExists(target))
        fileops::removeEntry(target, nullptr);

    const QString resources = resourcesFolder();
    if (resources.isEmpty())
        return PromptFileError::bundleFileNotFound(QStringLiteral("Bundle resource path not found"));

    if (auto error = ensureFolder(target))
        return error;
    for (const QString& sub : systemSubfolders()) {
        if (auto error = ensureFolder(target + QLatin1Char('/') + sub))
            return error;
    }

    const auto names = fileops::listNames(resources, nullptr);
    if (!names)
        return PromptFileError::bundleFileNotFound(QStringLiteral("Could not read bundle resources"));

    QString firstFailure;
    for (const QString& name : *names) {
        const auto destination = promptDocumentDestination(name, projectFiles);
        if (!destination)
            continue;
        const QString source = resources + QLatin1Char('/') + name;
        const QString folder = destination->isEmpty() ? target : target + QLatin1Char('/') + *destination;
        QString error;
        if (!fileops::copyFile(source, folder + QLatin1Char('/') + name, &error)) {
            logLine(QStringLiteral("[PromptFileService] Warning: Failed to copy ") + name + QStringLiteral(": ") + error);
            if (firstFailure.isEmpty())
                firstFailure = name;
        }
    }

    const QString context = resources + QStringLiteral("/context.json");
    if (fileops::entryExists(context))
        fileops::copyFile(context, target + QStringLiteral("/state/context.json"), nullptr);

    const QString settings = resources + QStringLiteral("/settings.local.json");
    if (fileops::entryExists(settings)) {
        fileops::makePath(target + QStringLiteral("/.claude"), nullptr);
        fileops::copyFile(settings, target + QStringLiteral("/.claude/settings.local.json"), nullptr);
    }

    // A half-installed workspace must not pass for a prepared one.
    if (!firstFailure.isEmpty())
        return PromptFileError::copyFailed(firstFailure);
    return std::nullopt;
}

std::optional<PromptFileError> PromptFileService::copyProjectFiles() const
{
    const auto container = AppGroupStorageService::containerPath();
    if (!container)
        return PromptFileError::appGroupNotAccessible();

    const QString projectFolder = *container + QLatin1Char('/') + projectDirectory;
    if (!fileops::isDirectory(projectFolder)) {
        if (auto error = ensureFolder(projectFolder))
            return error;
    }

    const QString resources = resourcesFolder();
    if (resources.isEmpty())
        return PromptFileError::bundleFileNotFound(QStringLiteral("Bundle resource path not found"));
    const auto names = fileops::listNames(resources, nullptr);
    if (!names)
        return PromptFileError::bundleFileNotFound(QStringLiteral("Could not read bundle resources"));

    for (const QString& name : projectFiles) {
        if (!names->contains(name)) {
            logLine(QStringLiteral("[PromptFileService] Warning: ") + name + QStringLiteral(" not found in bundle resources"));
            continue;
        }
        const QString destination = projectFolder + QLatin1Char('/') + name;
        if (fileops::entryExists(destination))
            fileops::removeEntry(destination, nullptr);
        QString error;
        if (fileops::copyFile(resources + QLatin1Char('/') + name, destination, &error))
            logLine(QStringLiteral("[PromptFileService] Successfully copied ") + name + QStringLiteral(" to ZAVE/project"));
        else
            logLine(QStringLiteral("[PromptFileService] Warning: Failed to copy ") + name + QStringLiteral(": ") + error);
    }
    return std::nullopt;
}

} // namespace orva
