#include "data/TextDecoding.h"

#include <gtest/gtest.h>

namespace zelvar {
namespace {

using namespace std::string_literals;
using enum CharacterSet;
using Decoded = std::tuple<std::string, CharacterSet, std::string>; // bytes, set, UTF-8

class TextDecoding : public testing::TestWithParam<Decoded> {};

TEST_P(TextDecoding, GivesUtf8)
{
    const auto &[bytes, set, text] = GetParam();
    EXPECT_EQ(decodeText(bytes, set), text);
}

INSTANTIATE_TEST_SUITE_P(
    Table, TextDecoding,
    testing::Values(
        // Euro sign, curly quotes, u umlaut, the unassigned 0x81.
        Decoded{"\x80 \x93x\x94 \xFC \x81", Ansi, "\xE2\x82\xAC \xE2\x80\x9Cx\xE2\x80\x9D \xC3\xBC \xC2\x81"},
        // Automatic keeps valid UTF-8 and takes anything else for Windows-1252.
        Decoded{"Z\xC3\xBCrich", Automatic, "Z\xC3\xBCrich"}, Decoded{"Z\xFCrich", Automatic, "Z\xC3\xBCrich"},
        // A byte order mark decides whatever the schema says, and goes.
        Decoded{"\xEF\xBB\xBF" "a", Ansi, "a"}, Decoded{"\xFF\xFE" "a\0\xFC\0"s, Ansi, "a\xC3\xBC"},
        Decoded{"\xFE\xFF\0a\xD8\x3D\xDE\x00"s, Ansi, "a\xF0\x9F\x98\x80"},
        // Broken sequences, a lone surrogate and an odd last byte of UTF-16.
        Decoded{"a\xC3", Utf8, "a\xEF\xBF\xBD"}, Decoded{"\x00\xD8"s, Utf16LE, "\xEF\xBF\xBD"},
        Decoded{"a\0b"s, Utf16LE, "a\xEF\xBF\xBD"},
        // An overlong form, a surrogate, a code point beyond U+10FFFF and a cut
        // sequence are no UTF-8: Automatic takes them for Windows-1252.
        Decoded{"\xC0\xAF", Automatic, "\xC3\x80\xC2\xAF"}, Decoded{"\xED\xA0\x80", Automatic, "\xC3\xAD\xC2\xA0\xE2\x82\xAC"},
        Decoded{"\xF4\x90\x80\x80", Automatic, "\xC3\xB4\xC2\x90\xE2\x82\xAC\xE2\x82\xAC"},
        Decoded{"\xE2\x82", Automatic, "\xC3\xA2\xE2\x80\x9A"}));

} // namespace
} // namespace zelvar
