#pragma once
// The plate header line of a SpectraMax plate-format export ("Plate:" ...)
// as far as the import uses it, and where to find it in the file. Field
// positions follow the export layout: the read count stands in field N (9,
// or 10 for non-absorbance reads from version 1.3 on, which carry one extra
// field), and the wavelength, well and spectrum fields follow at fixed
// distances from N.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "plate/text_lines.h"

namespace movra {

struct PlateHeader {
    double version = 0.0;
    std::string readMode;           // "Kinetic" or "Spectrum"
    std::string_view readType;      // field 6, such as "Absorbance" or "Fluorescence"
    int readCountField = 9;         // N
    std::int64_t readCount = 0;     // R
    std::int32_t waveLengthCount = 1;
    std::string_view firstList;     // N+7
    std::string_view fieldN11;      // second wavelength list, or the fixed wavelength
    std::string_view fieldN14;      // spectrum only
    std::int32_t wellCount = 0;
    std::int32_t spectrumStart = 0;
    std::int32_t spectrumEnd = 0;
    std::int32_t spectrumStep = 0;

    // Absorbance exports carry no second wavelength list from version 1.3 on
    // (N+11 is a row index or empty); every second number is then 0.
    bool HasSecondList() const;
};

// Reads the header; refuses (ImportError) a line that is not plate format or
// not a kinetic or spectrum read, and raises ConversionError for a field that
// does not convert. The views point into line.
PlateHeader ReadPlateHeader(std::string_view line);

// The line index of the plate to import: line 1 when it is a kinetic or
// spectrum plate header, otherwise the first line beginning with "Plate:"
// that is one (files may start with notes or an endpoint plate). When there
// is none, the first "Plate:" line (or line 1), so that reading it gives the
// refusal that fits.
std::size_t FindPlateHeaderLine(const TextLines& lines);

// Refuses (ImportError) a column header line (the line below the plate
// header) that does not name the columns the plate header announces: after
// the x and temperature captions, "1" .. columns for every wavelength, the
// groups separated by one empty field (empty fields at the end do not
// count). A header announcing 384 wells over rows of 96 would otherwise read
// blanks as 0 and the second wavelength's cells as wells:
//   "The plate header announces 384 wells (24 columns) at 1 wavelength, but
//    the column header names 12 columns at 2 wavelengths!"
void CheckColumnHeader(std::string_view line, int wellCount, int columns, int waveLengthCount);

// Skips count tab-separated fields of line.
void SkipFields(std::string_view& line, int count);

} // namespace movra
