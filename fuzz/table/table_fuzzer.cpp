// Fuzz target for the plain x/y table reader: the input is the file, decoded
// as files are. The reader must return a plate or throw ImportError, and a
// plate it returns must hold a finite x for every read, a finite reading of
// every curve's well for every read, nothing in the wells without a curve,
// and a review table of one column per curve.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "plate/import_errors.h"
#include "plate/table_import.h"
#include "plate/text_decoding.h"
#include "plate/text_lines.h"

namespace {

void CheckPlate(const movra::ImportedPlate& imported)
{
    const movra::PlateMeasurements& plate = imported.plate;
    if (plate.WellCount != 96 && plate.WellCount != 384) __builtin_trap();
    if (plate.TimePointCount < 1 || plate.PlateData.size() != static_cast<std::size_t>(plate.WellCount) + 2)
        __builtin_trap();
    const auto reads = static_cast<std::size_t>(plate.TimePointCount);
    const int curves = imported.review.ColumnCount() - 3;
    if (curves < 1 || curves > plate.WellCount) __builtin_trap();
    for (std::size_t column = 0; column < plate.PlateData.size(); ++column) {
        const bool holdsData = column == 0 || (column >= 2 && column < static_cast<std::size_t>(curves) + 2);
        if (plate.PlateData[column].size() != (holdsData ? reads : 0)) __builtin_trap();
        for (const double value : plate.PlateData[column])
            if (!std::isfinite(value)) __builtin_trap();
    }
    for (std::size_t read = 0; read < reads; ++read)
        if (plate.TimeVector[read + 1] != plate.PlateData[0][read]) __builtin_trap();
    if (plate.LastXValue != plate.PlateData[0][reads - 1]) __builtin_trap();
    if (imported.review.RowCount() != plate.TimePointCount + 1) __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string bytes(reinterpret_cast<const char*>(data), size);
    const movra::TextLines lines(movra::DecodeText(std::move(bytes)));
    try {
        CheckPlate(movra::ImportTable(lines));
    } catch (const movra::ImportError&) {
    }
    return 0;
}
