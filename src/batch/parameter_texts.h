#pragma once
// Lists of per-parameter texts typed on a command line, such as
// "m1=4000,m2=-3000,m5=0,5": each entry names one of m1..m8 and gives the
// text that parameter's box would hold. A comma followed by something other
// than the next "mK=" stays part of the value, so decimal commas survive.

#include <array>
#include <stdexcept>
#include <string>
#include <string_view>

namespace movra {

// A list that does not have the form above; the message says what is wrong.
class ParameterListError : public std::invalid_argument {
public:
    using std::invalid_argument::invalid_argument;
};

// Writes the text of every parameter the list names into texts[1..8]; the
// others keep their text. Names are read without regard to case.
void ApplyParameterTexts(std::string_view list, std::array<std::string, 9>& texts);

} // namespace movra
