#include "store/PasswordFileType.h"

#include "store/Archive.h"

#include <algorithm>
#include <cctype>
#include <sodium.h>
#include <stdexcept>

namespace klt {

bool IsSealedPath(std::string_view strPath) {
    constexpr std::string_view kExtension = ".kltx";
    return strPath.size() >= kExtension.size() &&
           std::equal(kExtension.begin(), kExtension.end(), strPath.end() - kExtension.size(),
                      [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); });
}

ReadStatus OpenPasswordImage(std::string_view image, const PasswordPrompt& prompt, OpenedPasswordFile& opened,
                             const KdfLimits& maxLimits) {
    opened = {};
    if (!IsSealedImage(image)) {
        return ReadPasswordHeader(image, prompt, opened.header);
    }
    opened.bSealed = true;
    std::optional<std::string> typed = prompt ? prompt() : std::nullopt;
    if (!typed) {
        return ReadStatus::cancelled;
    }
    std::optional<SecretBytes> plain = UnsealImage(image, *typed, maxLimits);
    if (!plain) {
        return ReadStatus::undecryptable;
    }
    opened.plain = std::move(*plain);
    // The plain file inside was written with the same password; it is not asked for again.
    const ReadStatus status = ReadPasswordHeader(
        opened.plain.View(), [&typed] { return typed; }, opened.header);
    if (status != ReadStatus::ok) {
        return status == ReadStatus::badFormat ? status : ReadStatus::undecryptable;
    }
    opened.header.bProtected = true;
    opened.header.strMasterPassword = std::move(*typed);
    return ReadStatus::ok;
}

std::string BuildPasswordFileOfType(bool bSealed, std::string_view strMasterPassword,
                                    const BodySerializer& serializeBody, const KdfLimits& limits) {
    if (!bSealed) {
        return BuildPasswordFile(strMasterPassword, serializeBody);
    }
    if (strMasterPassword.empty()) {
        throw std::invalid_argument("an encrypted file needs a master password");
    }
    std::string plain = BuildPasswordFile(strMasterPassword, serializeBody);
    std::string image = SealImage(plain, strMasterPassword, limits);
    sodium_memzero(plain.data(), plain.capacity());
    return image;
}

FileIdentity WritePasswordFileOfType(const std::string& strPath, std::string_view strMasterPassword,
                                     const BodySerializer& serializeBody, const KdfLimits& limits) {
    return ReplaceFileContents(
        strPath, BuildPasswordFileOfType(IsSealedPath(strPath), strMasterPassword, serializeBody, limits));
}

ReadStatus LoadContent(std::string_view image, const PasswordPrompt& prompt, PasswordFileContent& content,
                       const KdfLimits& maxLimits) {
    OpenedPasswordFile opened;
    const ReadStatus status = OpenPasswordImage(image, prompt, opened, maxLimits);
    if (status != ReadStatus::ok) {
        content = {};
        return status;
    }
    return content.LoadStream(opened.header);
}

void SaveContent(const PasswordFileContent& content, const std::string& strPath, const KdfLimits& limits) {
    WritePasswordFileOfType(
        strPath, content.strMasterPassword, [&content](CArchive& ar) { content.Store(ar); }, limits);
}

} // namespace klt
