#pragma once
// Desktop entries (the XDG files that desktops start programs from): the program's place in the
// user's autostart folder, and a program path written as an argument of an entry's Exec key.

#include <string>

namespace klt {

// The path as one argument of an Exec key, as it stands in the file: quoted, with '"', '`', '$'
// and '\' escaped for the command line, '%' doubled, and then '\' doubled once more for the file;
// a line feed, tab or carriage return becomes the file's "\n", "\t" or "\r".
std::string DesktopExecArgument(const std::string& path);

// The entry that starts the program at log-on: $XDG_CONFIG_HOME/autostart/<productName>.desktop.
// Its presence is what counts. Empty for an empty product name.
std::string AutostartEntryPath(const std::string& productName);
// Whether something stands at the entry's path (a dangling link too).
bool AutostartEntryExists(const std::string& entryPath);

// Makes the entry's folder when it is missing; false when it cannot be made or written to.
bool OpenAutostartFolder(const std::string& entryPath);
// Writes the entry that starts programPath with the switch /s, replacing an older one safely.
// False, with the cause in error, when that fails.
bool WriteAutostartEntry(const std::string& entryPath, const std::string& productName,
                         const std::string& programPath, std::string& error);
// Removes the entry if it is there; false, with the cause in error, when it stays.
bool RemoveAutostartEntry(const std::string& entryPath, std::string& error);

} // namespace klt
