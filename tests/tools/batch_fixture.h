#pragma once
// What the batch tests share: the demo plate, its layout and start values
// that fit every well of it, a layout of whole columns, and movra-batch run
// in-process with its output taken apart into rows of fields.

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "batch/batch_settings.h"
#include "batch/parameter_texts.h"
#include "batch_cli.h"
#include "plate/plate_layout.h"
#include "plate/read_range.h"
#include "plate/sm_import.h"
#include "plate/text_decoding.h"
#include "shared/test_helpers.h"

namespace movra::test {

inline const std::string kDemo = (std::filesystem::path(MOVRA_DATA) / "demo-kinetic-96.txt").string();
inline const std::string kDemoLayout = (std::filesystem::path(MOVRA_DATA) / "demo-layout.PLO").string();
// Start values that fit every well of the demo plate with the default formula.
inline const std::string kGoodStart = "m1=0.1,m2=0.7,m3=10,m4=0.8,m5=1,m6=0.01,m7=0.01";

// Batch settings of a built-in formula with the parameters the list names
// started from its values and the others from their defaults.
inline BatchSettings BuiltInFormula(int index, std::string_view startList)
{
    BatchSettings texts;
    texts.FitFormulaIndex = index;
    texts.FitFormulaText = std::string(kFitFormulas[static_cast<std::size_t>(index)]);
    ApplyParameterTexts(startList, texts.StartTexts);
    return texts;
}

// The settings converted, the fit's view set over a plate of that many reads.
inline PlateFitSettings ConvertedSettings(const BatchSettings& texts, int reads)
{
    PlateFitSettings settings = ConvertBatchSettings(texts);
    settings.Fit.View = ReadsInView(reads, texts.ViewStart, texts.ViewFinish);
    return settings;
}

inline PlateMeasurements ImportDemo()
{
    SilentImportInteraction answers;
    return ImportSMText(LoadTextLines(kDemo), answers)->plate;
}

// Column c of a 96-well plate is Sample c, for c up to columns.
inline PlateLayout ColumnLayout(int columns)
{
    PlateLayout layout;
    layout.Reset();
    for (int row = 1; row <= 8; ++row)
        for (int column = 1; column <= columns; ++column)
            layout.SetCell(column, row, "Sample" + std::to_string(column));
    return layout;
}

using Rows = std::vector<std::vector<std::string>>;

struct BatchResult {
    int status = -1;
    std::string out;
    std::string err;
    // The TSV text on out as rows of fields.
    Rows Fields() const
    {
        Rows rows;
        std::istringstream lines(out);
        for (std::string line; std::getline(lines, line);) {
            std::istringstream cells(line);
            rows.emplace_back();
            for (std::string field; std::getline(cells, field, '\t');) rows.back().push_back(field);
        }
        return rows;
    }
};

inline BatchResult Batch(const std::vector<std::string>& args, bool errIsTerminal = false)
{
    std::ostringstream out, err;
    const int status = RunBatch(args, out, err, BatchConsole{errIsTerminal});
    return {status, out.str(), err.str()};
}

} // namespace movra::test
