#include "store/PasswordFileContent.h"

#include "store/Archive.h"
#include "store/FileIo.h"
#include "store/PasswordFileWriter.h"
#include "store/SecretMemory.h"

namespace klt {

void PasswordFileContent::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        Store(ar);
        return;
    }
    timeStamp = static_cast<int32_t>(ar.ReadDWord());
    ar.ReadObjectList(entryList);
    ar.ReadObjectList(secondList);
}

void PasswordFileContent::Store(CArchive& ar) const {
    ar.WriteDWord(static_cast<uint32_t>(timeStamp));
    ar.WriteObjectList(entryList);
    ar.WriteObjectList(secondList);
}

ReadStatus PasswordFileContent::Load(std::string_view image, const PasswordPrompt& prompt) {
    *this = {};
    PasswordFileHeader header;
    const ReadStatus status = ReadPasswordHeader(image, prompt, header);
    return status == ReadStatus::ok ? LoadStream(header) : status;
}

ReadStatus PasswordFileContent::LoadStream(const PasswordFileHeader& header) {
    *this = {};
    try {
        CArchive ar(header.stream);
        Serialize(ar);
    } catch (const CArchiveException&) {
        *this = {};
        return ReadStatus::badFormat;
    }
    bProtected = header.bProtected;
    strMasterPassword = header.strMasterPassword;
    return ReadStatus::ok;
}

ReadStatus PasswordFileContent::LoadFile(const std::string& strPath, const PasswordPrompt& prompt) {
    std::string image = ReadFileContents(strPath);
    const WipeOnExit wipeImage(image);
    return Load(image, prompt);
}

std::string PasswordFileContent::Build() const {
    return BuildPasswordFile(strMasterPassword, [this](CArchive& ar) { Store(ar); });
}

void PasswordFileContent::SaveFile(const std::string& strPath) const {
    ReplaceFileContents(strPath, Build());
}

} // namespace klt
