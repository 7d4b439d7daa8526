#include "reduction/wavelength_combination.h"

#include <utility>

#include "shared/number_format.h"
#include "shared/one_based.h"

namespace movra {
namespace {

double& WeightedVariable(TParser& parser, int index)
{
    switch (index) {
    case 0: return parser.A();
    case 1: return parser.B();
    case 2: return parser.C();
    default: return parser.D();
    }
}

} // namespace

ParserCombinedValues::ParserCombinedValues(TParser& parser1, const PlateMeasurements& plate,
                                           std::string combinationText, WavelengthWeighting weighting)
    : parser_(parser1), plate_(plate), combinationText_(std::move(combinationText)), weighting_(weighting)
{
}

void ParserCombinedValues::CompileCombination()
{
    parser_.setExpression(combinationText_);
}

double ParserCombinedValues::CalcYpos(int well, int read)
{
    const PlateMeasurements& plate = plate_;
    const int wavelengths = plate.WaveLengthCount;
    parser_.A() = plate.Reading(well, 1, read);
    parser_.B() = wavelengths >= 2 ? plate.Reading(well, 2, read) : 1.0;
    parser_.C() = wavelengths >= 3 ? plate.Reading(well, 3, read) : 1.0;
    parser_.D() = wavelengths >= 4 ? plate.Reading(well, 4, read) : 1.0;
    if (weighting_.ComboBox1 >= 0 && weighting_.ComboBox1 <= 3)
        WeightedVariable(parser_, weighting_.ComboBox1) *= weighting_.WaveFactorA;
    if (weighting_.ComboBox2 >= 0 && weighting_.ComboBox2 <= 3)
        WeightedVariable(parser_, weighting_.ComboBox2) *= weighting_.WaveFactorB;

    FaultKind fault = FaultKind::None;
    const double value = parser_.Evaluate(fault);
    switch (fault) {
    case FaultKind::None: return value;
    case FaultKind::ZeroDivide: return 0.0;
    case FaultKind::Overflow: return 1e100;
    case FaultKind::InvalidOperation: throw EInvalidOp();
    case FaultKind::IntegerDivideByZero: throw EDivByZero();
    }
    return value;
}

void CalculateReducedData(const PlateMeasurements& plate, ShownCurves& curves, CombinedValues& values,
                          bool averageData)
{
    if (plate.TimePointCount <= 0) return;
    if (curves.ReducedData.size() <= static_cast<std::size_t>(kMaxShownCurves) ||
        curves.ReducedData[1].size() <= static_cast<std::size_t>(plate.TimePointCount))
        AllocMatrix(curves.ReducedData, kMaxShownCurves, plate.TimePointCount);
    for (int curve = 1; curve <= kMaxShownCurves; ++curve) {
        const int well = At(curves.ShownWells, curve);
        if (well < 0) break;
        // Wells collected on a larger plate have no readings on this one.
        if (well >= plate.WellCount) continue;
        const auto row = static_cast<std::size_t>(averageData ? 1 : curve);
        auto& reduced = curves.ReducedData[row];
        for (int read = 0; read < plate.TimePointCount; ++read) {
            const double y = values.CalcYpos(well, read);
            auto& cell = reduced[static_cast<std::size_t>(read) + 1];
            cell = averageData ? (y + (curve - 1) * cell) / curve : y;
        }
    }
}

TrackBarWeights TrackBarFactors(int position)
{
    TrackBarWeights weights;
    if (position >= 100)
        weights.WaveFactorB = (200 - position) / 100.0;
    else
        weights.WaveFactorA = position / 100.0;
    weights.Label4 = FormatGeneral(weights.WaveFactorA * 100);
    weights.Label5 = FormatGeneral(weights.WaveFactorB * 100);
    return weights;
}

} // namespace movra
