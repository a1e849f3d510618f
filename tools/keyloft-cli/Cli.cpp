#include "keyloft-cli/Cli.h"

#include "keyloft-cli/CliCsv.h"
#include "keyloft-cli/CliSupport.h"
#include "keyloft-cli/JsonContent.h"
#include "store/FileException.h"
#include "store/PasswordFileType.h"

#include <cerrno>
#include <iostream>
#include <iterator>
#include <optional>
#include <stdexcept>

namespace klt::cli {

namespace {

constexpr const char* kHelp = R"help(
Reads and writes Keyloft password files: plain (.klt) and encrypted (.kltx).
A file whose name ends in .kltx is written encrypted with its master password;
files of either type are read.

  dump FILE     Prints the file as one JSON object:
                  {"encrypted": false, "protected": true, "master_password": "...",
                   "timestamp": 916358400,
                   "entries": [{"system": "Mail", "user": "ann", "password": "",
                                "fourth": "", "changed": 917827200}],
                   "second_list": 0}
                Entries appear in file order; times are seconds since 1970 UTC. A text
                that is not valid UTF-8 is printed as {"hex": "e9..."} so that no byte
                is lost. A protected or encrypted file needs its master password:
                from the environment variable KLT_PASSWORD or, with --password-stdin,
                from the first line of standard input.
  create FILE   Reads the same JSON from standard input and writes FILE ("encrypted"
                false, "second_list" 0; "protected", "fourth" and "second_list" may be
                left out). An existing file is replaced safely and keeps its
                permissions; a new file is created readable by its owner only. dump
                followed by create gives back the same file, byte for byte (for
                .kltx, the same content under a fresh salt and nonce). A .kltx FILE
                needs a master password: without one in the JSON it is taken from
                KLT_PASSWORD.
  export FILE   Prints the entries as CSV (RFC 4180, UTF-8) with the columns
                "Title","Username","Password","Last Modified", the time in UTC
                (1999-02-01T00:00:00Z); with --output CSV they go to that file, made
                anew readable by its owner only (a link there is replaced, not
                followed), or into a pipe; "-" is standard output. A text that is not
                valid UTF-8 is written as its Windows-1252 reading; standard error
                says how many. With --spreadsheet-safe a text that begins with =, +,
                -, @, a tab or a carriage return gets an apostrophe in front, so that
                a spreadsheet shows it instead of running it as a formula; such an
                export no longer imports as the same passwords.
  import CSV FILE
                Reads entries from a CSV file. Columns are found by their header
                names, in any letter case: Title, Name, System or Group/Title;
                Username, User or Login; Password; Last Modified or Modified
                (optional; without it the entries are changed now). Other columns are
                passed over; a header with tabs and no comma makes tabs the
                separator. A new FILE
                gets every row and the master password from KLT_PASSWORD or
                --password-stdin (an empty one for none). An existing FILE is opened
                with that password and merged into: new system names are appended,
                entries with the same user name and password keep the later time, and
                entries that differ stay as they are unless --replace is given. A
                row whose title an earlier row has is named "Title (user)" (or with
                a number) so that every row arrives. A summary line tells how many
                were added, replaced, kept, skipped and renamed.
                A CSV that cannot be read is reported with its line; nothing is
                written then.
  convert IN OUT
                Writes the password file IN to OUT, each of either type, the
                entries byte for byte: .klt to .kltx encrypts, .kltx to .klt
                decrypts. A plain file without a master password takes one from
                KLT_PASSWORD or --password-stdin when OUT is a .kltx.

Exit status: 0 on success, 1 when a file cannot be read or written (the reason is
printed on standard error), 2 on a usage error or unusable JSON or CSV.
)help";

struct Command {
    const char* pszName;
    const char* pszOperands; // as the usage error names them
    size_t nOperands;
    bool bPasswordStdin; // takes --password-stdin
    bool bOutput;        // takes --output CSV
    bool bReplace;       // takes --replace
    bool bSafeCells;     // takes --spreadsheet-safe
};

constexpr Command kCommands[] = {
    {"dump", "exactly one FILE", 1, true, false, false, false},
    {"create", "exactly one FILE", 1, false, false, false, false},
    {"export", "exactly one FILE", 1, true, true, false, true},
    {"import", "CSV and FILE", 2, true, false, true, false},
    {"convert", "IN and OUT", 2, true, false, false, false},
};

struct Arguments {
    bool bPasswordStdin = false;
    bool bReplace = false;
    bool bSpreadsheetSafe = false;
    std::optional<std::string> strOutput;
    std::vector<std::string> operands;
};

int Dump(const std::string& strPath, const PasswordPrompt& prompt, Environment& env) {
    PasswordFileContent content;
    if (const int nExit = LoadContent(strPath, prompt, content, env); nExit != success) {
        return nExit;
    }
    env.out << ContentToJson(content).dump(2) << '\n';
    return success;
}

int Create(const std::string& strPath, const PasswordPrompt& prompt, Environment& env) {
    PasswordFileContent content;
    try {
        const std::string input{std::istreambuf_iterator<char>(env.in), std::istreambuf_iterator<char>()};
        content = ContentFromJson(Json::parse(input));
    } catch (const Json::exception& e) {
        return UsageError(env, std::string("the input is not valid JSON: ") + e.what());
    } catch (const InputError& e) {
        return UsageError(env, e.what());
    }
    if (const int nExit = SealingPassword(strPath, prompt, content, env); nExit != success) {
        return nExit;
    }
    SaveContent(content, strPath, env.saveLimits);
    return success;
}

int Convert(const std::string& strIn, const std::string& strOut, const PasswordPrompt& prompt,
            Environment& env) {
    PasswordFileContent content;
    if (const int nExit = LoadContent(strIn, prompt, content, env); nExit != success) {
        return nExit;
    }
    if (const int nExit = SealingPassword(strOut, prompt, content, env); nExit != success) {
        return nExit;
    }
    SaveContent(content, strOut, env.saveLimits);
    return success;
}

int Dispatch(const std::vector<std::string>& args, Environment& env) {
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        env.out << kUsage << kHelp;
        return success;
    }
    if (args.empty()) {
        return UsageError(env, "a command is needed");
    }
    const Command* pCommand = nullptr;
    for (const Command& command : kCommands) {
        pCommand = args[0] == command.pszName ? &command : pCommand;
    }
    if (pCommand == nullptr) {
        return UsageError(env, "unknown command " + args[0]);
    }

