#pragma once

#include "core/inifile.h"

#include <QString>
#include <QStringView>

namespace core {

inline constexpr char kSettingsFileName[] = "ravoze.ini";
// Every reader takes this default text as "the key is missing".
inline constexpr char kMissingSetting[] = "999";
// Settings are read into buffers of this many characters, the closing NUL included.
inline constexpr int kSettingBufferSize = 255;

// The settings file in the program folder, found without regard to case.
QString settingsFilePath(const QString& appPath);

// One key of the settings file with the default "999", cut to what a 255-character buffer
// holds (254 characters and the NUL).
QString ReadSetting(const IniFile& settings, QStringView section, QStringView key);
// The same from "ravoze.ini" in `appPath`; a missing or unreadable file reads as "999".
QString ReadSetting(const QString& appPath, QStringView section, QStringView key);

// All key names of a section as one NUL-separated text (see IniFile::keyBuffer), with the
// default "999" for a missing section, in a 255-character buffer.
QString ReadSettingKeys(const IniFile& settings, QStringView section);

// Writes one key of "ravoze.ini" in `appPath` and saves the file atomically. Refuses (false)
// when the existing file cannot be read, rather than replacing it with this key alone.
bool WriteSetting(const QString& appPath, QStringView section, QStringView key,
                  const QString& value);

}  // namespace core
