#pragma once
// What the commands of keyloft-cli share: error reports, the master password's source, and
// reading a password file.

#include "keyloft-cli/Cli.h"
#include "store/PasswordFileContent.h"

#include <string>

namespace klt::cli {

// The synopsis of every command.
extern const char kUsage[];

// The message and the usage; usageError.
int UsageError(Environment& env, const std::string& strMessage);
// The message alone; fileError.
int FileError(Environment& env, const std::string& strMessage);

// The master password from the environment variable KLT_PASSWORD or, with bPasswordStdin, from the
// first line of standard input. Asked for only when needed, so that an unprotected file never
// consumes standard input.
PasswordPrompt PasswordSource(bool bPasswordStdin, Environment& env);

// Reads the password file of either type at strPath into content: success, or the exit code after
// reporting why not. Throws CFileException.
int LoadContent(const std::string& strPath, const PasswordPrompt& prompt, PasswordFileContent& content,
                Environment& env);

// Before content is written to strPath: an encrypted file without a master password takes one from
// prompt. success, or the exit code after reporting that there is none.
int SealingPassword(const std::string& strPath, const PasswordPrompt& prompt, PasswordFileContent& content,
                    Environment& env);

} // namespace klt::cli
