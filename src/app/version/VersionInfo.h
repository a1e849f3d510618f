#pragma once
// The program's version strings and build time, which the build writes into the program file
// (section .keyloft.version, one "name=value" line each) and the application object reads back once
// at start. The strings are found under the names "\StringFileInfo\040904B0\" followed by the value's
// name ("ProductName", "ProductVersion", ...); the build time under "TimeDateStamp".

#include "framework/WinTypes.h"

#include <cstdint>
#include <string>

namespace klt {

// The loaded version block of one series of reads.
struct VersionBlock {
    bool bLoaded = false; // a load was tried
    bool bValid = false;  // and it succeeded
    std::string data;
};

// The full path of the running program file.
std::string RunningProgramPath();

} // namespace klt

// Reads one version string into out. The first read with a block loads it from the running program
// file; when that fails, this and every later read with the same block give FALSE. A name that the
// block does not hold gives FALSE and leaves out as it was.
BOOL GetVersionString(const char* name, std::string& out, klt::VersionBlock& block);

// The time the program file was built, in seconds since 1970 UTC. FALSE, with the system's
// description of the cause in error, when the program file cannot be read or holds no build time.
BOOL ReadBuildTime(int32_t& timeBuild, std::string& error);
