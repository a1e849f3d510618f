#include "store/QMPassword.h"

#include "store/Archive.h"
#include "support/ByteHelpers.h"

#include <ctime>
#include <gtest/gtest.h>

using klt::test::Hex;

namespace {

std::string BodyOf(QMPassword& entry) {
    std::string image;
    CArchive ar(image);
    entry.Serialize(ar);
    return image;
}

QMPassword ReadBack(const std::string& image) {
    QMPassword entry;
    CArchive ar{std::string_view(image)};
    entry.Serialize(ar);
    EXPECT_EQ(ar.GetRemaining(), 0u);
    return entry;
}

} // namespace

TEST(QMPassword, Constructors) {
    const auto before = std::time(nullptr);
    const QMPassword fresh;
    EXPECT_TRUE(fresh.m_strSystem.empty() && fresh.m_strUserName.empty() && fresh.m_strPassword.empty() &&
                fresh.m_strFourth.empty());
    EXPECT_GE(fresh.m_timeLastChange, before);
    EXPECT_LE(fresh.m_timeLastChange, std::time(nullptr));

    const QMPassword made("Mail", "ann", "pw", -5);
    EXPECT_EQ(made.m_strSystem, "Mail");
    EXPECT_EQ(made.m_strUserName, "ann");
    EXPECT_EQ(made.m_strPassword, "pw");
    EXPECT_EQ(made.m_strFourth, "");
    EXPECT_EQ(made.m_timeLastChange, -5);
    EXPECT_TRUE(made.IsKindOf(&CObject::classCObject));
    EXPECT_EQ(CRuntimeClass::FromName("QMPassword"), made.GetRuntimeClass());
}

TEST(QMPassword, FieldsInOrderThenTheTime) {
    QMPassword empty("", "", "", 0x01020304);
    EXPECT_EQ(BodyOf(empty), Hex("00 00 00 00 04 03 02 01"));

    QMPassword entry("Mail", "ann", "", 917827200);
    entry.m_strFourth = "x";
    EXPECT_EQ(BodyOf(entry),
              Hex("04") + "Mail" + Hex("03") + "ann" + Hex("00 01") + "x" + Hex("80 EE B4 36"));
}

TEST(QMPassword, RoundTripKeepsEveryByte) {
    // A Windows-1252 byte and an embedded NUL in the password.
    QMPassword entry(std::string(255, 's'), std::string(65534, 'u'), std::string("caf\xE9\0!", 6),
                     -86400 * 365);
    entry.m_strFourth = "kept as is";
    const QMPassword back = ReadBack(BodyOf(entry));
    EXPECT_EQ(back.m_strSystem, entry.m_strSystem);
    EXPECT_EQ(back.m_strUserName, entry.m_strUserName);
    EXPECT_EQ(back.m_strPassword, entry.m_strPassword);
    EXPECT_EQ(back.m_strFourth, "kept as is");
    // A stored time is kept, not replaced by the time of loading; times before 1970 stay negative.
    EXPECT_EQ(back.m_timeLastChange, -86400 * 365);
    EXPECT_EQ(ReadBack(Hex("00 00 00 00 FF FF FF FF")).m_timeLastChange, -1);
}
