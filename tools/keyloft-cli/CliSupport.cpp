#include "keyloft-cli/CliSupport.h"

#include "store/FileIo.h"
#include "store/PasswordFileType.h"

#include <iostream>
#include <optional>

namespace klt::cli {

namespace {

constexpr const char* kEncryptedText =
    "This password file requires the encrypted edition.  To convert, open this file "
    "in the encrypted edition and save it without a password.";

std::optional<std::string> PasswordFromStdin(std::istream& in) {
    std::string line;
    if (!std::getline(in, line)) {
        return std::nullopt;
    }
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    return line;
}

} // namespace

const char kUsage[] = R"(Usage:
  keyloft-cli dump [--password-stdin] FILE
  keyloft-cli create FILE
  keyloft-cli export [--password-stdin] [--output CSV] [--spreadsheet-safe] FILE
  keyloft-cli import [--password-stdin] [--replace] CSV FILE
  keyloft-cli convert [--password-stdin] IN OUT
  keyloft-cli --help
)";

int UsageError(Environment& env, const std::string& strMessage) {
    env.err << "keyloft-cli: " << strMessage << '\n' << kUsage;
    return usageError;
}

int FileError(Environment& env, const std::string& strMessage) {
    env.err << strMessage << '\n';
    return fileError;
}

PasswordPrompt PasswordSource(bool bPasswordStdin, Environment& env) {
    return [bPasswordStdin, &env]() -> std::optional<std::string> {
        if (bPasswordStdin) {
            return PasswordFromStdin(env.in);
        }
        const char* pszPassword = env.getenv("KLT_PASSWORD");
        return pszPassword != nullptr ? std::optional<std::string>(pszPassword) : std::nullopt;
    };
}

int LoadContent(const std::string& strPath, const PasswordPrompt& prompt, PasswordFileContent& content,
                Environment& env) {
    switch (klt::LoadContent(ReadFileContents(strPath), prompt, content)) {
    case ReadStatus::ok:
        return success;
    case ReadStatus::cancelled:
        return FileError(env, "A password is required.");
    case ReadStatus::encrypted:
        return FileError(env, kEncryptedText);
    case ReadStatus::wrongPassword:
        return FileError(env, "Invalid Password.");
    case ReadStatus::undecryptable:
        return FileError(env, "Invalid password, or the file is damaged.");
    case ReadStatus::badFormat:
        break;
    }
    return FileError(env, "Unexpected file format.");
}

int SealingPassword(const std::string& strPath, const PasswordPrompt& prompt, PasswordFileContent& content,
                    Environment& env) {
    if (!IsSealedPath(strPath) || !content.strMasterPassword.empty()) {
        return success;
    }
    const auto password = prompt();
    if (!password || password->empty()) {
        return FileError(env,
                         "An encrypted file (.kltx) needs a master password: set KLT_PASSWORD or give it "
                         "with --password-stdin.");
    }
    if (password->size() > kMaxMasterPasswordLength) {
        return FileError(env, "The master password is longer than 255 bytes.");
    }
    content.strMasterPassword = *password;
    content.bProtected = true;
    return success;
}

} // namespace klt::cli
