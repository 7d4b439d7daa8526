#include "plate/table_fields.h"

#include <algorithm>

namespace movra {
namespace {

constexpr char kQuote = '"';

std::string_view TrimBlanks(std::string_view text) noexcept
{
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

} // namespace

char DetectTableSeparator(std::string_view header) noexcept
{
    bool quoted = false;
    bool semicolon = false;
    for (const char c : header) {
        if (c == kQuote) {
            quoted = !quoted;  // a doubled quote toggles twice and so changes nothing
        } else if (!quoted) {
            if (c == '\t') return '\t';
            semicolon = semicolon || c == ';';
        }
    }
    // "," also for a header without any separator: it then has one column.
    return semicolon ? ';' : ',';
}

std::optional<std::size_t> SplitTableLine(std::string_view line, char separator, std::vector<std::string>& fields)
{
    fields.clear();
    std::size_t i = 0;
    while (true) {
        while (i < line.size() && line[i] == ' ') ++i;
        std::string& field = fields.emplace_back();
        if (i < line.size() && line[i] == kQuote) {
            ++i;
            bool closed = false;
            while (i < line.size()) {
                if (line[i] == kQuote) {
                    if (i + 1 < line.size() && line[i + 1] == kQuote) {
                        field += kQuote;
                        i += 2;
                        continue;
                    }
                    ++i;
                    closed = true;
                    break;
                }
                field += line[i++];
            }
            if (!closed) {
                fields.pop_back();
                return fields.size();
            }
            // Text after the closing quote (rare, such as "12"h) belongs to the field.
            const std::size_t end = std::min(line.find(separator, i), line.size());
            field += TrimBlanks(line.substr(i, end - i));
            i = end;
        } else {
            const std::size_t end = std::min(line.find(separator, i), line.size());
            field = TrimBlanks(line.substr(i, end - i));
            i = end;
        }
        if (i >= line.size()) return std::nullopt;
        ++i;  // past the separator; a separator at the very end leaves one empty field after it
    }
}

bool AllFieldsEmpty(const std::vector<std::string>& fields) noexcept
{
    return std::all_of(fields.begin(), fields.end(), [](const std::string& field) { return field.empty(); });
}

} // namespace movra
