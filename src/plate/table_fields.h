#pragma once
// Taking apart the lines of a plain x/y table as spreadsheets export it. The
// separator is found in the header line (TAB, else ";", else ","); a field
// may be wrapped in double quotes (then "" inside stands for one quote and a
// separator inside is text); blanks around a field do not count.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace movra {

// TAB when the header holds one outside quotes, else ";", else ",".
char DetectTableSeparator(std::string_view header) noexcept;

// Fills fields with the line's fields, quotes removed and blanks trimmed (a
// line without any separator is one field). Returns the 0-based index of a
// field whose opening quote is never closed, or nullopt when the line splits
// cleanly; fields then holds the fields before the bad one.
std::optional<std::size_t> SplitTableLine(std::string_view line, char separator, std::vector<std::string>& fields);

// True when every field is empty (such as ";;;" or a blank line).
bool AllFieldsEmpty(const std::vector<std::string>& fields) noexcept;

} // namespace movra
