#pragma once
// The refusals of the SpectraMax import. Each carries the exact text the
// user sees; a field that does not convert raises ConversionError
// (shared/conversion.h) instead. Either way the loaded plate is untouched.

#include <stdexcept>
#include <string>

namespace movra {

inline constexpr const char* kNotSpectraMaxFile = "File is not at SpectraMax text file!";
inline constexpr const char* kNotPlateFormat = "File is not saved as plate format!";
inline constexpr const char* kNotKineticOrSpectrum = "The file is not a kinetic/spectrum assay!";

class ImportError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A file that cannot be opened or read.
class FileReadError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace movra
