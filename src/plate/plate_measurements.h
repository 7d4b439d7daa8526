#pragma once
// The measurements of the one loaded plate, as an import leaves them and
// everything after reads them, and the two index formulas of the plate (well
// index, PlateData column), which live here and nowhere else.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "shared/matrices.h"
#include "shared/one_based.h"

namespace movra {

using TDataArray = std::vector<std::vector<double>>;                // [column][read]
using TWaveLengthArray = std::array<std::vector<std::int32_t>, 2>;  // [list][wavelength]

inline constexpr int kMaxWells = 384;

// Well index of a plate position, row and column counted from 1 (A1 is 0).
constexpr int WellIndex(int row, int column, int plateColumns) noexcept
{
    return (row - 1) * plateColumns + (column - 1);
}

// Column of PlateData holding well w at wavelength k (k from 1).
constexpr int PlateDataColumn(int wavelength, int well, int wellCount) noexcept
{
    return 2 + (wavelength - 1) * wellCount + well;
}

// The value name of a plate header's read type ("Absorbance" and so on).
std::string ValueNameOfReadType(std::string_view readType);

// Well label: row letter followed by column number, such as "A1" or "B2".
std::string WellName(int well, int plateColumns);

// A reading cell of the plate: well, wavelength (from 1) and read (from 0).
struct PlateCell {
    std::int32_t Well = 0;
    std::int32_t WaveLength = 1;
    std::int32_t Read = 0;
    friend bool operator==(const PlateCell&, const PlateCell&) = default;
};

// The measurements of one imported plate. An import builds a new value and
// swaps it in only when the whole file was read, so a refused file never
// leaves a mix of two plates; nothing else writes it (File > New only sets
// LastXValue back to 0, which tells the graph there is nothing to draw).
struct PlateMeasurements {
    TDataArray PlateData;        // column 0 x, column 1 temperature, then readings
    TWaveLengthArray WaveLengths;
    std::int32_t WaveLengthCount = 0;
    std::int32_t TimePointCount = 0;
    TVector TimeVector;          // TimeVector[t + 1] = PlateData[0][t]
    std::int32_t WellCount = 0;
    std::int32_t PlateRows = 0;
    std::int32_t PlateColumns = 0;
    std::string ReadMode;        // "Kinetic" or "Spectrum"
    // What a reading is, the graph's y title: "OD" for an absorbance read,
    // "RLU" luminescence, "RFU" fluorescence (and any other read), or the
    // caption a table's curve columns share ("" when they differ).
    std::string ValueName = "RFU";
    std::string XName;           // a table's x caption; "" for a plate file
    std::int32_t SpectrumStart = 0;
    std::int32_t SpectrumEnd = 0;
    std::int32_t SpectrumStep = 0;
    double LastXValue = 0.0;     // x of the last imported read
    // Cells the instrument marked "Range?" (out of its range); they read as 0.
    std::vector<PlateCell> OutOfRangeCells;

    // A column shorter than the reads (a table fills only the wells that
    // hold its curves) reads as 0 beyond its end.
    double Reading(int well, int wavelength, int read) const
    {
        const auto& column = At(PlateData, PlateDataColumn(wavelength, well, WellCount));
        const auto t = static_cast<std::size_t>(read);
        return t < column.size() ? column[t] : 0.0;
    }
};

} // namespace movra
