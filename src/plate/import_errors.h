#pragma once
// The refusals of the SpectraMax import. Each carries the exact text the
// user sees; a field that does not convert raises ConversionError
// (shared/conversion.h) instead. Either way the loaded plate is untouched.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

#include "shared/message_text.h"

namespace movra {

inline constexpr const char* kNotSpectraMaxFile = "File is not at SpectraMax text file!";
inline constexpr const char* kNotPlateFormat = "File is not saved as plate format!";
inline constexpr const char* kNotKineticOrSpectrum = "The file is not a kinetic/spectrum assay!";

class ImportError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A number too large for the machine (such as "1E999") is refused rather
// than read as an infinity: no fit can use it, and a silent 0 would look like
// a real reading. The messages name the cell.
inline std::string NonFiniteReadingMessage(std::string_view text, const std::string& wellName, int wavelength,
                                           int read)
{
    return "The reading " + QuotedForMessage(text) + " of well " + wellName + " (wavelength " +
           std::to_string(wavelength) + ", read " + std::to_string(read) + ") is not a finite number!";
}

inline std::string NonFiniteTemperatureMessage(std::string_view text, int read)
{
    return "The temperature " + QuotedForMessage(text) + " of read " + std::to_string(read) +
           " is not a finite number!";
}

inline std::string NonFiniteXMessage(std::string_view text, int read)
{
    return "The x value " + QuotedForMessage(text) + " of read " + std::to_string(read) + " is not a finite number!";
}

inline std::string NonFiniteTimeOffsetMessage(std::string_view text)
{
    return "The time offset " + QuotedForMessage(text) + " is not a finite number!";
}

// A file whose header was read but which holds no complete read.
inline std::string NoReadsMessage(std::int64_t announcedReads)
{
    return "The file holds no complete read (" + std::to_string(announcedReads) + " announced)!";
}

// A file that cannot be opened or read.
class FileReadError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace movra
