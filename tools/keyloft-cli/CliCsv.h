#pragma once
// keyloft-cli's export and import: a password file's entries to CSV and back.

#include "keyloft-cli/CliSupport.h"

#include <optional>
#include <string>

namespace klt::cli {

// Writes the entries of the file at strPath as CSV to strOutput, or to standard output; with
// bSpreadsheetSafe no cell begins as a formula.
int ExportCommand(const std::string& strPath, const std::optional<std::string>& strOutput,
                  bool bSpreadsheetSafe, const PasswordPrompt& prompt, Environment& env);

// Reads the CSV at strCsvPath into the file at strPath: a new file takes the prompt's password, an
// existing one is opened with it and merged into. Nothing is written when the CSV cannot be read.
int ImportCommand(const std::string& strCsvPath, const std::string& strPath, bool bReplace,
                  const PasswordPrompt& prompt, Environment& env);

} // namespace klt::cli
