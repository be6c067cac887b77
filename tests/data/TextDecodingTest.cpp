#include "data/TextDecoding.h"

#include <gtest/gtest.h>

namespace zelvar {
namespace {

TEST(TextDecoding, Windows1252BecomesUtf8)
{
    // Euro sign, curly quotes, u umlaut, the unassigned 0x81.
    EXPECT_EQ(windows1252ToUtf8("\x80 \x93x\x94 \xFC \x81"),
              "\xE2\x82\xAC \xE2\x80\x9Cx\xE2\x80\x9D \xC3\xBC \xC2\x81");
}

TEST(TextDecoding, AutomaticKeepsValidUtf8AndTakesTheRestForWindows1252)
{
    EXPECT_EQ(decodeText("Z\xC3\xBCrich", CharacterSet::Automatic), "Z\xC3\xBCrich");
    EXPECT_EQ(decodeText("Z\xFCrich", CharacterSet::Automatic), "Z\xC3\xBCrich");
}

TEST(TextDecoding, AByteOrderMarkDecidesAndIsRemoved)
{
    EXPECT_EQ(decodeText("\xEF\xBB\xBF" "a", CharacterSet::Ansi), "a");
    EXPECT_EQ(decodeText(std::string("\xFF\xFE" "a\0\xFC\0", 6), CharacterSet::Ansi), "a\xC3\xBC");
    EXPECT_EQ(decodeText(std::string("\xFE\xFF\0a\xD8\x3D\xDE\x00", 8), CharacterSet::Ansi),
              "a\xF0\x9F\x98\x80");
}

TEST(TextDecoding, BrokenSequencesBecomeReplacementCharacters)
{
    EXPECT_EQ(decodeText("a\xC3", CharacterSet::Utf8), "a\xEF\xBF\xBD");
    EXPECT_EQ(decodeText(std::string("\x00\xD8", 2), CharacterSet::Utf16LE), "\xEF\xBF\xBD");
    // An odd byte at the end of UTF-16.
    EXPECT_EQ(decodeText(std::string("a\0b", 3), CharacterSet::Utf16LE), "a\xEF\xBF\xBD");
}

TEST(TextDecoding, OverlongFormsAndSurrogatesAreNotUtf8)
{
    EXPECT_TRUE(isValidUtf8("plain \xE2\x82\xAC"));
    EXPECT_FALSE(isValidUtf8("\xC0\xAF"));
    EXPECT_FALSE(isValidUtf8("\xED\xA0\x80"));
    EXPECT_FALSE(isValidUtf8("\xF4\x90\x80\x80"));
    EXPECT_FALSE(isValidUtf8("\xE2\x82"));
}

} // namespace
} // namespace zelvar
