#include "store/Archive.h"
#include "store/PasswordFileType.h"
#include "support/ByteHelpers.h"

#include <gtest/gtest.h>

using klt::ReadStatus;
using klt::test::Hex;

namespace {

// The least work the key derivation allows, so that loops over hundreds of files stay fast.
constexpr klt::KdfLimits kQuick{1, 8192};

// Protected by "Secret", one entry Mail / ann / pw-7f3a.
const std::string kPlain = [] {
    klt::PasswordFileContent content;
    content.strMasterPassword = "Secret";
    content.timeStamp = 916358400;
    content.entryList.push_back(std::make_unique<QMPassword>("Mail", "ann", "pw-7f3a", 917827200));
    return content.Build();
}();

std::string Sealed(const std::string& strPassword = "Secret") {
    return klt::BuildPasswordFileOfType(
        true, strPassword, [](CArchive& ar) { ar.WriteDWord(0); }, kQuick);
}

} // namespace

// Pins the format: header layout, key derivation and cipher. A change here breaks every saved file.
TEST(SealedFile, FixedVector) {
    const std::string salt = Hex("000102030405060708090A0B0C0D0E0F");
    const std::string nonce = Hex("101112131415161718191A1B1C1D1E1F2021222324252627");
    const std::string image = klt::detail::SealImageWith(kPlain, "Secret", kQuick, salt, nonce);
    EXPECT_EQ(image.substr(0, klt::kSealedHeaderSize),
              "KLTX" + Hex("01 02 01000000 0020000000000000") + salt + nonce);
    EXPECT_EQ(
        image.substr(klt::kSealedHeaderSize),
        Hex("7E54036CD4BE1E7B39C33DDC9787FE1D7ED0ED43921DC62AD766D5B8DE0F7BD5837CB003D2BB981D44A971F10906ABC1"
            "CD008861190FF8D363FBAC186F997171B1A989701821FB573F57"));
    for (const char* pszText : {"Secret", "Mail", "ann", "pw-7f3a", "QMPassword"}) {
        EXPECT_EQ(image.find(pszText), std::string::npos) << pszText;
    }
}

// Both types open to the same content, which writes back the plain file's bytes (.klt -> .kltx ->
// .klt). A password that is wrong, empty or not given keeps an encrypted file shut.
TEST(SealedFile, BothTypesOpenToTheSameBytes) {
    const std::string sealed = klt::SealImage(kPlain, "Secret", kQuick);
    EXPECT_NE(sealed, klt::SealImage(kPlain, "Secret", kQuick)); // a fresh salt and nonce
    const std::tuple<std::string, std::optional<std::string>, ReadStatus> cases[] = {
        {kPlain, "Secret", ReadStatus::ok},
        {sealed, "Secret", ReadStatus::ok},
        {sealed, "secret", ReadStatus::undecryptable},
        {sealed, "", ReadStatus::undecryptable},
        {sealed, std::nullopt, ReadStatus::cancelled},
    };
    for (const auto& [image, answer, status] : cases) {
        SCOPED_TRACE(answer.value_or("(none)"));
        klt::PasswordFileContent content;
        ASSERT_EQ(klt::LoadContent(
                      image, [reply = answer] { return reply; }, content),
                  status);
        EXPECT_EQ(content.Build(), status == ReadStatus::ok ? kPlain : klt::PasswordFileContent().Build());
    }
    EXPECT_THROW(Sealed(""), std::invalid_argument);
}

TEST(SealedFile, EveryChangedByteAndEveryTruncationIsRefused) {
    const std::string image = Sealed();
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

// None of these may derive a key: the limits above the maximum would take seconds and gigabytes.
TEST(SealedFile, HostileOrUnknownHeadersAreRefusedBeforeAnyWork) {
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
        std::string hostile = Sealed();
        hostile.replace(offset, bytes.size(), bytes);
        EXPECT_FALSE(klt::UnsealImage(hostile, "Secret")) << offset << ' ' << bytes.size();
    }
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
