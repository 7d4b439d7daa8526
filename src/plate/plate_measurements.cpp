#include "plate/plate_measurements.h"

namespace movra {

std::string WellName(int well, int plateColumns)
{
    std::string name(1, static_cast<char>('A' + well / plateColumns));
    name += std::to_string(well % plateColumns + 1);
    return name;
}

std::string ValueNameOfReadType(std::string_view readType)
{
    if (readType.starts_with("Absorbance")) return "OD";
    if (readType.starts_with("Luminescence")) return "RLU";
    return "RFU";
}

} // namespace movra