    Arguments parsed;
    bool bOptions = true; // until "--"
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (bOptions && arg == "--") {
            bOptions = false;
        } else if (bOptions && arg == "--password-stdin" && pCommand->bPasswordStdin) {
            parsed.bPasswordStdin = true;
        } else if (bOptions && arg == "--replace" && pCommand->bReplace) {
            parsed.bReplace = true;
        } else if (bOptions && arg == "--spreadsheet-safe" && pCommand->bSafeCells) {
            parsed.bSpreadsheetSafe = true;
        } else if (bOptions && arg == "--output" && pCommand->bOutput) {
            if (i + 1 == args.size()) {
                return UsageError(env, "--output needs a file name");
            }
            parsed.strOutput = args[++i];
        } else if (bOptions && arg.size() > 1 && arg[0] == '-') {
            return UsageError(env, "unknown option " + arg);
        } else {
            parsed.operands.push_back(arg);
        }
    }
    const std::vector<std::string>& operands = parsed.operands;
    if (operands.size() != pCommand->nOperands) {
        return UsageError(env, args[0] + " takes " + pCommand->pszOperands);
    }
    const PasswordPrompt prompt = PasswordSource(parsed.bPasswordStdin, env);
    if (args[0] == "dump") {
        return Dump(operands[0], prompt, env);
    }
    if (args[0] == "export") {
        return ExportCommand(operands[0], parsed.strOutput, parsed.bSpreadsheetSafe, prompt, env);
    }
    if (args[0] == "import") {
        return ImportCommand(operands[0], operands[1], parsed.bReplace, prompt, env);
    }
    if (args[0] == "convert") {
        return Convert(operands[0], operands[1], prompt, env);
    }
    return Create(operands[0], prompt, env);
}

} // namespace

int Run(const std::vector<std::string>& args, Environment& env) {
    try {
        return Dispatch(args, env);
    } catch (const CFileException& e) {
        // Refused as "access denied" by the file layer, as the program says it, but here the
        // user gave the wrong kind of thing.
        if (e.m_lOsError == EISDIR) {
            return FileError(env, e.m_strFileName + " is a folder, not a file.");
        }
        return FileError(env, FileErrorText(e));
    } catch (const std::bad_alloc&) {
        return FileError(env, "Out of memory.");
    }
}

} // namespace klt::cli
