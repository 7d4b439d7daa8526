#include "plate/plate_state.h"

namespace movra {

std::string WellName(int well, int plateColumns)
{
    std::string name(1, static_cast<char>('A' + well / plateColumns));
    name += std::to_string(well % plateColumns + 1);
    return name;
}

void PlateState::ResetWorkingState()
{
    SampleCount = 1;
    plate.LastXValue = 0.0;
    GraphYMax = 2.0;
    GraphYMin = 0.5;
    ShownWells.fill(-1);
    CurveColors = {0x000000, 0x0000FF, 0xFF0000, 0x00FF00, 0xFF00FF,
                   0x00FFFF, 0xF0CAA6, 0x0080FF, 0x000000};
    AllocMatrix(WellFitResults, kMaxWells, kFitResultColumns - 1);
    for (auto& row : WellFitResults) {
        row[0] = -1.0;
        row[1] = 10000.0;
    }
    WaveFactorA = 1.0;
    WaveFactorB = 1.0;
}

} // namespace movra
