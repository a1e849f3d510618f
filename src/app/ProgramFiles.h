#pragma once
// Files that belong beside the program: DEFAULT.KLT, a bare start-up file, README.TXT and
// LICENSE.TXT. A copy that lives in its own folder (the build tree, an unpacked portable copy) keeps
// them there. An installed copy cannot write to its folder: its texts come from the installation's
// data folder and the files the user makes go to the user's data folder.

#include <string>

namespace klt {

// Whether a file name is bare, that is names no folder: it has no '/', and neither a '\' nor a ':',
// which name folders and drives in file names written the Windows way.
bool IsBareFileName(const std::string& name);

struct ProgramFolders {
    std::string program;       // the folder of the running program file
    std::string installedData; // where an installation puts the program's texts
    std::string userData;      // the user's own files of an installed copy: $XDG_DATA_HOME/Keyloft

    // The folders of the running program.
    static ProgramFolders OfRunningProgram();

    // Whether the program is an installed copy: the installation's data folder exists.
    bool IsInstalled() const;
    // The full path of the file called name beside the program. For an installed copy, a file that is
    // not in the program's folder comes from the data folder when that has it, and else lives in the
    // user's data folder, which is made when missing.
    std::string PathOf(const std::string& name) const;
};

} // namespace klt
