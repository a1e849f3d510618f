#include "store/TextCodec.h"

#include <gtest/gtest.h>

using klt::DecodeText;
using klt::EncodeUtf8;
using klt::IsValidUtf8;

TEST(TextCodec, ValidUtf8DecodesAsUtf8) {
    EXPECT_EQ(DecodeText("caf\xC3\xA9 \xE2\x82\xAC"), U"café €");
    EXPECT_EQ(DecodeText("\xF0\x9F\x94\x91"), U"\U0001F511");
    EXPECT_EQ(DecodeText(""), U"");
}

TEST(TextCodec, InvalidUtf8FallsBackToWindows1252ForTheWholeText) {
    // A lone 0xE9 is "é" in Windows-1252; the valid-looking "\xC3\xA9" beside it must not
    // be decoded as UTF-8 once the text as a whole is not UTF-8.
    EXPECT_EQ(DecodeText("caf\xE9"), U"café");
    EXPECT_EQ(DecodeText("\x80\xC3\xA9"), U"€Ã©");
    EXPECT_EQ(DecodeText("\x81\x8D\x8F\x90\x9D"), U"\u0081\u008D\u008F\u0090\u009D");
}

TEST(TextCodec, RejectsMalformedSequences) {
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));         // overlong '/'
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));     // surrogate
    EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80")); // above U+10FFFF
    EXPECT_FALSE(IsValidUtf8("\xE2\x82"));         // cut short
    EXPECT_TRUE(IsValidUtf8("plain ASCII"));
}

TEST(TextCodec, EncodeRoundTripsEveryPlane) {
    const std::u32string text = U"a\u00E9\u20AC\U0001F511";
    EXPECT_EQ(DecodeText(EncodeUtf8(text)), text);
    EXPECT_EQ(EncodeUtf8(U"\u00E9"), "\xC3\xA9");
}
