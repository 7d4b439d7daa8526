#include "plate/plate_measurements.h"

namespace movra {

std::string WellName(int well, int plateColumns)
{
    std::string name(1, static_cast<char>('A' + well / plateColumns));
    name += std::to_string(well % plateColumns + 1);
    return name;
}

} // namespace movra
