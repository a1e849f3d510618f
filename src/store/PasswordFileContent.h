#pragma once
// Everything a password file holds, apart from any document: header, time stamp, entries and the
// second list. Used by the command-line tool, tests, fuzzing and benchmarks.

#include "store/PasswordFileReader.h"
#include "store/QMPassword.h"

#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <string_view>

class CArchive;

namespace klt {

struct PasswordFileContent {
    // The password flag as read; a save protects the file exactly when strMasterPassword is not empty.
    bool bProtected = false;
    std::string strMasterPassword;
    int32_t timeStamp = 0;
    std::list<std::unique_ptr<QMPassword>> entryList;
    std::list<std::unique_ptr<CObject>> secondList;

    // Time stamp, entry list, second list.
    void Serialize(CArchive& ar);
    void Store(CArchive& ar) const;

    // Replaces this content by the file in image. A stream error gives badFormat; on any status but
    // ok the content is left empty.
    ReadStatus Load(std::string_view image, const PasswordPrompt& prompt);
    // The same for a header already read (ReadPasswordHeader gave ok).
    ReadStatus LoadStream(const PasswordFileHeader& header);
    // The same for a file on disk. Throws CFileException.
    ReadStatus LoadFile(const std::string& strPath, const PasswordPrompt& prompt);

    // The file's bytes; throws as BuildPasswordFile.
    std::string Build() const;
    // Writes the file with the safe replacement; throws as WritePasswordFile.
    void SaveFile(const std::string& strPath) const;
};

} // namespace klt
