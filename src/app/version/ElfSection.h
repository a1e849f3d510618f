#pragma once
// Reads one named section of an ELF program file, such as the version block the build puts into
// the program.

#include <string>

namespace klt {

// The bytes of the section called name in the ELF file at path. False, with a description of the
// cause in error, when the file cannot be read, is not an ELF file in this machine's byte order,
// is damaged, or has no such section.
bool ReadElfSection(const std::string& path, const std::string& name, std::string& contents,
                    std::string& error);

} // namespace klt
