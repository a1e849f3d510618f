#include "Cli.h"

#include "FileException.h"
#include "JsonContent.h"

#include <iostream>
#include <iterator>
#include <optional>
#include <stdexcept>

namespace klt::cli {

namespace {

constexpr const char* kUsage = R"(Usage:
  keyloft-cli dump [--password-stdin] FILE
  keyloft-cli create FILE
  keyloft-cli --help
)";

constexpr const char* kHelp = R"(
Reads and writes Keyloft password files (.klt).

  dump FILE     Prints the file as one JSON object:
                  {"encrypted": false, "protected": true, "master_password": "...",
                   "timestamp": 916358400,
                   "entries": [{"system": "Mail", "user": "ann", "password": "",
                                "fourth": "", "changed": 917827200}],
                   "second_list": 0}
                Entries appear in file order; times are seconds since 1970 UTC. A text
                that is not valid UTF-8 is printed as {"hex": "e9..."} so that no byte
                is lost. A protected file needs its master password: from the
                environment variable KLT_PASSWORD or, with --password-stdin, from the
                first line of standard input.
  create FILE   Reads the same JSON from standard input and writes FILE ("encrypted"
                false, "second_list" 0; "protected", "fourth" and "second_list" may be
                left out). An existing file is replaced safely and keeps its
                permissions; a new file is created readable by its owner only. dump
                followed by create gives back the same file, byte for byte.

Exit status: 0 on success, 1 when a file cannot be read or written (the reason is
printed on standard error), 2 on a usage error or unusable JSON.
)";

constexpr const char* kEncryptedText =
    "This password file requires the encrypted edition.  To convert, open this file "
    "in the encrypted edition and save it without a password.";

int UsageError(Environment& env, const std::string& strMessage) {
    env.err << "keyloft-cli: " << strMessage << '\n' << kUsage;
    return usageError;
}

int FileError(Environment& env, const std::string& strMessage) {
    env.err << strMessage << '\n';
    return fileError;
}

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

int Dump(const std::string& strPath, bool bPasswordStdin, Environment& env) {
    // Asked for only when the file is protected, so unprotected files never consume standard input.
    const PasswordPrompt prompt = [&]() -> std::optional<std::string> {
        if (bPasswordStdin) {
            return PasswordFromStdin(env.in);
        }
        const char* pszPassword = env.getenv("KLT_PASSWORD");
        return pszPassword != nullptr ? std::optional<std::string>(pszPassword) : std::nullopt;
    };
    PasswordFileContent content;
    switch (content.LoadFile(strPath, prompt)) {
    case ReadStatus::ok:
        env.out << ContentToJson(content).dump(2) << '\n';
        return success;
    case ReadStatus::cancelled:
        return FileError(env, "A password is required.");
    case ReadStatus::encrypted:
        return FileError(env, kEncryptedText);
    case ReadStatus::wrongPassword:
        return FileError(env, "Invalid Password.");
    case ReadStatus::badFormat:
        break;
    }
    return FileError(env, "Unexpected file format.");
}

int Create(const std::string& strPath, Environment& env) {
    PasswordFileContent content;
    try {
        const std::string input{std::istreambuf_iterator<char>(env.in), std::istreambuf_iterator<char>()};
        content = ContentFromJson(Json::parse(input));
    } catch (const Json::exception& e) {
        return UsageError(env, std::string("the input is not valid JSON: ") + e.what());
    } catch (const InputError& e) {
        return UsageError(env, e.what());
    }
    content.SaveFile(strPath);
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

    const std::string& strCommand = args[0];
    bool bPasswordStdin = false;
    bool bOptions = true; // until "--"
    std::vector<std::string> operands;
    for (size_t i = 1; i < args.size(); ++i) {
        if (bOptions && args[i] == "--") {
            bOptions = false;
        } else if (bOptions && args[i] == "--password-stdin" && strCommand == "dump") {
            bPasswordStdin = true;
        } else if (bOptions && args[i].size() > 1 && args[i][0] == '-') {
            return UsageError(env, "unknown option " + args[i]);
        } else {
            operands.push_back(args[i]);
        }
    }
    if (strCommand != "dump" && strCommand != "create") {
        return UsageError(env, "unknown command " + strCommand);
    }
    if (operands.size() != 1) {
        return UsageError(env, strCommand + " takes exactly one FILE");
    }
    return strCommand == "dump" ? Dump(operands[0], bPasswordStdin, env) : Create(operands[0], env);
}

} // namespace

int Run(const std::vector<std::string>& args, Environment& env) {
    try {
        return Dispatch(args, env);
    } catch (const CFileException& e) {
        return FileError(env, FileErrorText(e));
    } catch (const std::bad_alloc&) {
        return FileError(env, "Out of memory.");
    }
}

} // namespace klt::cli
