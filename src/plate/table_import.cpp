#include "plate/table_import.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "plate/import_fields.h"
#include "plate/plate_measurements.h"
#include "plate/review_table.h"
#include "plate/table_fields.h"
#include "shared/message_text.h"

namespace movra {
namespace {

std::string Position(std::size_t row, std::size_t column)
{
    return "Row " + std::to_string(row) + ", column " + std::to_string(column) + ": ";
}

[[noreturn]] void RefuseCell(std::size_t row, std::size_t column, std::string_view text, const char* what)
{
    throw ImportError(Position(row, column) + QuotedForMessage(text) + what);
}

// A cell by the cell-value rule. A ","-separated file cannot hold decimal
// commas, so there a comma in a cell (a quoted "1,500") is not a number
// rather than a guess between 1.5 and 1500. An empty cell is a hole in its
// curve, not a reading of 0.
double ReadCell(std::string_view text, bool commaSeparated, std::size_t row, std::size_t column)
{
    if (text.empty()) throw ImportError(Position(row, column) + "the cell is empty");
    double value = 0.0;
    if ((commaSeparated && text.find(',') != std::string_view::npos) || !TryParseCellValue(text, value))
        RefuseCell(row, column, text, " is not a number");
    if (!std::isfinite(value)) RefuseCell(row, column, text, " is out of range");
    return value;
}

// The x value must be a number as written: an empty cell or an instrument
// marker would put a point at a made-up x.
double ReadX(std::string_view text, bool commaSeparated, std::size_t row)
{
    if (text.empty()) throw ImportError(Position(row, 1) + "the x value is empty");
    if (text == "#Sat" || text == "#Low" || text == "Error") RefuseCell(row, 1, text, " is not a number");
    return ReadCell(text, commaSeparated, row, 1);
}

void SplitOrRefuse(std::string_view line, char separator, std::size_t row, std::vector<std::string>& fields)
{
    if (const auto badField = SplitTableLine(line, separator, fields))
        throw ImportError(Position(row, *badField + 1) + "a quote is not closed");
}

void SetGeometryFor(PlateMeasurements& plate, std::size_t curves)
{
    if (curves > static_cast<std::size_t>(kMaxWells))
        throw ImportError("The table has " + std::to_string(curves) + " curves; at most " +
                          std::to_string(kMaxWells) + " can be read!");
    const bool small = curves <= 96;
    plate.WellCount = small ? 96 : 384;
    plate.PlateRows = small ? 8 : 16;
    plate.PlateColumns = small ? 12 : 24;
}

} // namespace

ImportedPlate ImportTable(const TextLines& lines)
{
    const char separator = DetectTableSeparator(lines.Line(0));
    const bool commaSeparated = separator == ',';

    std::vector<std::string> captions;
    SplitOrRefuse(lines.Line(0), separator, 1, captions);
    if (AllFieldsEmpty(captions)) throw ImportError(kTableWithoutHeader);
    // Spreadsheets often end rows with separators: trailing empty captions
    // are no curves.
    while (captions.size() > 1 && captions.back().empty()) captions.pop_back();
    const std::size_t curves = captions.size() - 1;
    if (curves == 0) throw ImportError(kTableWithoutCurves);

    ImportedPlate imported;
    PlateMeasurements& plate = imported.plate;
    SetGeometryFor(plate, curves);
    plate.ReadMode = "Kinetic";
    plate.XName = captions.front();
    const bool oneCaption = std::all_of(captions.begin() + 2, captions.end(),
                                        [&](const std::string& caption) { return caption == captions[1]; });
    plate.ValueName = oneCaption ? captions[1] : "";
    plate.WaveLengthCount = 1;
    for (auto& list : plate.WaveLengths) list.assign(1, 0);
    // Only x and the curves' wells hold reads: the temperature and the wells
    // without a curve stay empty columns, which read as 0.
    const auto wellCount = static_cast<std::size_t>(plate.WellCount);
    plate.PlateData.assign(wellCount + 2, {});
    // A data row holds a character and a separator or line end per column,
    // so this bounds the reads without reserving for blank lines.
    const std::size_t readBound =
        std::min(lines.Count() - 1, lines.Text().size() / (2 * captions.size() - 1) + 1);
    for (std::size_t column = 0; column <= curves + 1; ++column)
        if (column != 1) plate.PlateData[column].reserve(readBound);

    ReviewTable& review = imported.review;
    // The table has no temperature: its review column stays empty rather
    // than showing a measured-looking 0.
    review.SetCaptions(captions.front(), "");
    review.SetReadingCaptions(std::vector<std::string>(captions.begin() + 1, captions.end()));
    // The x column's share of the text, about: reserved space that the x
    // texts do not fill is never touched, and longer texts still fit.
    review.Reserve(readBound, lines.Text().size() / captions.size());

    std::vector<std::string> fields;
    std::size_t firstBlankRow = 0;  // 0: no blank row pending
    std::size_t reads = 0;
    for (std::size_t index = 1; index < lines.Count(); ++index) {
        const std::size_t row = index + 1;
        SplitOrRefuse(lines.Line(index), separator, row, fields);
        if (AllFieldsEmpty(fields)) {
            if (firstBlankRow == 0) firstBlankRow = row;
            continue;
        }
        if (firstBlankRow != 0) throw ImportError("Row " + std::to_string(firstBlankRow) + " is empty");
        for (std::size_t column = captions.size(); column < fields.size(); ++column)
            if (!fields[column].empty()) RefuseCell(row, column + 1, fields[column], " has no column caption");
        fields.resize(captions.size());  // the missing cells of a short row are empty

        plate.PlateData[0].push_back(ReadX(fields[0], commaSeparated, row));
        for (std::size_t curve = 1; curve <= curves; ++curve)
            plate.PlateData[curve + 1].push_back(ReadCell(fields[curve], commaSeparated, row, curve + 1));
        review.AddRead(fields[0], "");
        ++reads;
    }
    if (reads == 0) throw ImportError(kTableWithoutRows);
    if (reads > static_cast<std::size_t>(INT32_MAX - 1)) throw ImportError(kTableTooLong);

    const int readCount = static_cast<int>(reads);
    AllocVector(plate.TimeVector, readCount);
    for (std::size_t t = 0; t < reads; ++t) plate.TimeVector[t + 1] = plate.PlateData[0][t];
    plate.TimePointCount = readCount;
    plate.LastXValue = plate.PlateData[0][reads - 1];

    review.SetSize(static_cast<int>(curves) + 3, readCount + 1);
    imported.AnnouncedReads = readCount;
    imported.summary = "table: " + std::to_string(curves) + (curves == 1 ? " curve" : " curves");
    return imported;
}

} // namespace movra
