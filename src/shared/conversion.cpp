#include "shared/conversion.h"

#include <charconv>
#include <cmath>

#include "shared/message_text.h"

namespace movra {
namespace {

std::string_view TrimBlanks(std::string_view text) noexcept
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

} // namespace

std::int32_t StrToInt(std::string_view text)
{
    std::string_view t = TrimBlanks(text);
    if (!t.empty() && t.front() == '+') t.remove_prefix(1);
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(t.data(), t.data() + t.size(), value);
    if (t.empty() || error != std::errc{} || end != t.data() + t.size())
        throw ConversionError(QuotedForMessage(text) + " is not a valid integer value");
    return value;
}

bool TryStrToFloat(std::string_view text, char decimalSeparator, double& value) noexcept
{
    std::string_view t = TrimBlanks(text);
    // Validate the shape ourselves so that the accepted language does not
    // depend on from_chars (which takes "inf", "nan" and hex forms).
    char normalised[400];
    std::size_t n = 0;
    std::size_t i = 0;
    auto put = [&](char c) {
        if (n + 1 >= sizeof normalised) return false;
        normalised[n++] = c;
        return true;
    };
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) {
        if (t[i] == '-' && !put('-')) return false;
        ++i;
    }
    std::size_t mantissaDigits = 0;
    bool separatorSeen = false;
    for (; i < t.size(); ++i) {
        const char c = t[i];
        if (c >= '0' && c <= '9') {
            ++mantissaDigits;
            if (!put(c)) return false;
        } else if (c == decimalSeparator && !separatorSeen) {
            separatorSeen = true;
            if (!put('.')) return false;
        } else {
            break;
        }
    }
    if (mantissaDigits == 0) return false;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        if (!put('e')) return false;
        ++i;
        if (i < t.size() && (t[i] == '+' || t[i] == '-')) {
            if (!put(t[i])) return false;
            ++i;
        }
        std::size_t exponentDigits = 0;
        for (; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i) {
            ++exponentDigits;
            if (!put(t[i])) return false;
        }
        if (exponentDigits == 0) return false;
    }
    if (i != t.size()) return false;
    const auto [end, error] = std::from_chars(normalised, normalised + n, value);
    if (end != normalised + n) return false;
    if (error == std::errc::result_out_of_range) {
        // Overflow gives an infinity, underflow zero, as the hardware would.
        bool negative = normalised[0] == '-';
        // Decide by the exponent's sign: a large exponent overflowed.
        std::string_view s(normalised, n);
        const auto e = s.find('e');
        const bool tiny = e != std::string_view::npos && e + 1 < n && normalised[e + 1] == '-';
        value = tiny ? (negative ? -0.0 : 0.0) : (negative ? -HUGE_VAL : HUGE_VAL);
        return true;
    }
    return error == std::errc{};
}

double StrToFloat(std::string_view text, char decimalSeparator)
{
    double value = 0.0;
    if (!TryStrToFloat(text, decimalSeparator, value))
        throw ConversionError(QuotedForMessage(text) + " is not a valid floating point value");
    return value;
}

} // namespace movra
