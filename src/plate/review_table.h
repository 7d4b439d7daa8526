#pragma once
// The contents of the data review table: row 0 holds the column captions,
// rows 1.. one read each; column 1 the x text as written in the file,
// column 2 the temperature text, then one column per well and wavelength.
// Reading columns are headed with wavelength and well name unless the file
// brought its own captions (a plain table). Only the texts of the file are
// stored; readings are formatted from the plate's PlateData when a cell is
// asked for, so a 384-well plate with thousands of reads costs no strings
// per cell.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "plate/plate_measurements.h"

namespace movra {

class ReviewTable {
public:
    // Size of the table before any import: all cells empty.
    static constexpr int kInitialColumns = 194;
    static constexpr int kInitialRows = 200;

    int ColumnCount() const noexcept { return columns_; }
    int RowCount() const noexcept { return rows_; }

    // Text of cell [column, row] (0-based; column 0 is always empty). plate
    // must be the measurements this table was imported with.
    std::string Cell(const PlateMeasurements& plate, int column, int row) const;

    // Building (the import): captions of columns 1 and 2, then one x and one
    // temperature text per read in order, then the final size.
    void SetCaptions(std::string_view xCaption, std::string_view temperatureCaption);
    // Captions of the reading columns 3, 4, ... in order, taken as given;
    // columns past the last one have an empty caption.
    void SetReadingCaptions(std::vector<std::string> captions);
    void AddRead(std::string_view xText, std::string_view temperatureText);
    // Room for reads whose texts take about textBytes in all, so that a long
    // table is stored without regrowing.
    void Reserve(std::size_t reads, std::size_t textBytes);
    void DropLastRead();
    void SetSize(int columns, int rows) noexcept
    {
        columns_ = columns;
        rows_ = rows;
    }
    std::size_t StoredReads() const noexcept { return readTexts_.size(); }

private:
    // 16 bytes a read: a text longer than 4 GiB cannot come from a file
    // the import reads.
    struct ReadTexts {
        std::uint64_t offset;
        std::uint32_t xLength;
        std::uint32_t temperatureLength;
    };
    int columns_ = kInitialColumns;
    int rows_ = kInitialRows;
    std::string xCaption_;
    std::string temperatureCaption_;
    std::optional<std::vector<std::string>> readingCaptions_;
    std::string textPool_;  // x and temperature texts of all reads, back to back
    std::vector<ReadTexts> readTexts_;
};

} // namespace movra
