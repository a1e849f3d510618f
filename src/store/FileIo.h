#pragma once
// Whole-file reading and writing for password files. Saving never leaves a damaged file.

#include <string>
#include <string_view>

namespace klt {

// The whole content of a regular file, opened read-only (others may read and write it meanwhile;
// the content is read in one go before anything is made of it). Throws CFileException.
std::string ReadFileContents(const std::string& strPath);

// Puts bytes into the file strPath. The bytes go to a temporary file in the same folder, created
// 0600 and given an existing file's permission bits, access-control list, owner and group (the
// latter two where allowed); it is flushed, renamed over strPath, and the folder is flushed. A new
// file is created 0600. A symbolic link is followed and its target replaced. On failure the
// temporary file is removed, the old file stays as it was, and CFileException carries the cause
// and strPath.
void ReplaceFileContents(const std::string& strPath, std::string_view bytes);

} // namespace klt
