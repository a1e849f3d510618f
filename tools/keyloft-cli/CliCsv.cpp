#include "CliCsv.h"

#include "Csv.h"
#include "CsvEntries.h"
#include "EntryMerge.h"
#include "FileIo.h"
#include "PasswordFileType.h"

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <iostream>
#include <limits>

namespace klt::cli {

namespace {

int32_t Now() {
    const auto now = static_cast<int64_t>(std::time(nullptr));
    return static_cast<int32_t>(std::min<int64_t>(now, std::numeric_limits<int32_t>::max()));
}

// A new file's master password, or the exit code after saying why there is none.
int NewFileContent(const std::string& strPath, const PasswordPrompt& prompt, PasswordFileContent& content,
                   Environment& env) {
    const auto password = prompt();
    if (!password) {
        return FileError(env, "A new file needs a master password: set KLT_PASSWORD (empty for none) or "
                              "give it with --password-stdin.");
    }
    if (password->size() > kMaxMasterPasswordLength) {
        return FileError(env, "The master password is longer than 255 bytes.");
    }
    content.strMasterPassword = *password;
    content.bProtected = !password->empty();
    content.timeStamp = Now();
    // An encrypted file cannot do without a password.
    return SealingPassword(
        strPath, [&password] { return password; }, content, env);
}

} // namespace

int ExportCommand(const std::string& strPath, const std::optional<std::string>& strOutput,
                  const PasswordPrompt& prompt, Environment& env) {
    PasswordFileContent content;
    if (const int nExit = LoadContent(strPath, prompt, content, env); nExit != success) {
        return nExit;
    }
    const CsvExport csv = EntriesToCsv(content.entryList);
    if (strOutput) {
        // Created readable by its owner only, as the password file is.
        ReplaceFileContents(*strOutput, csv.text);
    } else {
        env.out << csv.text;
    }
    if (csv.nConverted > 0) {
        env.err << "keyloft-cli: " << csv.nConverted << (csv.nConverted == 1 ? " text was" : " texts were")
                << " not valid UTF-8 and went out as Windows-1252\n";
    }
    return success;
}

int ImportCommand(const std::string& strCsvPath, const std::string& strPath, bool bReplace,
                  const PasswordPrompt& prompt, Environment& env) {
    EntryList incoming;
    try {
        incoming = EntriesFromCsv(ReadFileContents(strCsvPath), Now());
    } catch (const CsvError& e) {
        env.err << "keyloft-cli: " << strCsvPath << ": " << e.what() << '\n';
        return usageError;
    }

    PasswordFileContent content;
    std::error_code error;
    const bool bExists = std::filesystem::exists(strPath, error);
    const int nExit =
        bExists ? LoadContent(strPath, prompt, content, env) : NewFileContent(strPath, prompt, content, env);
    if (nExit != success) {
        return nExit;
    }
    MergeCounts counts;
    if (bExists) {
        // A file's time stamp never lies ahead of the present.
        content.timeStamp = std::min(content.timeStamp, Now());
        counts = MergeEntries(content.entryList, std::move(incoming), bReplace);
    } else {
        // A new file takes every row as it stands, so that an export comes back whole.
        counts.nAdded = incoming.size();
        content.entryList = std::move(incoming);
    }
    SaveContent(content, strPath, env.saveLimits);
    env.out << counts.nAdded << " added, " << counts.nReplaced << " replaced, " << counts.nKept << " kept, "
            << counts.nSkipped << " skipped\n";
    return success;
}

} // namespace klt::cli
