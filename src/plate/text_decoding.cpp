#include "plate/text_decoding.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace movra {
namespace {

void AppendUtf8(std::string& text, std::uint32_t code)
{
    if (code < 0x80) {
        text += static_cast<char>(code);
    } else if (code < 0x800) {
        text += static_cast<char>(0xC0 | (code >> 6));
        text += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        text += static_cast<char>(0xE0 | (code >> 12));
        text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        text += static_cast<char>(0xF0 | (code >> 18));
        text += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// Windows-1252 bytes 0x80..0x9F; the five unassigned ones keep their C1 code.
constexpr std::array<std::uint16_t, 32> kWindows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// True when the bytes hold at least one multi-byte UTF-8 sequence and
// nothing that is not UTF-8; Windows-1252 text almost never passes.
bool IsMultiByteUtf8(std::string_view bytes) noexcept
{
    bool multiByte = false;
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        std::size_t length = 1;
        if (lead < 0x80)
            length = 1;
        else if (lead >= 0xC2 && lead < 0xE0)
            length = 2;
        else if (lead >= 0xE0 && lead < 0xF0)
            length = 3;
        else if (lead >= 0xF0 && lead < 0xF5)
            length = 4;
        else
            return false;
        if (i + length > bytes.size()) return false;
        for (std::size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80) return false;
        multiByte = multiByte || length > 1;
        i += length;
    }
    return multiByte;
}

std::string FromWindows1252(std::string bytes)
{
    const auto isHigh = [](char c) { return static_cast<unsigned char>(c) >= 0x80; };
    auto high = std::find_if(bytes.begin(), bytes.end(), isHigh);
    if (high == bytes.end() || IsMultiByteUtf8(bytes)) return bytes;
    std::string text;
    text.reserve(bytes.size() + bytes.size() / 8);
    auto plain = bytes.begin();
    while (high != bytes.end()) {
        text.append(plain, high);  // the ASCII run before this byte, in one piece
        const auto byte = static_cast<unsigned char>(*high);
        AppendUtf8(text, byte < 0xA0 ? kWindows1252High[byte - 0x80] : byte);
        plain = high + 1;
        high = std::find_if(plain, bytes.end(), isHigh);
    }
    text.append(plain, bytes.end());
    return text;
}

std::string FromUtf16(std::string_view bytes, bool littleEndian)
{
    std::string text;
    text.reserve(bytes.size() / 2);
    auto unitAt = [&](std::size_t i) -> std::uint32_t {
        const auto a = static_cast<unsigned char>(bytes[i]);
        const auto b = static_cast<unsigned char>(bytes[i + 1]);
        return littleEndian ? (static_cast<std::uint32_t>(b) << 8 | a) : (static_cast<std::uint32_t>(a) << 8 | b);
    };
    std::size_t i = 0;
    while (i + 1 < bytes.size()) {
        std::uint32_t unit = unitAt(i);
        i += 2;
        if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < bytes.size()) {
            const std::uint32_t low = unitAt(i);
            if (low >= 0xDC00 && low < 0xE000) {
                unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            } else {
                unit = 0xFFFD;
            }
        } else if (unit >= 0xD800 && unit < 0xE000) {
            unit = 0xFFFD;  // a lone surrogate
        }
        AppendUtf8(text, unit);
    }
    return text;
}

} // namespace

TextEncoding DetectTextEncoding(std::string_view bytes) noexcept
{
    if (bytes.starts_with("\xEF\xBB\xBF")) return TextEncoding::Utf8Bom;
    if (bytes.starts_with("\xFF\xFE")) return TextEncoding::Utf16LE;
    if (bytes.starts_with("\xFE\xFF")) return TextEncoding::Utf16BE;
    return TextEncoding::Windows1252;
}

std::string DecodeText(std::string bytes)
{
    switch (DetectTextEncoding(bytes)) {
    case TextEncoding::Utf8Bom: return bytes.substr(3);
    case TextEncoding::Utf16LE: return FromUtf16(std::string_view(bytes).substr(2), true);
    case TextEncoding::Utf16BE: return FromUtf16(std::string_view(bytes).substr(2), false);
    case TextEncoding::Windows1252: break;
    }
    return FromWindows1252(std::move(bytes));
}

TextLines LoadTextLines(const std::filesystem::path& path, std::uintmax_t maxBytes)
{
    return TextLines(DecodeText(ReadFileBytes(path, maxBytes)));
}

} // namespace movra
