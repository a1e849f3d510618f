#pragma once
// Writing a password file: the two flag bytes, the password field, then the stream the caller's
// Serialize writes, replacing the file on disk safely.

#include "store/FileIo.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

class CArchive;

namespace klt {

// The reader takes at most this many password bytes, so a longer password could never be read back.
inline constexpr size_t kMaxMasterPasswordLength = 255;

using BodySerializer = std::function<void(CArchive&)>;

// The file's bytes. Throws std::length_error for a master password above kMaxMasterPasswordLength,
// and whatever serializeBody throws.
std::string BuildPasswordFile(std::string_view strMasterPassword, const BodySerializer& serializeBody);

// Builds the bytes, then replaces strPath with them (klt::ReplaceFileContents) and returns the new
// version's identity. Nothing is touched when building fails. Throws as BuildPasswordFile, and
// CFileException for file errors.
FileIdentity WritePasswordFile(const std::string& strPath, std::string_view strMasterPassword,
                               const BodySerializer& serializeBody);

} // namespace klt
