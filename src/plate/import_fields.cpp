#include "plate/import_fields.h"

#include <charconv>
#include <string>

#include "shared/message_text.h"
#include "shared/user_locale.h"

namespace movra {

std::string_view SplitField(char separator, std::string_view& line) noexcept
{
    const auto position = line.find(separator);
    if (position == std::string_view::npos) return {};
    const std::string_view field = line.substr(0, position);
    line.remove_prefix(position + 1);
    return field;
}

std::string_view SplitListItem(char separator, std::string_view& line) noexcept
{
    const auto position = line.find(separator);
    if (position == std::string_view::npos) {
        const std::string_view rest = line;
        line = {};
        return rest;
    }
    const std::string_view item = line.substr(0, position);
    line.remove_prefix(position + 1);
    return item;
}

namespace {

// The common cell, such as "0.1234", "-1,5" or "37": sign, digits and at
// most one decimal mark, converted without copying when the mark is a point.
// Anything else (exponents, blanks, a plus sign) takes the general path,
// which gives the same value for these shapes.
bool TryPlainDecimal(std::string_view text, double& value) noexcept
{
    std::size_t i = text.front() == '-' ? 1 : 0;
    std::size_t digits = 0;
    std::size_t mark = std::string_view::npos;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9')
            ++digits;
        else if ((c == '.' || c == ',') && mark == std::string_view::npos)
            mark = i;
        else
            return false;
    }
    if (digits == 0) return false;
    const char* first = text.data();
    char buffer[64];
    if (mark != std::string_view::npos && text[mark] == ',') {
        if (text.size() > sizeof buffer) return false;
        text.copy(buffer, text.size());
        buffer[mark] = '.';
        first = buffer;
    }
    const char* last = first + text.size();
    const auto [end, error] = std::from_chars(first, last, value);
    return error == std::errc{} && end == last;
}

// Both "," and "." (and the locale's own separator) are decimal marks: map
// them all to "." and convert with "." as the separator.
bool ConvertDecimal(std::string_view text, double& value) noexcept
{
    const char localeSeparator = UserLocale::decimalSeparator();
    char buffer[128];
    if (text.size() > sizeof buffer) {
        try {
            std::string copy(text);
            for (char& c : copy)
                if (c == ',' || c == localeSeparator) c = '.';
            return TryStrToFloat(copy, '.', value);
        } catch (...) {
            return false;
        }
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        buffer[i] = (c == ',' || c == localeSeparator) ? '.' : c;
    }
    return TryStrToFloat(std::string_view(buffer, text.size()), '.', value);
}

} // namespace

bool TryParseCellValue(std::string_view text, double& value) noexcept
{
    if (text.empty()) {
        value = 0.0;
        return true;
    }
    // Most cells are plain numbers written with a point: convert them
    // directly. A text starting with a digit cannot be one of the words that
    // from_chars would take but the program does not ("inf", "nan").
    const char first = text.front();
    const char second = text.size() > 1 ? text[1] : '\0';
    if ((first >= '0' && first <= '9') || ((first == '-' || first == '.') && second >= '0' && second <= '9')) {
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (error == std::errc{} && end == text.data() + text.size()) return true;
    }
    if (text == "Error") {
        value = 0.0;
        return true;
    }
    if (text == "#Sat") {
        value = kSaturatedReading;
        return true;
    }
    if (text == "#Low") {
        value = kLowReading;
        return true;
    }
    return TryPlainDecimal(text, value) || ConvertDecimal(text, value);
}

double ParseCellValue(std::string_view text)
{
    double value = 0.0;
    if (!TryParseCellValue(text, value))
        throw ConversionError(QuotedForMessage(text) + " is not a valid floating point value");
    return value;
}

double ParseReadingValue(std::string_view text)
{
    double value = 0.0;
    if (TryParseCellValue(text, value)) return value;
    if (text == "???" || text == "NoFit" || text == "Range?" || text == "Masked" || text == "NaN") return 0.0;
    if (text.find_first_not_of(' ') == std::string_view::npos) return 0.0;
    throw ConversionError(QuotedForMessage(text) + " is not a valid floating point value");
}

double ParseClockTime(std::string_view text)
{
    if (text.empty()) return 0.0;
    try {
        std::string_view rest = text;
        std::int32_t hours = 0;
        if (text.size() > 5) hours = StrToInt(SplitField(':', rest));
        const std::int32_t minutes = StrToInt(SplitField(':', rest));
        const std::int32_t seconds = StrToInt(rest);
        return hours + minutes / 60.0 + seconds / 3600.0;
    } catch (const ConversionError&) {
        // Name the whole field, not the part that failed.
        throw ConversionError(QuotedForMessage(text) + " is not a valid time value");
    }
}

std::int32_t DigitsToInt(std::string_view text)
{
    std::string digits(text);
    std::size_t i = 0;
    while (i + 1 < digits.size()) {
        if (digits[i] >= '0' && digits[i] <= '9')
            ++i;
        else
            digits.erase(i, 2);
    }
    if (digits.empty()) return 0;
    return StrToInt(digits);
}

} // namespace movra
