// The combined value of a well at a read: missing wavelengths, the choice of
// combination for a plate, the track-bar weighting, faults of the formula,
// and the curve buffer with averaging.

#include "reduction/combination_choice.h"
#include "reduction/wavelength_combination.h"

#include <gtest/gtest.h>

namespace movra {
namespace {

// A 96-well plate with `wavelengths` readings per well and three reads; the
// reading of well w at wavelength k and read t is 100k + w + t/10.
PlateMeasurements SmallPlate(int wavelengths)
{
    PlateMeasurements plate;
    plate.WellCount = 96, plate.PlateRows = 8, plate.PlateColumns = 12, plate.TimePointCount = 3;
    plate.WaveLengthCount = wavelengths;
    plate.PlateData.assign(static_cast<std::size_t>(2 + wavelengths * 96), std::vector<double>(3, 0.0));
    for (int k = 1; k <= wavelengths; ++k)
        for (int w = 0; w < 96; ++w)
            for (int t = 0; t < 3; ++t)
                plate.PlateData[static_cast<std::size_t>(PlateDataColumn(k, w, 96))][static_cast<std::size_t>(t)] =
                    100.0 * k + w + t / 10.0;
    return plate;
}

TEST(Combination, MissingWavelengthsReadAsOneBeforeTheWeighting)
{
    struct Case { int Wavelengths, TrackBar; WavelengthWeighting Choosers; const char* Text; int Well, Read; double Value; };
    const Case cases[] = {
        {1, 100, {0, 1}, "b-a", 5, 0, 1.0 - 105.0},
        {1, 100, {0, 1}, "a/b", 5, 2, 105.2},
        {1, 100, {0, 1}, "c*d", 0, 0, 1.0},
        {1, 0, {1, 0}, "b", 0, 0, 0.0},  // a missing wavelength is weighted too
        {2, 100, {0, 1}, "b-a", 13, 1, 100.0},
        {2, 0, {0, 1}, "b-a", 0, 0, 200.0},  // the bar at 0 removes the first chosen wavelength
        {2, 150, {0, 1}, "b-a", 0, 0, 0.5 * 200 - 100},
        {1, 100, {0, 0}, "a", 4, 0, 104.0},  // both choosers on A: weighted twice
        {1, 50, {0, 0}, "a", 4, 0, 52.0},
        {1, 50, {-1, 7}, "a", 4, 0, 104.0},  // choosers off the list weight nothing
    };
    for (const Case& c : cases) {
        const PlateMeasurements plate = SmallPlate(c.Wavelengths);
        WavelengthWeighting weighting = c.Choosers;
        weighting.WaveFactorA = TrackBarFactors(c.TrackBar).WaveFactorA;
        weighting.WaveFactorB = TrackBarFactors(c.TrackBar).WaveFactorB;
        TParser parser;
        ParserCombinedValues values(parser, plate, c.Text, weighting);
        values.CompileCombination();
        EXPECT_DOUBLE_EQ(values.CalcYpos(c.Well, c.Read), c.Value) << c.Text << " bar " << c.TrackBar;
    }
}

// The untouched default follows the plate; a typed combination stays and is
// warned about when it names a wavelength the plate lacks.
TEST(Combination, DefaultFollowsThePlateTypedOnesAreKeptWithAWarning)
{
    struct Case { const char* Text; bool Typed; int Wavelengths; const char* Chosen; const char* Warning; };
    const Case cases[] = {
        {"b-a", false, 1, "a", ""},
        {"a", false, 2, "b-a", ""},
        {"b-a", true, 1, "b-a", "The combination \"b-a\" uses wavelength b, but the plate has 1 wavelength: b reads as 1."},
        {"C*d+A", true, 2, "C*d+A",
         "The combination \"C*d+A\" uses wavelengths c, d, but the plate has 2 wavelengths: c, d read as 1."},
        {"abs(a)+1e5*cosh(a)+2.5E-3", true, 1, "abs(a)+1e5*cosh(a)+2.5E-3", ""},  // function names and exponents
        {"b", true, 4, "b", ""},
    };
    for (const Case& c : cases) {
        const CombinationChoice choice = ChooseCombination(c.Text, c.Typed, c.Wavelengths);
        EXPECT_EQ(choice.Text, c.Chosen) << c.Text;
        EXPECT_EQ(choice.Warning, c.Warning) << c.Text;
    }
}

TEST(Combination, TrackBarLabelsShowBothFactorsInPercent)
{
    const std::tuple<int, const char*, const char*> cases[] = {
        {0, "0", "100"}, {37, "37", "100"}, {100, "100", "100"}, {150, "100", "50"}, {200, "100", "0"}};
    for (const auto& [position, label4, label5] : cases) {
        EXPECT_EQ(TrackBarFactors(position).Label4, label4) << position;
        EXPECT_EQ(TrackBarFactors(position).Label5, label5) << position;
    }
}

TEST(Combination, DivisionByZeroGivesZeroOverflowAHugeValueOtherFaultsPass)
{
    PlateMeasurements plate = SmallPlate(2);
    plate.PlateData[static_cast<std::size_t>(PlateDataColumn(2, 3, 96))][0] = 0.0;
    TParser parser;
    const auto value = [&](const char* text) {
        ParserCombinedValues values(parser, plate, text, {});
        values.CompileCombination();
        return values.CalcYpos(3, 0);
    };
    EXPECT_EQ(value("a/b"), 0.0);
    EXPECT_EQ(value("exp(a*10)"), 1e100);
    EXPECT_THROW(value("ln(0-a)"), EInvalidOp);
    EXPECT_THROW(value("b-"), EMathParserError);
}

TEST(Combination, CurvesOfTheShownWellsOrTheirRunningMeanInCurveOne)
{
    const PlateMeasurements plate = SmallPlate(1);
    ShownCurves curves;
    curves.ShownWells = {0, 0, 1, 5, 96, -1};  // well 96 exists only on a larger plate
    AllocMatrix(curves.ReducedData, 8, 3);
    curves.ReducedData[2][1] = -7.0;
    curves.ReducedData[4][1] = -7.0;
    TParser parser;
    ParserCombinedValues values(parser, plate, "a", {});
    values.CompileCombination();
    CalculateReducedData(plate, curves, values, true);
    EXPECT_DOUBLE_EQ(curves.ReducedData[1][1], 102.0);
    EXPECT_DOUBLE_EQ(curves.ReducedData[1][3], 102.2);
    EXPECT_EQ(curves.ReducedData[2][1], -7.0);  // untouched
    CalculateReducedData(plate, curves, values, false);
    EXPECT_DOUBLE_EQ(curves.ReducedData[1][1], 100.0);
    EXPECT_DOUBLE_EQ(curves.ReducedData[3][2], 105.1);
    EXPECT_EQ(curves.ReducedData[4][1], -7.0);  // no readings of well 96 on this plate
}

} // namespace
} // namespace movra
