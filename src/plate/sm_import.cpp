#include "plate/sm_import.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <string_view>

#include "plate/import_errors.h"
#include "plate/import_fields.h"
#include "plate/plate_header.h"
#include "shared/conversion.h"
#include "shared/number_format.h"

namespace movra {
namespace {

constexpr char kTab = '\t';
constexpr std::size_t kBlockBoundarySkip = 20;     // lines from a "Time" line to the next block's first read
constexpr std::size_t kSecondHeaderDistance = 20;  // lines from the first read line past block one to its header
constexpr double kSecondBlockOffset = 48.0;        // hours added to the reads of later blocks

void SetGeometry(PlateMeasurements& plate, std::int32_t wellCount)
{
    if (wellCount == 96) {
        plate.PlateRows = 8;
        plate.PlateColumns = 12;
    } else if (wellCount == 384) {
        plate.PlateRows = 16;
        plate.PlateColumns = 24;
    } else {
        throw ImportError("The file describes a plate of " + std::to_string(wellCount) +
                          " wells; only 96-well and 384-well plates can be read!");
    }
    plate.WellCount = wellCount;
}

// The fields of one line of a read. The text after a line's last tab is its
// last field (rows of partly read plates may end without a tab); a line
// without any tab holds only empty fields.
class RowFields {
public:
    explicit RowFields(std::string_view line) noexcept
        : rest_(line), hasFields_(line.find(kTab) != std::string_view::npos)
    {
    }
    std::string_view Next() noexcept
    {
        if (!hasFields_) return {};
        // Fields are short: a plain scan beats a library search per field.
        const char* const begin = rest_.data();
        const char* const end = begin + rest_.size();
        const char* p = begin;
        while (p != end && *p != kTab) ++p;
        const std::string_view field(begin, static_cast<std::size_t>(p - begin));
        rest_ = p == end ? std::string_view{} : std::string_view(p + 1, static_cast<std::size_t>(end - p - 1));
        return field;
    }
    void Skip(int count) noexcept
    {
        for (int i = 0; i < count; ++i) Next();
    }

private:
    std::string_view rest_;
    bool hasFields_;
};

// Where a field of the file stands, for messages: " (line 17)" or
// " (line 17, well B3)", lines counted from 1.
std::string Position(std::size_t lineIndex, const std::string& wellName = {})
{
    return " (line " + std::to_string(lineIndex + 1) + (wellName.empty() ? "" : ", well " + wellName) + ")";
}

// A cell that is no plain number, by the full rule; a text that does not
// convert is named with its line and well.
[[gnu::noinline]] double ReadUnusualCell(std::string_view text, std::size_t lineIndex, int well, int plateColumns)
{
    try {
        return ParseReadingValue(text);
    } catch (const ConversionError& error) {
        throw ConversionError(error.what() + Position(lineIndex, WellName(well, plateColumns)));
    }
}

// A reading cell; plain numbers are converted right here, everything else
// (commas, markers, special cells) by the full rule.
inline double ReadCell(std::string_view text, std::size_t lineIndex, int well, int plateColumns)
{
    if (!text.empty() && text.front() >= '0' && text.front() <= '9') {
        double value = 0.0;
        const char* const last = text.data() + text.size();
        const auto [end, error] = std::from_chars(text.data(), last, value);
        if (error == std::errc{} && end == last) return value;
    }
    return ReadUnusualCell(text, lineIndex, well, plateColumns);
}

// Shows the progress window for the reading and hides it however the
// import ends.
class ProgressShown {
public:
    explicit ProgressShown(ImportInteraction& interaction) : interaction_(interaction)
    {
        interaction_.ShowProgress();
        interaction_.SetProgress(0);
    }
    ~ProgressShown()
    {
        try {
            interaction_.HideProgress();
        } catch (...) {
        }
    }
    // The reading position can pass the last line (a block boundary skips
    // ahead), so the percentage is held to the window's 0..100.
    void Set(int percent)
    {
        percent = std::clamp(percent, 0, 100);
        if (percent == last_) return;
        last_ = percent;
        interaction_.SetProgress(percent);
    }
    ProgressShown(const ProgressShown&) = delete;
    ProgressShown& operator=(const ProgressShown&) = delete;

private:
    ImportInteraction& interaction_;
    int last_ = 0;
};

// PlateData columns grow with the reads actually met, up to the sized limit,
// so an absurd announced read count costs nothing.
class PlateDataStorage {
public:
    PlateDataStorage(TDataArray& data, std::size_t columns, std::size_t limit) : data_(data), limit_(limit)
    {
        data_.assign(columns, {});
    }
    void EnsureRead(std::size_t read)
    {
        if (read < allocated_) return;
        const std::size_t size = std::min(limit_, std::max({read + 1, allocated_ * 2, std::size_t{64}}));
        for (auto& column : data_) column.resize(size, 0.0);
        allocated_ = size;
    }

private:
    TDataArray& data_;
    std::size_t limit_;
    std::size_t allocated_ = 0;
};

void WriteSummaryAndWaveLengths(ImportedPlate& imported, const PlateHeader& header)
{
    PlateMeasurements& plate = imported.plate;
    std::string& summary = imported.summary;
    summary.clear();
    if (plate.ReadMode == "Kinetic") {
        std::string_view first = header.firstList;
        std::string_view second = header.fieldN11;
        // Absorbance exports carry no second list from 1.3 on and may leave
        // N+11 empty before: every second number is then 0.
        bool secondList = header.HasSecondList();
        const bool secondListOptional = header.readType == "Absorbance";
        for (std::int32_t k = 1; k <= plate.WaveLengthCount; ++k) {
            const auto index = static_cast<std::size_t>(k - 1);
            plate.WaveLengths[0][index] = StrToInt(SplitListItem(' ', first));
            if (secondList) {
                try {
                    plate.WaveLengths[1][index] = StrToInt(SplitListItem(' ', second));
                } catch (const ConversionError&) {
                    if (!secondListOptional) throw;
                    secondList = false;
                    std::fill(plate.WaveLengths[1].begin(), plate.WaveLengths[1].end(), 0);
                }
            }
        }
        for (std::int32_t k = 1; k <= plate.WaveLengthCount; ++k) {
            const auto index = static_cast<std::size_t>(k - 1);
            summary += static_cast<char>('A' + k - 1);
            summary += ':' + std::to_string(plate.WaveLengths[1][index]) + ' ' +
                       std::to_string(plate.WaveLengths[0][index]) + " - ";
        }
    } else {
        summary = "fix:" + std::string(header.fieldN11) + " scan:" + std::to_string(plate.SpectrumStart) + "-" +
                  std::to_string(plate.SpectrumEnd) + " step " + std::to_string(plate.SpectrumStep) + " " +
                  std::string(header.fieldN14);
    }
}

} // namespace

std::optional<ImportedPlate> ImportSMText(const TextLines& lines, ImportInteraction& interaction)
{
    const std::string_view blockLine = lines.Line(0);
    if (!blockLine.starts_with("##BLOCKS=")) throw ImportError(kNotSpectraMaxFile);
    // A missing or zero block count still means the one block that follows.
    const std::int32_t blocks = std::max(DigitsToInt(blockLine.size() > 10 ? blockLine.substr(10) : ""), 1);
    bool severalBlocks = blocks > 1;

    const std::size_t headerLine = FindPlateHeaderLine(lines);
    const PlateHeader header = ReadPlateHeader(lines.Line(headerLine));

    ImportedPlate imported;
    PlateMeasurements& plate = imported.plate;
    plate.ReadMode = header.readMode;
    plate.ValueName = ValueNameOfReadType(header.readType);
    const bool kinetic = plate.ReadMode == "Kinetic";
    plate.WaveLengthCount = header.waveLengthCount;
    plate.SpectrumStart = header.spectrumStart;
    plate.SpectrumEnd = header.spectrumEnd;
    plate.SpectrumStep = header.spectrumStep;
    for (auto& list : plate.WaveLengths) list.assign(static_cast<std::size_t>(plate.WaveLengthCount), 0);
    SetGeometry(plate, header.wellCount);
    CheckColumnHeader(lines.Line(headerLine + 1), plate.WellCount, plate.PlateColumns, plate.WaveLengthCount);
    const auto rows = static_cast<std::size_t>(plate.PlateRows);
    const auto columns = static_cast<std::size_t>(plate.PlateColumns);
    const auto wellCount = static_cast<std::size_t>(plate.WellCount);
    const auto linesPerRead = rows + 1;

    std::int64_t readCount = std::max<std::int64_t>(header.readCount, 0);
    if (severalBlocks) {
        const std::size_t secondHeader =
            headerLine + kSecondHeaderDistance + linesPerRead * static_cast<std::size_t>(readCount);
        std::string_view line = lines.Line(secondHeader);
        // Only a plate header standing there makes a second block to merge;
        // anything else (further sections after "~End") is not asked about.
        if (!line.empty() && !line.starts_with("Plate:")) severalBlocks = false;
        if (!line.empty() && severalBlocks) {
            switch (interaction.AskMergeBlocks(kMergeBlocksQuestion)) {
            case MergeAnswer::Cancel:
                return std::nullopt;
            case MergeAnswer::Yes:
                SkipFields(line, header.readCountField - 1);
                readCount += std::max(StrToInt(SplitField(kTab, line)), 0);
                break;
            case MergeAnswer::No:
                severalBlocks = false;
                break;
            }
        }
    }

    // Never more reads than announced, nor than the file's lines can hold.
    const std::size_t readLimit = std::min(static_cast<std::size_t>(readCount), lines.Count() / linesPerRead);
    AllocVector(plate.TimeVector, static_cast<int>(readLimit));

    WriteSummaryAndWaveLengths(imported, header);

    const auto waveLengthCount = static_cast<std::size_t>(plate.WaveLengthCount);
    PlateDataStorage storage(plate.PlateData, waveLengthCount * wellCount + 2, readLimit);

    ReviewTable& review = imported.review;
    {
        std::string_view captions = lines.Line(headerLine + 1);
        const std::string_view xCaption = SplitField(kTab, captions);
        review.SetCaptions(xCaption, SplitField(kTab, captions));
    }

    double timeOffset = 0.0;
    if (kinetic) {
        const auto answer = interaction.AskTimeOffset(kTimeOffsetCaption, kTimeOffsetPrompt, kTimeOffsetDefault);
        const std::string_view offsetText = answer ? std::string_view(*answer) : std::string_view(kTimeOffsetDefault);
        timeOffset = ParseCellValue(offsetText);
        if (!std::isfinite(timeOffset)) throw ImportError(NonFiniteTimeOffsetMessage(offsetText));
    }

    ProgressShown progress(interaction);
    const std::size_t lineCount = lines.Count();
    std::size_t cursor = headerLine + 2;
    std::size_t read = 0;
    for (std::size_t attempt = 0; attempt < lineCount / linesPerRead && read < readLimit; ++attempt) {
        if (lines.Line(cursor).starts_with("~End")) break;  // a section ends where a read should start
        RowFields fields(lines.Line(cursor));
        std::string_view xText = fields.Next();
        if (xText.starts_with("Time")) {
            if (!severalBlocks) break;
            cursor += kBlockBoundarySkip;
            fields = RowFields(lines.Line(cursor));
            xText = fields.Next();
            timeOffset = kSecondBlockOffset;
        }
        double x = 0.0;
        double temperature = 0.0;
        const std::string_view temperatureText = fields.Next();
        try {
            if (kinetic)
                x = ParseClockTime(xText) + timeOffset;
            else if (!xText.empty())
                x = StrToInt(xText);
            temperature = ParseReadingValue(temperatureText);
        } catch (const ConversionError& error) {
            throw ConversionError(error.what() + Position(cursor));
        }
        if (!std::isfinite(x)) throw ImportError(NonFiniteXMessage(xText, static_cast<int>(read) + 1));
        storage.EnsureRead(read);
        plate.PlateData[0][read] = x;
        plate.TimeVector[read + 1] = x;
        progress.Set(static_cast<int>((cursor - 2) * 100 / lineCount));

        if (!std::isfinite(temperature))
            throw ImportError(NonFiniteTemperatureMessage(temperatureText, static_cast<int>(read) + 1));
        plate.PlateData[1][read] = temperature;
        review.AddRead(xText, temperatureText);

        double sum = 0.0;
        for (std::size_t row = 0; row < rows; ++row) {
            if (row > 0) {
                fields = RowFields(lines.Line(cursor + row));
                fields.Skip(2);
            }
            for (std::size_t k = 0; k < waveLengthCount; ++k) {
                const std::size_t firstColumn = 2 + k * wellCount + row * columns;
                for (std::size_t column = 0; column < columns; ++column) {
                    const std::string_view text = fields.Next();
                    const int well = static_cast<int>(row * columns + column);
                    const double value = ReadCell(text, cursor + row, well, plate.PlateColumns);
                    if (!std::isfinite(value)) [[unlikely]]
                        throw ImportError(NonFiniteReadingMessage(
                            text, WellName(well, plate.PlateColumns),
                            static_cast<int>(k) + 1, static_cast<int>(read) + 1));
                    plate.PlateData[firstColumn + column][read] = value;
                    if (value == 0.0 && text == "Range?") [[unlikely]]
                        plate.OutOfRangeCells.push_back({static_cast<std::int32_t>(row * columns + column),
                                                         static_cast<std::int32_t>(k) + 1,
                                                         static_cast<std::int32_t>(read)});
                    sum += value;
                }
                fields.Skip(1);
            }
        }
        // A read cut off by the end of the file is as unusable as an empty one.
        const bool cutOff = cursor + rows > lineCount;
        cursor += linesPerRead;
        if (sum == 0.0 || cutOff) break;
        ++read;
    }

    // Nothing to show: the loaded plate stays rather than an empty one.
    if (read == 0) throw ImportError(NoReadsMessage(readCount));
    imported.AnnouncedReads = readCount;
    plate.TimePointCount = static_cast<std::int32_t>(read);
    review.SetSize(plate.WellCount * plate.WaveLengthCount + 3, plate.TimePointCount + 1);
    plate.LastXValue = plate.PlateData[0][read - 1];
    return imported;
}

std::string MissingReadsWarning(const ImportedPlate& imported)
{
    const std::int64_t read = imported.plate.TimePointCount;
    if (read >= imported.AnnouncedReads) return {};
    return "Only " + std::to_string(read) + " of the " + std::to_string(imported.AnnouncedReads) +
           " reads the file announces could be read.";
}

std::string DescribePlate(const ImportedPlate& imported)
{
    const PlateMeasurements& plate = imported.plate;
    const bool kinetic = plate.ReadMode == "Kinetic";
    std::string text = "mode: " + plate.ReadMode + "\n";
    text += "wells: " + std::to_string(plate.WellCount) + " (" + std::to_string(plate.PlateRows) + " rows x " +
            std::to_string(plate.PlateColumns) + " columns)\n";
    text += "wavelengths: " + std::to_string(plate.WaveLengthCount) + " (" + imported.summary + ")\n";
    text += "reads: " + std::to_string(plate.TimePointCount);
    if (imported.AnnouncedReads > plate.TimePointCount)
        text += " of " + std::to_string(imported.AnnouncedReads) + " announced";
    text += "\n";
    const char* unit = kinetic ? " h" : " nm";
    if (plate.TimePointCount > 0)
        text += "x range: " + FormatGeneral(plate.PlateData[0][0]) + " to " + FormatGeneral(plate.LastXValue) +
                unit + "\n";
    else
        text += "x range: none\n";
    return text;
}

} // namespace movra
