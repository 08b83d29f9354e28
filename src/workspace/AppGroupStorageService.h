#pragma once

#include <QString>

#include <optional>

namespace orva {

// Locations, text files and base folders inside the App Group container
// (AppContext::current().containerPath). The workspace folder is "ZAVE".
// Nothing here throws: failures are logged and give none or nothing.
class AppGroupStorageService {
public:
    // The process-wide instance; creating it creates "ZAVE" and
    // "ZAVE/project" when they are missing.
    static AppGroupStorageService& shared();

    // A separate instance (tests); runs initializeDirectories() like shared().
    AppGroupStorageService();

    // container / directory / fileName, or none when there is no container.
    std::optional<QString> url(const QString& fileName, const QString& directory) const;

    // The file's text, or none when it is missing, unreadable or not valid
    // UTF-8.
    std::optional<QString> loadFile(const QString& fileName, const QString& directory) const;

    // The same read at a location already resolved (any thread).
    static std::optional<QString> loadFileAt(const QString& location, const QString& fileName);

    // Writes the text as UTF-8 through a temporary file renamed over the
    // target, creating the parent folder first when it is missing.
    void saveFile(const QString& content, const QString& fileName, const QString& directory) const;

    // Creates container / path with its parents; the folder's path or none.
    std::optional<QString> createDirectory(const QString& path) const;

    // Creates "ZAVE" and "ZAVE/project" when missing.
    void initializeDirectories() const;

    // Deletes everything inside "ZAVE/project" (hidden entries included); the
    // folder itself stays. Links are removed as links; their targets are
    // never touched.
    void clearProjectFolder() const;

    // The container folder, or none when the platform gives none.
    static std::optional<QString> containerPath();
};

} // namespace orva
