#pragma once
// The user's files as the program's tests make and read them from outside the program: password
// files, and the settings file, read and written as another process does.

#include <QString>
#include <string>
#include <vector>

namespace klt::testing {

// Writes a password file with the master password ("" for none) and one entry per system name.
void WritePasswordFile(const std::string& path, const std::string& password,
                       const std::vector<std::string>& systems = {});

// $XDG_CONFIG_HOME/Quellmoor/Keyloft.conf
QString SettingsFile();
// A value of the settings ("Settings/Last File"); empty when absent.
std::string ReadSetting(const std::string& key);
void WriteSetting(const std::string& key, const std::string& value);

} // namespace klt::testing
