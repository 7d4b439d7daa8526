#include "shared/message_text.h"

namespace movra {

std::string MessageExcerpt(std::string_view text)
{
    bool cut = false;
    if (text.size() > kLongestQuotedText) {
        std::size_t end = kLongestQuotedText;
        // Back up over UTF-8 continuation bytes to the start of a character.
        while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
        text = text.substr(0, end);
        cut = true;
    }
    std::string excerpt;
    excerpt.reserve(text.size() + 3);
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
        case '\0': excerpt += "\\0"; break;
        case '\t': excerpt += "\\t"; break;
        case '\r': excerpt += "\\r"; break;
        case '\n': excerpt += "\\n"; break;
        default:
            if (byte < 0x20 || byte == 0x7F) {
                constexpr char kHex[] = "0123456789ABCDEF";
                excerpt += "\\x";
                excerpt += kHex[byte >> 4];
                excerpt += kHex[byte & 0x0F];
            } else {
                excerpt += c;
            }
        }
    }
    if (cut) excerpt += "...";
    return excerpt;
}

std::string QuotedForMessage(std::string_view text)
{
    return "'" + MessageExcerpt(text) + "'";
}

} // namespace movra
