#pragma once
// The SpectraMax plate-format text import. ImportSMText reads a kinetic or
// spectrum plate from the file's lines (LoadTextLines decodes the file as
// SoftMax Pro writes it) into a new ImportedPlate; the caller
// swaps it in only when one comes back, so a refused file, a conversion error
// or Cancel never leaves a mix of two plates. The caller then resets the fit
// limits (-1E20..1E20 for m1..m8), enables the layout file commands, and
// rebuilds the shown curves when samples exist.

#include <cstdint>
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
    // Reads the file's header announces (merged blocks included); a table
    // announces the reads it holds.
    std::int64_t AnnouncedReads = 0;
};

// Reads a plate from lines, asking interaction the merge question (files with
// more than one block) and the time offset (kinetic files), and reporting
// progress. Returns nullopt when the user cancels the merge question. Reads
// end at the announced count, at an empty read or at a read the file cuts
// off; what came before is kept. Throws ImportError with the user's message
// for a refused file, also for one without a single complete read
// (NoReadsMessage), and ConversionError for a field that does not convert,
// its position appended: "'abc501' is not a valid floating point value
// (line 17, well B3)" (lines from 1; x and temperature fields name the line).
std::optional<ImportedPlate> ImportSMText(const TextLines& lines, ImportInteraction& interaction);

// "Only 30 of the 61 reads the file announces could be read." when fewer
// reads were imported than announced; empty otherwise.
std::string MissingReadsWarning(const ImportedPlate& imported);

// The one-paragraph description printed by the command-line tools: mode,
// wells, wavelengths, reads and x range.
std::string DescribePlate(const ImportedPlate& imported);

} // namespace movra
