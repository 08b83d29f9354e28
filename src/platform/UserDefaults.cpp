#include "UserDefaults.h"

#include "AppContext.h"

#include <QSettings>

#include <memory>

namespace orva {

namespace {
constexpr auto kOrganisation = "kem";
constexpr auto kApplication = "orva";

std::unique_ptr<QSettings> openSettings()
{
    const QString path = AppContext::current().settingsPath;
    if (!path.isEmpty())
        return std::make_unique<QSettings>(path, QSettings::IniFormat);
    return std::make_unique<QSettings>(QString::fromLatin1(kOrganisation), QString::fromLatin1(kApplication));
}
} // namespace

bool UserDefaults::boolValue(const QString& key, bool fallback)
{
    return openSettings()->value(key, fallback).toBool();
}

void UserDefaults::setBool(const QString& key, bool value)
{
    auto settings = openSettings();
    settings->setValue(key, value);
    settings->sync();
}

QByteArray UserDefaults::data(const QString& key)
{
    return openSettings()->value(key).toByteArray();
}

void UserDefaults::setData(const QString& key, const QByteArray& value)
{
    auto settings = openSettings();
    settings->setValue(key, value);
    settings->sync();
}

bool UserDefaults::contains(const QString& key)
{
    return openSettings()->contains(key);
}

void UserDefaults::remove(const QString& key)
{
    auto settings = openSettings();
    settings->remove(key);
    settings->sync();
}

} // namespace orva
