#pragma once
// Turning a well's readings into one value per read: the combination formula
// in a, b, c and d (compiled into the parser that owns the variables A..D),
// the track-bar weighting of two chosen wavelengths, and the curve buffer
// ReducedData of the shown wells, optionally averaged into curve 1.

#include <string>

#include "parser/parser.h"
#include "plate/plate_measurements.h"
#include "reduction/combined_values.h"
#include "reduction/shown_curves.h"

namespace movra {

// The two wavelength choosers (item index 0..3 names A..D; any other index
// weights nothing) and the track bar's factors for the wavelengths they name.
struct WavelengthWeighting {
    int ComboBox1 = 0;
    int ComboBox2 = 1;
    double WaveFactorA = 1.0;
    double WaveFactorB = 1.0;
};

// The combination of one plate through one parser. A missing wavelength
// reads as 1.0; the weighting applies after that default. A division of a
// non-zero value by zero gives 0.0 and an overflow 1E100; any other fault of
// the formula propagates.
class ParserCombinedValues final : public CombinedValues {
public:
    ParserCombinedValues(TParser& parser1, const PlateMeasurements& plate, std::string combinationText,
                         WavelengthWeighting weighting);

    void CompileCombination() override;
    double CalcYpos(int well, int read) override;

private:
    TParser& parser_;
    const PlateMeasurements& plate_;
    std::string combinationText_;
    WavelengthWeighting weighting_;
};

// Recomputes ReducedData for the shown curves (wells of ShownWells until the
// first negative slot). With averageData the running mean of all shown wells
// goes to curve 1 and curves 2..8 keep their old content. ReducedData is
// allocated here (all zero) when it does not yet hold the plate's reads.
void CalculateReducedData(const PlateMeasurements& plate, ShownCurves& curves, CombinedValues& values,
                          bool averageData);

// The factors and percent labels of the track bar position 0..200: below 100
// the first chosen wavelength is scaled down, above 100 the second.
struct TrackBarWeights {
    double WaveFactorA = 1.0;
    double WaveFactorB = 1.0;
    std::string Label4;  // WaveFactorA in percent
    std::string Label5;  // WaveFactorB in percent
};
TrackBarWeights TrackBarFactors(int position);

} // namespace movra
