#include "app/file_filter.h"

namespace movra {

namespace {

std::vector<std::string> SplitBars(const std::string& text)
{
    std::vector<std::string> parts;
    std::string::size_type start = 0;
    while (start <= text.size()) {
        const auto bar = text.find('|', start);
        if (bar == std::string::npos) {
            parts.push_back(text.substr(start));
            break;
        }
        parts.push_back(text.substr(start, bar - start));
        start = bar + 1;
    }
    return parts;
}

} // namespace

std::vector<std::string> QtFilterEntries(const std::string& filter)
{
    std::vector<std::string> entries;
    if (filter.empty())
        return entries;
    const auto parts = SplitBars(filter);
    for (std::size_t i = 0; i < parts.size(); i += 2) {
        if (i + 1 >= parts.size()) {
            entries.push_back(parts[i]);
            break;
        }
        std::string patterns = parts[i + 1];
        for (auto& c : patterns)
            if (c == ';')
                c = ' ';
        entries.push_back(parts[i] + " (" + patterns + ")");
    }
    return entries;
}

} // namespace movra
