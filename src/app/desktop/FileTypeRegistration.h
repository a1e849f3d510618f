#pragma once
// Password files open with the program from the desktop: the MIME types application/x-keyloft for
// "*.klt" files and application/x-keyloft-encrypted for "*.kltx" files, and a desktop entry that
// opens such files with the program.

#include <string>

namespace klt {

// Writes, under the user's data folder, the MIME type (mime/packages/keyloft.xml), the desktop entry
// that opens files with the program at programPath (applications/keyloft.desktop) and the program's
// icon. A file that already holds the same text is left alone; when one was written, the desktop's
// caches are brought up to date. Every failure is ignored.
void RegisterFileType(const std::string& programPath);

} // namespace klt
