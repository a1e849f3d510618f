#include "keyloft-cli/Cli.h"

#include "keyloft-cli/JsonContent.h"
#include "store/FileIo.h"
#include "support/TempFolder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;
using klt::cli::Json;

namespace {

class Cli : public ::testing::Test {
protected:
    std::string Path(const char* pszName) const { return m_folder.PathOf(pszName); }

    int Run(std::vector<std::string> args, const std::string& input = "") {
        std::istringstream in(input);
        m_out.str(""), m_err.str("");
        klt::cli::Environment env{in,
                                  m_out,
                                  m_err,
                                  [this](const char* pszName) -> const char* {
                                      const auto it = m_env.find(pszName);
                                      return it == m_env.end() ? nullptr : it->second.c_str();
                                  },
                                  {1, 8192}};
        return klt::cli::Run(args, env);
    }

    klt::testing::TempFolder m_folder{"klt_cli_"};
    std::map<std::string, std::string> m_env;
    std::ostringstream m_out;
    std::ostringstream m_err;
};

const char* const kFileJson = R"({
  "encrypted": false, "protected": true, "master_password": "pa\u00dfword", "timestamp": -86400,
  "entries": [
    {"system": "Mail", "user": "ann", "password": "", "fourth": "", "changed": 917827200},
    {"system": {"hex": "e96d61696c"}, "user": "b\u0000b", "password": {"hex": "ff"}, "fourth": "kept",
     "changed": -2147483648}
  ],
  "second_list": 0})";

} // namespace

TEST_F(Cli, CreateThenDumpThenCreateGivesTheSameBytes) {
    ASSERT_EQ(Run({"create", Path("a.klt")}, kFileJson), klt::cli::success) << m_err.str();
    const std::string first = klt::ReadFileContents(Path("a.klt"));

    m_env["KLT_PASSWORD"] = "pa\xC3\x9Fword";
    ASSERT_EQ(Run({"dump", Path("a.klt")}), klt::cli::success) << m_err.str();
    const Json dumped = Json::parse(m_out.str());
    EXPECT_EQ(dumped, Json::parse(kFileJson));
    // Keys in the documented order, not sorted.
    EXPECT_EQ(dumped.begin().key(), "encrypted");

    ASSERT_EQ(Run({"create", Path("b.klt")}, dumped.dump()), klt::cli::success) << m_err.str();
    EXPECT_EQ(klt::ReadFileContents(Path("b.klt")), first);
}

TEST_F(Cli, PasswordFromStandardInput) {
    ASSERT_EQ(Run({"create", Path("a.klt")}, kFileJson), klt::cli::success);
    m_env["KLT_PASSWORD"] = "wrong";
    EXPECT_EQ(Run({"dump", "--password-stdin", Path("a.klt")}, "pa\xC3\x9Fword\r\nmore\n"), klt::cli::success)
        << m_err.str();
    EXPECT_EQ(Run({"dump", Path("a.klt"), "--password-stdin"}, "wrong\n"), klt::cli::fileError);
    EXPECT_EQ(m_err.str(), "Invalid Password.\n");
    EXPECT_EQ(Run({"dump", "--password-stdin", Path("a.klt")}, ""), klt::cli::fileError);
    EXPECT_EQ(m_err.str(), "A password is required.\n");
    m_env.clear();
    EXPECT_EQ(Run({"dump", Path("a.klt")}), klt::cli::fileError);
    EXPECT_EQ(m_err.str(), "A password is required.\n");
    EXPECT_TRUE(m_out.str().empty());
}

TEST_F(Cli, FileErrorsInTheProgramsWords) {
    EXPECT_EQ(Run({"dump", Path("none.klt")}), klt::cli::fileError);
    EXPECT_EQ(m_err.str(), Path("none.klt") + " was not found.\n");

    klt::ReplaceFileContents(Path("short.klt"), std::string("\0\0\0\0", 4));
    EXPECT_EQ(Run({"dump", Path("short.klt")}), klt::cli::fileError);
    EXPECT_EQ(m_err.str(), "Unexpected file format.\n");

    klt::ReplaceFileContents(Path("enc.klt"), std::string("\1\0\0\0\0\0\0\0\0\0\0\0\0\0", 14));
    EXPECT_EQ(Run({"dump", Path("enc.klt")}), klt::cli::fileError);
    EXPECT_EQ(m_err.str(),
              "This password file requires the encrypted edition.  To convert, open this file in the "
              "encrypted edition and save it without a password.\n");

    fs::create_symlink("/nonexistent-mount/a.klt", Path("offline.klt"));
    for (const char* pszName : {"missing/a.klt", "offline.klt"}) {
        EXPECT_EQ(Run({"create", Path(pszName)}, R"({"master_password": "", "timestamp": 0, "entries": []})"),
                  klt::cli::fileError);
        EXPECT_EQ(m_err.str(), Path(pszName) + " was not found.\n");
    }
    EXPECT_TRUE(fs::is_symlink(Path("offline.klt")));
}

