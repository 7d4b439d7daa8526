#include "plate/plate_header.h"

#include <string>

#include "plate/import_errors.h"
#include "plate/import_fields.h"
#include "plate/sm_import.h"
#include "shared/conversion.h"

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

} // namespace

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
