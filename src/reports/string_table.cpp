#include "reports/string_table.h"
#include "shared/one_based.h"

namespace movra {
namespace {
const std::string kEmpty;
}

const std::string& StringTable::Cell(int column, int row) const
{
    if (column < 0 || row < 0 || static_cast<std::size_t>(column) >= cells_.size()) return kEmpty;
    const auto& cells = At(cells_, column);
    return static_cast<std::size_t>(row) < cells.size() ? At(cells, row) : kEmpty;
}

void StringTable::SetCell(int column, int row, std::string text)
{
    if (column < 0 || row < 0) return;
    const auto c = static_cast<std::size_t>(column);
    const auto r = static_cast<std::size_t>(row);
    if (c >= cells_.size()) {
        if (text.empty()) return;
        cells_.resize(c + 1);
    }
    auto& cells = cells_[c];
    if (r >= cells.size()) {
        if (text.empty()) return;
        cells.resize(r + 1);
    }
    cells[r] = std::move(text);
}

} // namespace movra
