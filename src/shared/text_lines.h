#pragma once
// Splitting a text into lines the way the platform's text loader does: CR LF,
// LF and a CR alone all end a line, and an empty last line is not counted.

#include <string>
#include <string_view>
#include <vector>

namespace movra {

std::vector<std::string> SplitLines(std::string_view text);

// Joins lines as a text file is written: every line followed by CR LF.
std::string JoinLinesCrLf(const std::vector<std::string>& lines);

} // namespace movra