TEST_F(Cli, UnusableInputTouchesNoFile) {
    klt::ReplaceFileContents(Path("a.klt"), "old");
    const auto refused = [&](const std::string& input) {
        const int nExit = Run({"create", Path("a.klt")}, input);
        return nExit == klt::cli::usageError && klt::ReadFileContents(Path("a.klt")) == "old" &&
               !m_err.str().empty();
    };
    const std::string longPassword(256, 'p');
    EXPECT_TRUE(refused("not json"));
    EXPECT_TRUE(refused("[]"));
    EXPECT_TRUE(refused(R"({"master_password": "", "timestamp": 0})"));
    EXPECT_TRUE(refused(R"({"master_password": "", "timestamp": 0, "entries": [], "colour": 1})"));
    EXPECT_TRUE(refused(R"({"master_password": "", "timestamp": 0, "entries": [], "encrypted": true})"));
    EXPECT_TRUE(refused(R"({"master_password": "", "timestamp": 0, "entries": [], "second_list": 1})"));
    EXPECT_TRUE(refused(R"({"master_password": "x", "protected": false, "timestamp": 0, "entries": []})"));
    EXPECT_TRUE(refused(R"({"master_password": ")" + longPassword + R"(", "timestamp": 0, "entries": []})"));
    EXPECT_TRUE(refused(R"({"master_password": "", "timestamp": 2147483648, "entries": []})"));
    EXPECT_TRUE(refused(R"({"master_password": "", "timestamp": 1.5, "entries": []})"));
    EXPECT_TRUE(refused(R"({"master_password": {"hex": "abc"}, "timestamp": 0, "entries": []})"));
    EXPECT_TRUE(refused(R"({"master_password": {"hex": "zz"}, "timestamp": 0, "entries": []})"));
    EXPECT_TRUE(refused(R"({"master_password": "", "timestamp": 0, "entries": [{"system": "s"}]})"));
    EXPECT_TRUE(refused(R"({"master_password": "", "timestamp": 0, "entries": [)"
                        R"({"system": "s", "user": "", "password": "", "changed": 0, "notes": ""}]})"));
}

TEST_F(Cli, UsageErrors) {
    EXPECT_EQ(Run({"--help"}), klt::cli::success);
    EXPECT_NE(m_out.str().find("--password-stdin"), std::string::npos);
    EXPECT_NE(m_out.str().find("KLT_PASSWORD"), std::string::npos);
    EXPECT_EQ(Run({}), klt::cli::usageError);
    EXPECT_EQ(Run({"list", "a.klt"}), klt::cli::usageError);
    EXPECT_EQ(Run({"dump"}), klt::cli::usageError);
    EXPECT_EQ(Run({"dump", "a.klt", "b.klt"}), klt::cli::usageError);
    EXPECT_EQ(Run({"dump", "--verbose", "a.klt"}), klt::cli::usageError);
    EXPECT_EQ(Run({"create", "--password-stdin", "a.klt"}), klt::cli::usageError);
    EXPECT_FALSE(fs::exists("a.klt"));
    // "--" ends the options, so a file may start with a dash.
    EXPECT_EQ(
        Run({"create", "--", Path("-x.klt")}, R"({"master_password": "", "timestamp": 0, "entries": []})"),
        klt::cli::success);
    EXPECT_EQ(klt::ReadFileContents(Path("-x.klt")).size(), 14u);
}

TEST_F(Cli, ExportThenImportGivesBackTheEntries) {
    const char* const kJson = R"({"master_password": "", "timestamp": 0, "entries": [
        {"system": "a, \"b\"", "user": "line\r\nbreak\tand tab", "password": "", "fourth": "", "changed": -1},
        {"system": "caf\u00e9 \u2603", "user": "", "password": " x ", "fourth": "", "changed": 2147483647},
        {"system": {"hex": "e9"}, "user": "", "password": "", "fourth": "", "changed": 0}]})";
    ASSERT_EQ(Run({"create", Path("a.klt")}, kJson), klt::cli::success) << m_err.str();
    ASSERT_EQ(Run({"export", "--output", Path("a.csv"), Path("a.klt")}), klt::cli::success);
    EXPECT_EQ(m_err.str(), "keyloft-cli: 1 text was not valid UTF-8 and went out as Windows-1252\n");
    const std::string start = "\"Title\",\"Username\",\"Password\",\"Last Modified\"\r\n"
                              "\"a, \"\"b\"\"\",\"line\r\nbreak\tand tab\",\"\",\"1969-12-31T23:59:59Z\"\r\n";
    EXPECT_EQ(klt::ReadFileContents(Path("a.csv")).substr(0, start.size()), start);

    m_env["KLT_PASSWORD"] = "";
    ASSERT_EQ(Run({"import", Path("a.csv"), Path("b.klt")}), klt::cli::success) << m_err.str();
    EXPECT_EQ(m_out.str(), "3 added, 0 replaced, 0 kept, 0 skipped, 0 renamed\n");
    ASSERT_EQ(Run({"dump", Path("b.klt")}), klt::cli::success);
    Json expected = Json::parse(kJson)["entries"];
    expected[2]["system"] = "\xC3\xA9";
    EXPECT_EQ(Json::parse(m_out.str())["entries"], expected);
}

