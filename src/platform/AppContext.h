#pragma once

#include <QString>

namespace orva {

// The folders and the settings store every service works in. The application
// uses the platform's defaults; tests install their own temporary folders with
// setCurrent() before any shared service is first used.
struct AppContext {
    QString containerPath;  // the App Group container (the workspace "ZAVE" lives inside)
    QString documentsPath;  // the user's Documents folder (the interview transcript)
    QString resourcesPath;  // the shipped prompt documents
    QString settingsPath;   // an INI file for user defaults; empty = the platform's native store
    QString homePath;       // the user's home folder

    static constexpr const char* kAppGroupIdentifier = "X4TR7PLQ2N.group.com.kem.orva";

    // Defaults of this platform: GenericDataLocation + the group id (on macOS
    // ~/Library/Group Containers/<id>), the Documents location, the resource
    // folder installed beside the executable, the native settings store.
    static AppContext platformDefaults();

    // The context shared services are built from. Until setCurrent() is called
    // this is platformDefaults().
    static const AppContext& current();
    static void setCurrent(const AppContext& context);
};

} // namespace orva
