#include "keyloft-cli/CliCsv.h"

#include "keyloft-cli/Csv.h"
#include "keyloft-cli/CsvEntries.h"
#include "store/EntryMerge.h"
#include "store/FileException.h"
#include "store/FileIo.h"
#include "store/PasswordFileType.h"
#include "store/PasswordFileWriter.h"

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

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

// Standard output for "-" or a name of it such as /dev/stdout; straight into a pipe, terminal or
// socket; otherwise a new file readable by its owner only, as the password file is.
void WriteOutput(const std::string& strOutput, const std::string& text, Environment& env) {
    struct stat st {};
    struct stat out {};
    const bool bExists = strOutput != "-" && ::stat(strOutput.c_str(), &st) == 0;
    if (strOutput == "-" || (bExists && ::fstat(STDOUT_FILENO, &out) == 0 && st.st_dev == out.st_dev &&
                             st.st_ino == out.st_ino)) {
        env.out << text;
    } else if (bExists && (S_ISFIFO(st.st_mode) || S_ISCHR(st.st_mode) || S_ISSOCK(st.st_mode))) {
        std::ofstream stream(strOutput, std::ios::binary | std::ios::app);
        if (!(stream << text << std::flush)) {
            throw CFileException::FromErrno(errno != 0 ? errno : EIO, strOutput);
        }
    } else {
        ReplaceWithPrivateFile(strOutput, text);
    }
}

} // namespace

int ExportCommand(const std::string& strPath, const std::optional<std::string>& strOutput,
                  bool bSpreadsheetSafe, const PasswordPrompt& prompt, Environment& env) {
    PasswordFileContent content;
    if (const int nExit = LoadContent(strPath, prompt, content, env); nExit != success) {
        return nExit;
    }
    const CsvExport csv = EntriesToCsv(content.entryList, bSpreadsheetSafe);
    WriteOutput(strOutput.value_or("-"), csv.text, env);
    if (csv.nConverted > 0) {
        env.err << "keyloft-cli: " << csv.nConverted << (csv.nConverted == 1 ? " text was" : " texts were")
                << " not valid UTF-8 and went out as Windows-1252\n";
    }
    return success;
}

int ImportCommand(const std::string& strCsvPath, const std::string& strPath, bool bReplace,
                  const PasswordPrompt& prompt, Environment& env) {
    CsvImport incoming;
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
        counts = MergeEntries(content.entryList, std::move(incoming.entries),
                              bReplace ? MergeChoice::replace : MergeChoice::keep);
    } else {
        // A new file takes every row as it stands, so that an export comes back whole.
        counts.nAdded = incoming.entries.size();
        content.entryList = std::move(incoming.entries);
    }
    SaveContent(content, strPath, env.saveLimits);
    env.out << counts.nAdded << " added, " << counts.nReplaced << " replaced, " << counts.nKept << " kept, "
            << counts.nSkipped << " skipped, " << incoming.nRenamed << " renamed\n";
    return success;
}

} // namespace klt::cli
