#pragma once

#include <QByteArray>
#include <QString>

namespace orva {

// The application's three persistent settings, kept in QSettings under fixed
// organisation and application names (or in the INI file the current
// AppContext names).
class UserDefaults {
public:
    static constexpr const char* kHasSeenOnboarding = "hasSeenOnboarding";
    static constexpr const char* kHasLaunchedBefore = "hasLaunchedBefore";
    static constexpr const char* kTerminalDirectoryBookmark = "TerminalDirectoryBookmark";

    static bool boolValue(const QString& key, bool fallback = false);
    static void setBool(const QString& key, bool value);
    static QByteArray data(const QString& key);
    static void setData(const QString& key, const QByteArray& value);
    static bool contains(const QString& key);
    static void remove(const QString& key);
};

} // namespace orva
