#pragma once
// The plate layout: which well carries which sample label ("Sample" + n).
// The grid's cells are the only store of the assignment; the sample chooser
// and the popup menu's sample items are derived from them. The grid keeps the
// cells of the largest plate (24 x 16 wells plus headers) whatever geometry
// it shows, so headers and cells survive a change of plate size.

#include <cstdint>
#include <string>
#include <vector>

namespace movra {

// A rectangle of grid cells, columns Left..Right and rows Top..Bottom
// (grid coordinates: row 0 and column 0 are the headers).
struct GridSelection {
    int Left = 1;
    int Top = 1;
    int Right = 1;
    int Bottom = 1;
};

// A label found in the grid, its sample number (0 when the label has none)
// and the number of wells carrying it.
struct SampleUse {
    std::string Label;
    std::int32_t Number = 0;
    int Wells = 0;
};

class PlateLayout {
public:
    static constexpr int kMaxColumns = 25;  // header column + 24 plate columns
    static constexpr int kMaxRows = 17;     // header row + 16 plate rows

    PlateLayout();

    // Grid geometry including the header row and column: 13 x 9 for a
    // 96-well plate (the start), 25 x 17 for a 384-well plate.
    int ColCount() const noexcept { return colCount_; }
    int RowCount() const noexcept { return rowCount_; }
    int PlateColumns() const noexcept { return colCount_ - 1; }
    int PlateRows() const noexcept { return rowCount_ - 1; }
    // Follows the imported plate; other well counts leave the geometry alone.
    void SetGeometryForWellCount(int wellCount);

    const std::string& Cell(int column, int row) const;
    void SetCell(int column, int row, std::string text);

    // Tags of the popup menu's sample items, top first; "Sample1" at start.
    const std::vector<int>& SampleMenuTags() const noexcept { return menuTags_; }

    // A sample item chosen: labels the selection. When the item's tag equals
    // sampleCount (the highest number offered, kept in SampleAssignment) the next
    // number is offered: sampleCount grows by one and its item goes on top of
    // the menu. A number typed by the user that the menu does not offer gets
    // its item too, in order, and one at or above sampleCount makes the
    // number after it the new top. Returns true when the menu changed, when
    // the sample chooser must be rebuilt (CheckPLSamples).
    bool AssignSample(int tag, const GridSelection& selection, std::int32_t& sampleCount);

    // After a layout file was loaded: the menu offers every sample number in
    // the grid, highest first, under the next free number (one above the
    // highest), which becomes sampleCount. A grid without samples changes nothing.
    void OfferSamplesInUse(std::int32_t& sampleCount);

    // The distinct labels in the grid with their well counts, by sample
    // number (labels without one first, in scan order); never throws.
    std::vector<SampleUse> SamplesInUse() const;

    // "Clear": empties the selection; the chooser is always rebuilt.
    void ClearCells(const GridSelection& selection);

    // The distinct labels in the grid, scanned row by row over the plate,
    // sorted by their sample number (Sample10 after Sample9; equal numbers
    // keep their order). Throws ConversionError for a label whose text after
    // "Sample" is not an integer; nothing is returned half-sorted.
    std::vector<std::string> CheckPLSamples() const;

    // The layout part of File > New: empties every well cell and writes the
    // headers "1".."24" and "A".."P". The menu's items stay as they are.
    void Reset();

private:
    void OfferTag(int tag);

    std::vector<std::string> cells_;  // [row * kMaxColumns + column]
    int colCount_ = 13;
    int rowCount_ = 9;
    std::vector<int> menuTags_{1};
};

// The sample number of a label such as "Sample12" (text after the sixth
// character read as a decimal integer); ConversionError when it is not one.
std::int32_t SampleNumberOfLabel(const std::string& label);

} // namespace movra
