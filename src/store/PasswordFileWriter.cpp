#include "store/PasswordFileWriter.h"

#include "store/Archive.h"
#include "store/FileIo.h"

#include <stdexcept>

namespace klt {

std::string BuildPasswordFile(std::string_view strMasterPassword, const BodySerializer& serializeBody) {
    if (strMasterPassword.size() > kMaxMasterPasswordLength) {
        throw std::length_error("master password longer than 255 bytes");
    }
    std::string image;
    image.reserve(256);
    image.push_back(0); // never enciphered
    image.push_back(strMasterPassword.empty() ? 0 : 1);
    CArchive ar(image);
    ar.WriteDWord(static_cast<uint32_t>(strMasterPassword.size()));
    image.append(strMasterPassword);
    serializeBody(ar);
    return image;
}

FileIdentity WritePasswordFile(const std::string& strPath, std::string_view strMasterPassword,
                               const BodySerializer& serializeBody) {
    return ReplaceFileContents(strPath, BuildPasswordFile(strMasterPassword, serializeBody));
}

} // namespace klt
