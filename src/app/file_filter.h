#pragma once
// Translation of the program's file filter notation ("All Files|*.*|Plate
// Layout Files|*.PLO") into the Qt dialog filter list, so the commands keep
// the filters exactly as they are written and Qt still shows them properly.

#include <string>
#include <vector>

namespace movra {

// One "Name (patterns)" entry per name/pattern pair; a trailing name without
// a pattern is kept as a name alone. Several patterns may be given as "*.a;*.b".
std::vector<std::string> QtFilterEntries(const std::string& filter);

} // namespace movra
