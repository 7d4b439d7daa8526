#pragma once
// A grid of texts with a visible column and row count, as the report page
// shows it: cells outside the counts may keep old text but are neither shown
// nor copied.

#include <string>
#include <vector>

namespace movra {

class StringTable {
public:
    StringTable(int colCount, int rowCount) : colCount_(colCount), rowCount_(rowCount) {}

    int ColCount() const noexcept { return colCount_; }
    int RowCount() const noexcept { return rowCount_; }
    void SetColCount(int count) { colCount_ = count < 0 ? 0 : count; }
    void SetRowCount(int count) { rowCount_ = count < 0 ? 0 : count; }

    const std::string& Cell(int column, int row) const;
    void SetCell(int column, int row, std::string text);

private:
    int colCount_;
    int rowCount_;
    std::vector<std::vector<std::string>> cells_;  // [column][row], grown on write
};

} // namespace movra
