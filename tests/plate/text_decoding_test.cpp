#include "plate/text_decoding.h"

#include <gtest/gtest.h>

namespace movra {
namespace {

std::string Utf16(std::u16string_view text, bool littleEndian)
{
    std::string bytes = littleEndian ? "\xFF\xFE" : "\xFE\xFF";
    for (const char16_t unit : text) {
        const char low = static_cast<char>(unit & 0xFF);
        const char high = static_cast<char>(unit >> 8);
        bytes += littleEndian ? low : high;
        bytes += littleEndian ? high : low;
    }
    return bytes;
}

TEST(DecodeText, Utf16WithByteOrderMarkBecomesUtf8)
{
    const std::u16string text = u"##BLOCKS= 1\r\nTemperature(\u00A1C)\t1";
    EXPECT_EQ(DecodeText(Utf16(text, true)), "##BLOCKS= 1\r\nTemperature(\xC2\xA1" "C)\t1");
    EXPECT_EQ(DecodeText(Utf16(text, false)), "##BLOCKS= 1\r\nTemperature(\xC2\xA1" "C)\t1");
}

TEST(DecodeText, Utf16SurrogatePairsAndLoneSurrogates)
{
    EXPECT_EQ(DecodeText(Utf16(u"\U0001F600", true)), "\xF0\x9F\x98\x80");
    EXPECT_EQ(DecodeText(Utf16(std::u16string(1, char16_t(0xD800)), true)), "\xEF\xBF\xBD");
}

TEST(DecodeText, Utf8ByteOrderMarkIsDropped)
{
    EXPECT_EQ(DecodeText("\xEF\xBB\xBF##BLOCKS= 1"), "##BLOCKS= 1");
}

TEST(DecodeText, WithoutByteOrderMarkBytesAreWindows1252)
{
    EXPECT_EQ(DecodeText("Temperature(\xA1" "C)"), "Temperature(\xC2\xA1" "C)");
    EXPECT_EQ(DecodeText("\x80"), "\xE2\x82\xAC");  // euro sign
    EXPECT_EQ(DecodeText("plain ascii"), "plain ascii");
}

TEST(DecodeText, ValidUtf8WithoutByteOrderMarkIsKept)
{
    EXPECT_EQ(DecodeText("Temperature(\xC2\xA1" "C)"), "Temperature(\xC2\xA1" "C)");
}

TEST(DecodeText, OddTrailingByteOfUtf16IsDropped)
{
    EXPECT_EQ(DecodeText(std::string("\xFF\xFE" "A\0B", 5)), "A");
}

} // namespace
} // namespace movra
