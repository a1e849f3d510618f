#include "store/Archive.h"
#include "store/PasswordFileContent.h"
#include "store/PasswordFileWriter.h"
#include "support/ByteHelpers.h"

#include <gtest/gtest.h>
#include <stdexcept>

using klt::PasswordFileContent;
using klt::ReadStatus;
using klt::test::Hex;

namespace {

// The worked example: no master password, one entry Mail / ann, changed 1999-02-01, stamped 1999-01-15.
const std::string kExample = Hex("00 00 00000000 00859E36 0100 FFFF 0000 0A00") + "QMPassword" + Hex("04") +
                             "Mail" + Hex("03") + "ann" + Hex("00 00 80EEB436 0000");

PasswordFileContent Example() {
    PasswordFileContent content;
    content.timeStamp = 916358400;
    content.entryList.push_back(std::make_unique<QMPassword>("Mail", "ann", "", 917827200));
    return content;
}

// A prompt that answers with password and counts how often it was asked.
struct Prompt {
    std::optional<std::string> answer;
    int nAsked = 0;
    klt::PasswordPrompt Get() {
        return [this] {
            ++nAsked;
            return answer;
        };
    }
};

std::string Protected(std::string_view password, std::string_view rest) {
    std::string image = Hex("00 01");
    image += static_cast<char>(password.size());
    image += std::string(3, '\0');
    return image + std::string(password) + std::string(rest);
}

const std::string kEmptyBody = Hex("00 00 00 00  00 00  00 00"); // time 0, two empty lists

} // namespace

TEST(PasswordFile, WorkedExampleByteForByte) {
    ASSERT_EQ(kExample.size(), 45u);
    EXPECT_EQ(Example().Build(), kExample);

    PasswordFileContent content;
    Prompt prompt;
    ASSERT_EQ(content.Load(kExample, prompt.Get()), ReadStatus::ok);
    EXPECT_EQ(prompt.nAsked, 0);
    EXPECT_FALSE(content.bProtected);
    EXPECT_EQ(content.strMasterPassword, "");
    EXPECT_EQ(content.timeStamp, 916358400);
    ASSERT_EQ(content.entryList.size(), 1u);
    EXPECT_EQ(content.entryList.front()->m_strSystem, "Mail");
    EXPECT_EQ(content.entryList.front()->m_strUserName, "ann");
    EXPECT_EQ(content.entryList.front()->m_timeLastChange, 917827200);
    EXPECT_EQ(content.Build(), kExample);
}

TEST(PasswordFile, ProtectedFileDiffersOnlyInItsPasswordField) {
    PasswordFileContent content = Example();
    content.strMasterPassword = "Secret";
    const std::string image = content.Build();
    EXPECT_EQ(image, Protected("Secret", kExample.substr(6)));

    Prompt right{"Secret"};
    ASSERT_EQ(content.Load(image, right.Get()), ReadStatus::ok);
    EXPECT_EQ(right.nAsked, 1);
    EXPECT_TRUE(content.bProtected);
    EXPECT_EQ(content.strMasterPassword, "Secret");
    EXPECT_EQ(content.entryList.size(), 1u);

    Prompt wrongCase{"secret"};
    EXPECT_EQ(content.Load(image, wrongCase.Get()), ReadStatus::wrongPassword);
    EXPECT_TRUE(content.entryList.empty());
    Prompt cancel{std::nullopt};
    EXPECT_EQ(content.Load(image, cancel.Get()), ReadStatus::cancelled);
    EXPECT_EQ(cancel.nAsked, 1);
}

TEST(PasswordFile, PasswordFieldEdgeCases) {
    PasswordFileContent content;
    // Flag clear, length set: no prompt, stored bytes skipped, and the next save is unprotected.
    std::string unflagged = Protected("old", kEmptyBody);
    unflagged[1] = 0;
    Prompt never;
    ASSERT_EQ(content.Load(unflagged, never.Get()), ReadStatus::ok);
    EXPECT_EQ(never.nAsked, 0);
    EXPECT_EQ(content.strMasterPassword, "");
    EXPECT_EQ(content.Build(), Hex("00 00 00 00 00 00") + kEmptyBody);

    // Flag set, length 0: only an empty answer opens it, and the next save is unprotected.
    const std::string flaggedEmpty = Protected("", kEmptyBody);
    Prompt something{"x"};
    EXPECT_EQ(content.Load(flaggedEmpty, something.Get()), ReadStatus::wrongPassword);
    Prompt empty{""};
    ASSERT_EQ(content.Load(flaggedEmpty, empty.Get()), ReadStatus::ok);
    EXPECT_TRUE(content.bProtected);
    EXPECT_EQ(content.Build()[1], '\0');

    // 255 bytes read back whole; a longer password is refused by the writer.
    content.strMasterPassword = std::string(255, 'p');
    Prompt long255{content.strMasterPassword};
    ASSERT_EQ(content.Load(content.Build(), long255.Get()), ReadStatus::ok);
    EXPECT_EQ(content.strMasterPassword.size(), 255u);
    content.strMasterPassword += 'p';
    EXPECT_THROW(content.Build(), std::length_error);
}

