#include "Cli.h"

#include "FileIo.h"
#include "JsonContent.h"
#include "TempFolder.h"

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
        klt::cli::Environment env{in, m_out, m_err, [this](const char* pszName) -> const char* {
                                      const auto it = m_env.find(pszName);
                                      return it == m_env.end() ? nullptr : it->second.c_str();
                                  }};
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

    EXPECT_EQ(
        Run({"create", Path("missing/a.klt")}, R"({"master_password": "", "timestamp": 0, "entries": []})"),
        klt::cli::fileError);
    EXPECT_EQ(m_err.str(), Path("missing/a.klt") + " was not found.\n");
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
