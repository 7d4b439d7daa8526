#pragma once
// Everything the program knows about the one loaded plate and the working
// state its commands share: the measurements an import replaces wholesale
// (PlateMeasurements) and the sample, curve and fit state around them
// (PlateState). The two index formulas of the plate (well index, PlateData
// column) live here and nowhere else.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "shared/colour.h"
#include "shared/matrices.h"

namespace movra {

using TDataArray = std::vector<std::vector<double>>;            // [column][read]
using TWaveLengthArray = std::array<std::vector<std::int32_t>, 2>;  // [list][wavelength]

inline constexpr int kMaxWells = 384;
inline constexpr int kMaxShownCurves = 8;
inline constexpr int kFitResultColumns = 17;  // ChiSq, m1..m8, std(m1)..std(m8)
inline constexpr int kMaxParameters = 8;

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

// Well label: row letter followed by column number, such as "A1" or "B2".
std::string WellName(int well, int plateColumns);

// The measurements of one imported plate. An import builds a new value and
// swaps it in only when the whole file was read, so a refused file never
// leaves a mix of two plates.
struct PlateMeasurements {
    TDataArray PlateData;        // column 0 x, column 1 temperature, then readings
    TWaveLengthArray WaveLengths;
    std::int32_t WaveLengthCount = 0;
    std::int32_t TimePointCount = 0;
    TVector TimeVector;          // TimeVector[t + 1] = PlateData[0][t]
    // Sized by their users, not by the import (a plate that is only fitted
    // or reported never needs them): the graph's scratch copy of one curve,
    // and the shown curves [curve 1..8][t + 1] that CalculateReducedData fills.
    TVector PlotYBuffer;
    TMatrix ReducedData;
    std::int32_t WellCount = 0;
    std::int32_t PlateRows = 0;
    std::int32_t PlateColumns = 0;
    std::string ReadMode;        // "Kinetic" or "Spectrum"
    std::int32_t SpectrumStart = 0;
    std::int32_t SpectrumEnd = 0;
    std::int32_t SpectrumStep = 0;
    double LastXValue = 0.0;     // x of the last imported read

    // A column shorter than the reads (a table fills only the wells that
    // hold its curves) reads as 0 beyond its end.
    double Reading(int well, int wavelength, int read) const
    {
        const auto& column = PlateData[static_cast<std::size_t>(PlateDataColumn(wavelength, well, WellCount))];
        const auto t = static_cast<std::size_t>(read);
        return t < column.size() ? column[t] : 0.0;
    }
};

// The plate plus the working state the program's commands share.
struct PlateState {
    PlateMeasurements plate;

    // Wells of the curves on show, slots 1..8, ended by the first negative slot.
    std::array<std::int32_t, kMaxWells + 1> ShownWells{};
    std::array<Colour, kMaxShownCurves + 1> CurveColors{};  // slots 1..8

    // SampleWells[s][i]: i-th well (from 1) of sample s; a list ends at its
    // first negative entry or after WellCount entries.
    std::vector<std::array<std::int32_t, kMaxWells + 1>> SampleWells =
        std::vector<std::array<std::int32_t, kMaxWells + 1>>(kMaxWells + 1);
    std::int32_t SampleWellCount = 0;
    std::int32_t SampleCount = 0;  // highest sample number offered

    double GraphYMax = 0.0;
    double GraphYMin = 0.0;
    std::int32_t ViewFirstPoint = 0;
    std::int32_t ViewLastPoint = 0;
    double WaveFactorA = 0.0;
    double WaveFactorB = 0.0;

    TVector ParamBuffer;                           // m1..m8 of one fit, for drawing
    std::array<double*, kMaxParameters + 1> ParamVars{};  // fit parser slots m1..m8 (not owned)

    TMatrix WellFitResults;                        // [well][ChiSq, m1..m8, std(m1)..std(m8)]
    std::array<std::string, kMaxWells + 1> WellFitStatus;

    // The reset of File > New (also run once at start-up): samples, shown
    // wells, curve colours, graph range, factors and fit results.
    void ResetWorkingState();
};

} // namespace movra