TEST(PasswordFile, EncryptedFilesAreRefusedAfterThePrompt) {
    PasswordFileContent content;
    std::string image = Protected("pw", kEmptyBody);
    image[0] = 1;
    Prompt prompt{"anything"};
    EXPECT_EQ(content.Load(image, prompt.Get()), ReadStatus::encrypted);
    EXPECT_EQ(prompt.nAsked, 1);
    Prompt cancel{std::nullopt};
    EXPECT_EQ(content.Load(image, cancel.Get()), ReadStatus::cancelled);
    // Unprotected but enciphered, with a body that would not even parse.
    EXPECT_EQ(content.Load(Hex("01 00 FF FF FF FF"), Prompt{}.Get()), ReadStatus::encrypted);
}

TEST(PasswordFile, BrokenFilesAreFormatErrors) {
    PasswordFileContent content;
    Prompt prompt{"pw"};
    for (const std::string& image : {Hex(""), Hex("00"), Hex("00 00 00 00 00")}) {
        EXPECT_EQ(content.Load(image, prompt.Get()), ReadStatus::badFormat) << image.size();
    }
    // Short files are refused before anyone is asked for a password.
    EXPECT_EQ(content.Load(Hex("00 01 02 00 00"), prompt.Get()), ReadStatus::badFormat);
    EXPECT_EQ(prompt.nAsked, 0);
    // The password field runs past the end (also with the length above 255, read as 255).
    EXPECT_EQ(content.Load(Hex("00 00 03 00 00 00") + "pw", prompt.Get()), ReadStatus::badFormat);
    EXPECT_EQ(content.Load(Hex("00 00 00 01 00 00") + std::string(200, 'x'), prompt.Get()),
              ReadStatus::badFormat);
    // Nothing after the password field, a stream cut short, a bad tag.
    EXPECT_EQ(content.Load(Hex("00 00 00 00 00 00"), prompt.Get()), ReadStatus::badFormat);
    EXPECT_EQ(content.Load(kExample.substr(0, 44), prompt.Get()), ReadStatus::badFormat);
    std::string badTag = kExample;
    badTag[12] = 0, badTag[13] = static_cast<char>(0x80);
    EXPECT_EQ(content.Load(badTag, prompt.Get()), ReadStatus::badFormat);
    EXPECT_TRUE(content.entryList.empty());
}

TEST(PasswordFile, ListsAndTrailingBytes) {
    PasswordFileContent content;
    // No entries: flags, length, password, time stamp and two empty counts.
    content.strMasterPassword = "abc";
    EXPECT_EQ(content.Build().size(), 14u + 3u);

    // Entries keep their order; the second list is read and written after them.
    content = Example();
    content.entryList.push_back(std::make_unique<QMPassword>("Bank", "bob", "1234", -1));
    content.entryList.back()->m_strFourth = "fourth";
    content.secondList.push_back(std::make_unique<QMPassword>("Second", "", "", 7));
    const std::string image = content.Build();
    EXPECT_NE(image.find(Hex("01 80 04") + "Bank"), std::string::npos);

    PasswordFileContent back;
    ASSERT_EQ(back.Load(image + "trailing bytes", Prompt{}.Get()), ReadStatus::ok);
    ASSERT_EQ(back.entryList.size(), 2u);
    EXPECT_EQ(back.entryList.front()->m_strSystem, "Mail");
    EXPECT_EQ(back.entryList.back()->m_strFourth, "fourth");
    EXPECT_EQ(back.entryList.back()->m_timeLastChange, -1);
    ASSERT_EQ(back.secondList.size(), 1u);
    EXPECT_EQ(back.Build(), image);
}

TEST(PasswordFile, WriterCallsBackForTheBody) {
    const std::string image = klt::BuildPasswordFile("pw", [](CArchive& ar) {
        EXPECT_TRUE(ar.IsStoring());
        ar.WriteDWord(0xDDCCBBAA);
    });
    EXPECT_EQ(image, Hex("00 01 02 00 00 00") + "pw" + Hex("AA BB CC DD"));

    klt::PasswordFileHeader header;
    Prompt prompt{"pw"};
    ASSERT_EQ(klt::ReadPasswordHeader(image, prompt.Get(), header), ReadStatus::ok);
    EXPECT_EQ(header.stream, Hex("AA BB CC DD"));
    EXPECT_EQ(header.strMasterPassword, "pw");
}
