#pragma once
// Password files of either type: plain (.klt) and encrypted (.kltx). An encrypted file holds
// exactly the bytes of the plain file with the same master password, so everything after the
// decryption reads and writes the plain format.
//
//     klt::OpenedPasswordFile opened;
//     switch (klt::OpenPasswordImage(klt::ReadFileContents(path), prompt, opened)) { ... }
//     CArchive ar(opened.header.stream);

#include "store/FileIo.h"
#include "store/PasswordFileContent.h"
#include "store/PasswordFileReader.h"
#include "store/PasswordFileWriter.h"
#include "store/SealedFile.h"

#include <string>
#include <string_view>

namespace klt {

// Whether a save to strPath writes the encrypted type: its name ends in ".kltx", in any letter case.
bool IsSealedPath(std::string_view strPath);

struct OpenedPasswordFile {
    bool bSealed = false;
    // An encrypted file's decrypted bytes; header.stream points into them.
    SecretBytes plain;
    PasswordFileHeader header;
};

// Checks a whole file image of either type, as ReadPasswordHeader does a plain one. An encrypted
// file always asks through prompt, and gives ReadStatus::undecryptable when the password is wrong
// or the file was changed; its header.strMasterPassword is the password that opened it. Throws
// std::bad_alloc when the key derivation cannot have its memory.
ReadStatus OpenPasswordImage(std::string_view image, const PasswordPrompt& prompt, OpenedPasswordFile& opened,
                             const KdfLimits& maxLimits = kMaxKdfLimits);

// The bytes of a file of the given type. Throws as BuildPasswordFile, and std::invalid_argument for
// an encrypted file without a master password.
std::string BuildPasswordFileOfType(bool bSealed, std::string_view strMasterPassword,
                                    const BodySerializer& serializeBody,
                                    const KdfLimits& limits = kSaveKdfLimits);

// Builds the file of the type strPath names (IsSealedPath) and replaces strPath with it, as
// WritePasswordFile does.
FileIdentity WritePasswordFileOfType(const std::string& strPath, std::string_view strMasterPassword,
                                     const BodySerializer& serializeBody,
                                     const KdfLimits& limits = kSaveKdfLimits);

// PasswordFileContent's Load and SaveFile for files of either type.
ReadStatus LoadContent(std::string_view image, const PasswordPrompt& prompt, PasswordFileContent& content,
                       const KdfLimits& maxLimits = kMaxKdfLimits);
void SaveContent(const PasswordFileContent& content, const std::string& strPath,
                 const KdfLimits& limits = kSaveKdfLimits);

} // namespace klt