TEST_F(Cli, ImportMergesIntoAnExistingFileWithItsPassword) {
    ASSERT_EQ(Run({"create", Path("a.klt")}, R"({"master_password": "pw", "timestamp": 0, "entries": [
        {"system": "Mail", "user": "ann", "password": "old", "changed": 5}]})"),
              klt::cli::success);
    klt::ReplaceFileContents(Path("a.csv"), "title,password\nMail,new\nBank,b\nMail,again\n");
    for (const auto& [option, summary, password] :
         {std::tuple{"--", "2 added, 0 replaced, 1 kept, 0 skipped, 1 renamed\n", "old"},
          std::tuple{"--replace", "0 added, 1 replaced, 0 kept, 2 skipped, 1 renamed\n", "new"}}) {
        ASSERT_EQ(Run({"import", "--password-stdin", option, Path("a.csv"), Path("a.klt")}, "pw\n"),
                  klt::cli::success)
            << m_err.str();
        EXPECT_EQ(m_out.str(), summary);
        ASSERT_EQ(Run({"dump", "--password-stdin", Path("a.klt")}, "pw\n"), klt::cli::success);
        EXPECT_EQ(Json::parse(m_out.str())["entries"][0]["password"], password);
        EXPECT_EQ(Json::parse(m_out.str())["entries"][2]["system"], "Mail (2)");
    }
    EXPECT_EQ(Run({"import", "--password-stdin", Path("a.csv"), Path("a.klt")}, "wrong\n"),
              klt::cli::fileError);
    EXPECT_EQ(m_err.str(), "Invalid Password.\n");
}

TEST_F(Cli, ImportRefusalsWriteNothing) {
    klt::ReplaceFileContents(Path("bad.csv"), "title,password\n\"a,b\n");
    klt::ReplaceFileContents(Path("good.csv"), "title,password\na,b\n");
    m_env["KLT_PASSWORD"] = "";
    EXPECT_EQ(Run({"import", Path("bad.csv"), Path("a.klt")}), klt::cli::usageError);
    EXPECT_EQ(m_err.str(), "keyloft-cli: " + Path("bad.csv") + ": line 2: a quoted field is never closed\n");
    m_env["KLT_PASSWORD"] = std::string(256, 'p');
    EXPECT_EQ(Run({"import", Path("good.csv"), Path("a.klt")}), klt::cli::fileError);
    m_env.clear();
    EXPECT_EQ(Run({"import", Path("good.csv"), Path("a.klt")}), klt::cli::fileError);
    EXPECT_NE(m_err.str().find("KLT_PASSWORD"), std::string::npos);
    EXPECT_FALSE(fs::exists(Path("a.klt")));
    EXPECT_EQ(Run({"import", Path("good.csv")}), klt::cli::usageError);
    EXPECT_EQ(Run({"export", "--output"}), klt::cli::usageError);
}

