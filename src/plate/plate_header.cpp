#include "plate/plate_header.h"

#include <algorithm>
#include <string>
#include <vector>

#include "plate/import_errors.h"
#include "plate/import_fields.h"
#include "plate/sm_import.h"
#include "shared/conversion.h"
#include "shared/message_text.h"

namespace movra {
namespace {

constexpr char kTab = '\t';

bool IsKineticOrSpectrumHeader(std::string_view line)
{
    SkipFields(line, 3);
    if (SplitField(kTab, line) != "PlateFormat") return false;
    const std::string_view mode = SplitField(kTab, line);
    return mode == "Kinetic" || mode == "Spectrum";
}

std::string Plural(int count, const char* noun)
{
    return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

// The fields after the x and temperature captions, without the empty ones
// at the end.
std::vector<std::string_view> ColumnFields(std::string_view line)
{
    std::vector<std::string_view> fields;
    for (int skipped = 0; skipped < 2; ++skipped) {
        const auto tab = line.find(kTab);
        if (tab == std::string_view::npos) return fields;
        line.remove_prefix(tab + 1);
    }
    while (true) {
        const auto tab = line.find(kTab);
        fields.push_back(line.substr(0, tab));
        if (tab == std::string_view::npos) break;
        line.remove_prefix(tab + 1);
    }
    while (!fields.empty() && fields.back().empty()) fields.pop_back();
    return fields;
}

// What the column header names, for the message: "12 columns at 2
// wavelengths", or the first field that breaks the pattern.
std::string DescribeColumnHeader(const std::vector<std::string_view>& fields)
{
    std::vector<int> groups{0};
    for (const std::string_view field : fields) {
        if (field.empty() && groups.back() > 0) {
            groups.push_back(0);
        } else if (field == std::to_string(groups.back() + 1)) {
            ++groups.back();
        } else {
            return QuotedForMessage(field) + " where column " + std::to_string(groups.back() + 1) + " of wavelength " +
                   std::to_string(groups.size()) + " should be";
        }
    }
    if (groups.back() == 0) return "no columns";
    const auto count = static_cast<int>(groups.size());
    if (std::all_of(groups.begin(), groups.end(), [&](int size) { return size == groups.front(); }))
        return Plural(groups.front(), "column") + " at " + Plural(count, "wavelength");
    std::string sizes;
    for (const int size : groups) sizes += (sizes.empty() ? "" : ", ") + std::to_string(size);
    return "groups of " + sizes + " columns";
}

} // namespace

void CheckColumnHeader(std::string_view line, int wellCount, int columns, int waveLengthCount)
{
    const std::vector<std::string_view> fields = ColumnFields(line);
    bool matches = fields.size() == static_cast<std::size_t>(waveLengthCount * (columns + 1) - 1);
    for (std::size_t i = 0; matches && i < fields.size(); ++i) {
        const auto column = static_cast<int>(i % static_cast<std::size_t>(columns + 1)) + 1;
        matches = column > columns ? fields[i].empty() : fields[i] == std::to_string(column);
    }
    if (matches) return;
    throw ImportError("The plate header announces " + std::to_string(wellCount) + " wells (" +
                      Plural(columns, "column") + ") at " + Plural(waveLengthCount, "wavelength") +
                      ", but the column header names " + DescribeColumnHeader(fields) + "!");
}

void SkipFields(std::string_view& line, int count)
{
    for (int i = 0; i < count; ++i) SplitField(kTab, line);
}

bool PlateHeader::HasSecondList() const
{
    return !(readType == "Absorbance" && version >= 1.3);
}

PlateHeader ReadPlateHeader(std::string_view line)
{
    PlateHeader header;
    SkipFields(line, 2);
    header.version = ParseCellValue(SplitField(kTab, line));
    if (SplitField(kTab, line) != "PlateFormat") throw ImportError(kNotPlateFormat);
    header.readMode = SplitField(kTab, line);
    if (header.readMode != "Kinetic" && header.readMode != "Spectrum") throw ImportError(kNotKineticOrSpectrum);
    header.readType = SplitField(kTab, line);
    SkipFields(line, 2);
    // Only the layouts with the extra field (all but absorbance) move the
    // read count to field 10 from version 1.3 on.
    if (header.version >= 1.3 && header.readType != "Absorbance") {
        SkipFields(line, 1);
        header.readCountField = 10;
    }
    header.readCount = StrToInt(SplitField(kTab, line));

    if (header.readMode == "Kinetic") {
        SkipFields(line, 5);
        header.waveLengthCount = StrToInt(SplitField(kTab, line));
        if (header.waveLengthCount < 1 || header.waveLengthCount > kMaxWaveLengths)
            throw ImportError("The file announces " + std::to_string(header.waveLengthCount) +
                              " wavelengths; only 1 to " + std::to_string(kMaxWaveLengths) + " can be read!");
        header.firstList = SplitField(kTab, line);
        StrToInt(SplitField(kTab, line));
        StrToInt(SplitField(kTab, line));
        header.wellCount = StrToInt(SplitField(kTab, line));
        header.fieldN11 = SplitField(kTab, line);
    } else {
        SkipFields(line, 2);
        header.spectrumStart = StrToInt(SplitField(kTab, line));
        header.spectrumEnd = StrToInt(SplitField(kTab, line));
        header.spectrumStep = StrToInt(SplitField(kTab, line));
        SkipFields(line, 2);
        StrToInt(SplitField(kTab, line));
        StrToInt(SplitField(kTab, line));
        header.wellCount = StrToInt(SplitField(kTab, line));
        header.fieldN11 = SplitField(kTab, line);
        SkipFields(line, 2);
        header.fieldN14 = SplitField(kTab, line);
    }
    return header;
}

std::size_t FindPlateHeaderLine(const TextLines& lines)
{
    constexpr std::size_t kUsualLine = 1;
    if (IsKineticOrSpectrumHeader(lines.Line(kUsualLine))) return kUsualLine;
    std::size_t firstPlate = kUsualLine;
    bool plateSeen = false;
    for (std::size_t i = 2; i < lines.Count(); ++i) {
        const std::string_view line = lines.Line(i);
        if (!line.starts_with("Plate:")) continue;
        if (IsKineticOrSpectrumHeader(line)) return i;
        if (!plateSeen) {
            plateSeen = true;
            firstPlate = i;
        }
    }
    if (lines.Line(kUsualLine).starts_with("Plate:")) return kUsualLine;
    return firstPlate;
}

} // namespace movra
