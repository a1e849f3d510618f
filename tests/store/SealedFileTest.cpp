#include "Archive.h"
#include "ByteHelpers.h"
#include "PasswordFileType.h"

#include <gtest/gtest.h>

using klt::KdfLimits;
using klt::ReadStatus;
using klt::test::Hex;

namespace {

// The least work the key derivation allows, so that loops over hundreds of files stay fast.
constexpr KdfLimits kQuick{1, 8192};

klt::PasswordFileContent Example(const std::string& strPassword) {
    klt::PasswordFileContent content;
    content.strMasterPassword = strPassword;
    content.timeStamp = 916358400;
    content.entryList.push_back(std::make_unique<QMPassword>("Mail", "ann", "pw-7f3a", 917827200));
    return content;
}

std::string Plain(const klt::PasswordFileContent& content) {
    return content.Build();
}

std::string Sealed(const klt::PasswordFileContent& content) {
    return klt::BuildPasswordFileOfType(
        true, content.strMasterPassword, [&content](CArchive& ar) { content.Store(ar); }, kQuick);
}

klt::PasswordPrompt Answer(std::optional<std::string> answer) {
    return [answer] { return answer; };
}

} // namespace

// Pins the format: header layout, key derivation and cipher. A change here breaks every saved file.
TEST(SealedFile, FixedVector) {
    const std::string plain = Plain(Example("Secret"));
    const std::string salt = Hex("000102030405060708090A0B0C0D0E0F");
    const std::string nonce = Hex("101112131415161718191A1B1C1D1E1F2021222324252627");
    const std::string image = klt::detail::SealImageWith(plain, "Secret", kQuick, salt, nonce);
    EXPECT_EQ(image.substr(0, klt::kSealedHeaderSize),
              "KLTX" + Hex("01 02 01000000 0020000000000000") + salt + nonce);
    EXPECT_EQ(
        image.substr(klt::kSealedHeaderSize),
        Hex("7E54036CD4BE1E7B39C33DDC9787FE1D7ED0ED43921DC62AD766D5B8DE0F7BD5837CB003D2BB981D44A971F10906ABC1"
            "CD008861190FF8D363FBAC186F997171B1A989701821FB573F57"));
    const auto opened = klt::UnsealImage(image, "Secret");
    ASSERT_TRUE(opened);
    EXPECT_EQ(opened->View(), plain);
}

TEST(SealedFile, BothTypesRoundTripAndConvertBack) {
    const klt::PasswordFileContent original = Example("Secret");
    const std::string plain = Plain(original);
    for (const bool bSealed : {false, true}) {
        SCOPED_TRACE(bSealed);
        const std::string image = bSealed ? Sealed(original) : plain;
        klt::PasswordFileContent content;
        ASSERT_EQ(klt::LoadContent(image, Answer("Secret"), content), ReadStatus::ok);
        EXPECT_EQ(content.strMasterPassword, "Secret");
        EXPECT_TRUE(content.bProtected);
        // .klt -> .kltx -> .klt gives back the first file's bytes.
        EXPECT_EQ(Plain(content), plain);
        EXPECT_EQ(klt::IsSealedImage(image), bSealed);
    }
    // A fresh salt and nonce every time.
    EXPECT_NE(Sealed(original), Sealed(original));
}

TEST(SealedFile, HoldsNoPlainText) {
    const std::string image = Sealed(Example("Secret"));
    for (const char* pszText : {"Secret", "Mail", "ann", "pw-7f3a", "QMPassword"}) {
        EXPECT_EQ(image.find(pszText), std::string::npos) << pszText;
    }
}

TEST(SealedFile, EveryChangedByteAndEveryTruncationIsRefused) {
    const std::string image = Sealed(Example("Secret"));
    ASSERT_TRUE(klt::UnsealImage(image, "Secret"));
    for (size_t i = 0; i < image.size(); ++i) {
        for (const char flip : {'\x01', '\x80'}) {
            std::string changed = image;
            changed[i] = static_cast<char>(changed[i] ^ flip);
            EXPECT_FALSE(klt::UnsealImage(changed, "Secret")) << "byte " << i;
        }
        EXPECT_FALSE(klt::UnsealImage(image.substr(0, i), "Secret")) << "length " << i;
    }
}

TEST(SealedFile, HostileOrUnknownHeadersAreRefusedBeforeAnyWork) {
    const std::string image = Sealed(Example("Secret"));
    // Offset, replacement bytes. None of these may derive a key: the limits above the maximum
    // would take many seconds and gigabytes.
    const std::pair<size_t, std::string> cases[] = {
        {4, Hex("02")},                // a later version
        {5, Hex("01")},                // Argon2i
        {6, Hex("15000000")},          // 21 operations
        {6, Hex("FFFFFFFF")},          //
        {6, Hex("00000000")},          // below the minimum
        {10, Hex("0100004000000000")}, // 1 GiB and a byte
        {10, Hex("FFFFFFFFFFFFFFFF")}, //
        {10, Hex("FF1F000000000000")}, // below the minimum
    };
    for (const auto& [offset, bytes] : cases) {
        std::string hostile = image;
        hostile.replace(offset, bytes.size(), bytes);
        EXPECT_FALSE(klt::UnsealImage(hostile, "Secret")) << offset << ' ' << bytes.size();
    }
}

TEST(SealedFile, PasswordOutcomes) {
    const std::string image = Sealed(Example("Secret"));
    const std::pair<std::optional<std::string>, ReadStatus> cases[] = {
        {"Secret", ReadStatus::ok},
        {"secret", ReadStatus::undecryptable},
        {"", ReadStatus::undecryptable},
        {std::nullopt, ReadStatus::cancelled},
    };
    for (const auto& [answer, status] : cases) {
        klt::OpenedPasswordFile opened;
        EXPECT_EQ(klt::OpenPasswordImage(image, Answer(answer), opened), status) << answer.value_or("(none)");
        EXPECT_TRUE(opened.bSealed);
    }
    EXPECT_THROW(Sealed(Example("")), std::invalid_argument);
}

TEST(SealedFile, TheSavedNameChoosesTheType) {
    for (const auto& [path, bSealed] :
         std::initializer_list<std::pair<const char*, bool>>{{"a.kltx", true},
                                                             {"/x/B.KLTX", true},
                                                             {"a.klt", false},
                                                             {"a.kltx.bak", false},
                                                             {"kltx", false}}) {
        EXPECT_EQ(klt::IsSealedPath(path), bSealed) << path;
    }
}
