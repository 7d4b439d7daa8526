#include "reduction/combination_choice.h"

#include <algorithm>
#include <cctype>
#include <string_view>

namespace movra {
namespace {

bool IsNameCharacter(char c) noexcept
{
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_';
}

// Bit k - 1 set for every wavelength k (a..d) the text names.
unsigned WavelengthsNamed(std::string_view text) noexcept
{
    unsigned named = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        if (!IsNameCharacter(text[i])) {
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < text.size() && IsNameCharacter(text[end])) ++end;
        // A run starting with a digit is a number, whatever letters follow.
        if (end - i == 1 && std::isalpha(static_cast<unsigned char>(text[i])) != 0) {
            const int letter = std::tolower(static_cast<unsigned char>(text[i])) - 'a';
            if (letter >= 0 && letter < 4) named |= 1u << letter;
        }
        i = end;
    }
    return named;
}

} // namespace

CombinationChoice ChooseCombination(const std::string& text, bool typedByUser, int waveLengthCount)
{
    CombinationChoice choice;
    choice.Text = typedByUser ? text : (waveLengthCount == 1 ? kOneWavelengthCombination : kDefaultCombination);
    const unsigned named = WavelengthsNamed(choice.Text);
    std::string missing;
    int missingCount = 0;
    for (int k = std::max(waveLengthCount, 0) + 1; k <= 4; ++k) {
        if ((named & (1u << (k - 1))) == 0) continue;
        if (!missing.empty()) missing += ", ";
        missing += static_cast<char>('a' + k - 1);
        ++missingCount;
    }
    if (waveLengthCount >= 1 && missingCount > 0)
        choice.Warning = "The combination \"" + choice.Text + "\" uses wavelength" + (missingCount > 1 ? "s " : " ") +
                         missing + ", but the plate has " + std::to_string(waveLengthCount) + " wavelength" +
                         (waveLengthCount > 1 ? "s: " : ": ") + missing + (missingCount > 1 ? " read" : " reads") +
                         " as 1.";
    return choice;
}

} // namespace movra