TEST_F(Cli, ExportGoesWhereItIsSentAndNowhereElse) {
    ASSERT_EQ(Run({"create", Path("a.klt")}, R"({"master_password": "", "timestamp": 0, "entries": []})"),
              klt::cli::success);
    const std::string csv = "\"Title\",\"Username\",\"Password\",\"Last Modified\"\r\n";
    for (const char* pszOutput : {"-", "/dev/stdout"}) {
        ASSERT_EQ(Run({"export", "--output", pszOutput, Path("a.klt")}), klt::cli::success) << m_err.str();
        EXPECT_EQ(m_out.str(), csv) << pszOutput;
    }
    int pipeEnds[2];
    ASSERT_EQ(::pipe(pipeEnds), 0);
    ASSERT_EQ(Run({"export", "--output", "/proc/self/fd/" + std::to_string(pipeEnds[1]), Path("a.klt")}),
              klt::cli::success);
    std::string piped(csv.size(), '\0');
    EXPECT_EQ(::read(pipeEnds[0], piped.data(), piped.size()), static_cast<ssize_t>(csv.size()));
    EXPECT_EQ(piped, csv);
    ::close(pipeEnds[0]);
    ::close(pipeEnds[1]);

    // Whatever stood there gives way to a file of the owner's alone; a link's target stays as it was.
    klt::ReplaceFileContents(Path("open.csv"), "old");
    fs::permissions(Path("open.csv"), fs::perms(0644));
    fs::create_symlink(Path("open.csv"), Path("link.csv"));
    ASSERT_EQ(Run({"export", "--output", Path("link.csv"), Path("a.klt")}), klt::cli::success);
    EXPECT_EQ(klt::ReadFileContents(Path("open.csv")), "old");
    ASSERT_EQ(Run({"export", "--output", Path("open.csv"), Path("a.klt")}), klt::cli::success);
    for (const char* pszName : {"link.csv", "open.csv"}) {
        EXPECT_EQ(klt::ReadFileContents(Path(pszName)), csv);
        EXPECT_EQ(fs::symlink_status(Path(pszName)).permissions(), fs::perms(0600)) << pszName;
    }

    const std::string folder = m_folder.Path().string();
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"dump", folder}, {"export", "--output", folder, Path("a.klt")}}) {
        EXPECT_EQ(Run(args), klt::cli::fileError);
        EXPECT_EQ(m_err.str(), folder + " is a folder, not a file.\n");
    }
}

TEST_F(Cli, EncryptedFilesWithEveryCommand) {
    ASSERT_EQ(Run({"create", Path("plain.klt")}, kFileJson), klt::cli::success) << m_err.str();
    ASSERT_EQ(Run({"create", Path("a.kltx")}, kFileJson), klt::cli::success) << m_err.str();
    const std::string plain = klt::ReadFileContents(Path("plain.klt"));
    EXPECT_EQ(klt::ReadFileContents(Path("a.kltx")).find("Mail"), std::string::npos);
    m_env["KLT_PASSWORD"] = "pa\xC3\x9Fword";
    ASSERT_EQ(Run({"dump", Path("a.kltx")}), klt::cli::success) << m_err.str();
    EXPECT_EQ(Json::parse(m_out.str()), Json::parse(kFileJson));

    // KLT_PASSWORD, command, standard input, exit code, the file that must hold the plain bytes.
    const char* const kRight = "pa\xC3\x9Fword";
    const std::tuple<const char*, std::vector<std::string>, std::string, int, const char*> steps[] = {
        {kRight, {"convert", Path("a.kltx"), Path("b.klt")}, "", klt::cli::success, "b.klt"},
        {kRight, {"convert", Path("b.klt"), Path("c.kltx")}, "", klt::cli::success, nullptr},
        {kRight, {"convert", Path("c.kltx"), Path("d.klt")}, "", klt::cli::success, "d.klt"},
        {kRight, {"export", "--output", Path("a.csv"), Path("a.kltx")}, "", klt::cli::success, nullptr},
        {kRight, {"import", Path("a.csv"), Path("c.kltx")}, "", klt::cli::success, nullptr},
        {"wrong", {"convert", Path("c.kltx"), Path("e.klt")}, "", klt::cli::fileError, nullptr},
        // A file without a master password is encrypted only with one given.
        {"", {"import", Path("a.csv"), Path("open.kltx")}, "", klt::cli::fileError, nullptr},
        {"", {"import", Path("a.csv"), Path("open.klt")}, "", klt::cli::success, nullptr},
        {"", {"convert", Path("open.klt"), Path("open.kltx")}, "", klt::cli::fileError, nullptr},
        {"",
         {"convert", "--password-stdin", Path("open.klt"), Path("f.kltx")},
         "new\n",
         klt::cli::success,
         nullptr},
        {"new", {"dump", Path("f.kltx")}, "", klt::cli::success, nullptr},
    };
    for (const auto& [pszPassword, args, input, nExit, pszSame] : steps) {
        SCOPED_TRACE(args[0] + " " + args.back());
        m_env["KLT_PASSWORD"] = pszPassword;
        EXPECT_EQ(Run(args, input), nExit) << m_err.str();
        if (pszSame != nullptr) {
            EXPECT_EQ(klt::ReadFileContents(Path(pszSame)), plain);
        }
    }
    EXPECT_EQ(Json::parse(m_out.str())["entries"].size(), 2u);
    EXPECT_FALSE(fs::exists(Path("e.klt")));
    EXPECT_FALSE(fs::exists(Path("open.kltx")));
    EXPECT_EQ(Run({"dump", Path("a.kltx")}), klt::cli::fileError);
    EXPECT_EQ(m_err.str(), "Invalid password, or the file is damaged.\n");
}
