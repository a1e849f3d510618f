#pragma once
// Desktop entries (the XDG files that desktops start programs from): the program's place in the
// user's autostart folder, and a program path written as an argument of an entry's Exec key.

#include <string>

namespace klt {

// The path as one argument of an Exec key, as it stands in the file: quoted, with '"', '`', '$'
// and '\' escaped for the command line, '%' doubled, and then '\' doubled once more for the file.
std::string DesktopExecArgument(const std::string& path);

// The entry that starts the program at log-on: $XDG_CONFIG_HOME/autostart/<productName>.desktop.
// Its presence is what counts. Empty for an empty product name.
std::string AutostartEntryPath(const std::string& productName);

} // namespace klt
