#include "core/settings.h"

namespace core {

QString settingsFilePath(const QString& appPath)
{
    return findFileNoCase(appPath, QString::fromLatin1(kSettingsFileName));
}

QString ReadSetting(const IniFile& settings, QStringView section, QStringView key)
{
    return settings.value(section, key, QString::fromLatin1(kMissingSetting),
                          kSettingBufferSize);
}

QString ReadSetting(const QString& appPath, QStringView section, QStringView key)
{
    IniFile settings;
    settings.load(settingsFilePath(appPath));
    return ReadSetting(settings, section, key);
}

QString ReadSettingKeys(const IniFile& settings, QStringView section)
{
    return settings.keyBuffer(section, QString::fromLatin1(kMissingSetting), kSettingBufferSize);
}

bool WriteSetting(const QString& appPath, QStringView section, QStringView key,
                  const QString& value)
{
    const QString path = settingsFilePath(appPath);
    IniFile settings;
    if (!settings.load(path))
        return false;
    // A value the code page cannot hold is still written (with '?'), as the platform does.
    if (settings.setValue(section, key, value) == IniFile::SetResult::Refused)
        return false;
    return settings.save(path);
}

}  // namespace core
