#pragma once
// The SpectraMax plate-format text import. ImportSMText reads a kinetic or
// spectrum plate from the file's lines (LoadTextLines decodes the file as
// SoftMax Pro writes it) into a new ImportedPlate; the caller
// swaps it in only when one comes back, so a refused file, a conversion error
// or Cancel never leaves a mix of two plates. The caller then resets the fit
// limits (-1E20..1E20 for m1..m8), enables the layout file commands, and
// rebuilds the shown curves when samples exist.

#include <optional>
#include <string>

#include "plate/import_errors.h"
#include "plate/import_interaction.h"
#include "plate/plate_measurements.h"
#include "plate/review_table.h"
#include "plate/text_lines.h"
#include "shared/conversion.h"

namespace movra {

inline constexpr int kMaxWaveLengths = 6;

struct ImportedPlate {
    PlateMeasurements plate;
    ReviewTable review;   // the data review table (StringGrid1)
    std::string summary;  // the wavelength summary line (Memo3)
};

// Reads a plate from lines, asking interaction the merge question (files with
// more than one block) and the time offset (kinetic files), and reporting
// progress. Returns nullopt when the user cancels the merge question. Throws
// ImportError with the user's message for a refused file and ConversionError
// for a field that does not convert.
std::optional<ImportedPlate> ImportSMText(const TextLines& lines, ImportInteraction& interaction);

// The one-paragraph description printed by the command-line tools: mode,
// wells, wavelengths, reads and x range.
std::string DescribePlate(const ImportedPlate& imported);

} // namespace movra
