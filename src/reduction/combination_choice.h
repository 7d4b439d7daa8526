#pragma once
// Which wavelength combination a plate is reduced with. The program's
// default "b-a" needs two wavelengths; on a plate with one it would read the
// missing b as 1.0 and show every curve as 1 minus its readings. So an
// untouched default follows the plate ("a" for one wavelength), while a
// combination the user typed is kept and only warned about when it names a
// wavelength the plate lacks. Both front ends decide through this one rule.

#include <string>

namespace movra {

inline constexpr const char* kDefaultCombination = "b-a";
inline constexpr const char* kOneWavelengthCombination = "a";

struct CombinationChoice {
    std::string Text;     // the combination to reduce the plate with
    std::string Warning;  // empty, or what the user must be told
};

// typedByUser is false while the combination is the program's untouched
// default: it then becomes "a" on a one-wavelength plate and "b-a" on any
// other. A typed combination stays as it is. Either way, a combination that
// names a wavelength the plate lacks (a..d as variables, case-insensitive;
// function names and numbers such as "1e5" name none) gets the warning
//   The combination "b-a" uses wavelength b, but the plate has 1 wavelength: b reads as 1.
CombinationChoice ChooseCombination(const std::string& text, bool typedByUser, int waveLengthCount);

} // namespace movra
