#include "batch/parameter_texts.h"

#include <cctype>
#include <vector>

#include "shared/message_text.h"

namespace movra {
namespace {

// Length of "mK=" at the start of text (K = 1..8), or 0.
std::size_t ParameterPrefixLength(std::string_view text)
{
    if (text.size() >= 3 && (text[0] == 'm' || text[0] == 'M') && text[1] >= '1' && text[1] <= '8' &&
        text[2] == '=')
        return 3;
    return 0;
}

} // namespace

void ApplyParameterTexts(std::string_view list, std::array<std::string, 9>& texts)
{
    if (list.empty()) return;
    if (ParameterPrefixLength(list) == 0)
        throw ParameterListError("expected m1..m8 followed by '=' at the start of " + QuotedForMessage(list));
    // Entries start at the beginning and after every comma followed by "mK=".
    std::vector<std::size_t> starts{0};
    for (std::size_t i = 0; i < list.size(); ++i)
        if (list[i] == ',' && ParameterPrefixLength(list.substr(i + 1)) != 0) starts.push_back(i + 1);
    for (std::size_t e = 0; e < starts.size(); ++e) {
        const std::size_t begin = starts[e];
        const std::size_t end = e + 1 < starts.size() ? starts[e + 1] - 1 : list.size();
        const std::string_view entry = list.substr(begin, end - begin);
        const auto parameter = static_cast<std::size_t>(entry[1] - '0');
        texts[parameter] = std::string(entry.substr(3));
    }
}

} // namespace movra
