// Data reduction: which wells a sample shows as curves (column-major, at
// most eight), the table of every sample's wells (row-major), the combined
// value of a well at a read (missing wavelengths, the choice of combination
// for a plate, the track-bar weighting, faults of the formula) and the curve
// buffer with averaging.

#include "reduction/combination_choice.h"
#include "reduction/sample_wells.h"
#include "reduction/wavelength_combination.h"

#include <gtest/gtest.h>

#include "shared/conversion.h"

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

struct Reduction : ::testing::Test {
    Reduction()
    {
        layout.Reset();
        curves.Reset();
    }
    std::vector<int> Shown() const
    {
        std::vector<int> wells;
        for (std::size_t curve = 1; curves.ShownWells[curve] >= 0; ++curve) wells.push_back(curves.ShownWells[curve]);
        return wells;
    }
    PlateLayout layout;
    PlateMeasurements plate = SmallPlate(1);
    ShownCurves curves;
    SampleAssignment samples;
};

TEST_F(Reduction, ShownWellsAreTheFirstEightInColumnMajorOrderOfASampleNamedInFull)
{
    layout.SetCell(2, 1, "Sample1");  // A2 = well 1
    layout.SetCell(1, 2, "Sample1");  // B1 = well 12
    layout.SetCell(1, 1, "Sample1");  // A1 = well 0
    layout.SetCell(1, 3, "Sample12");
    EXPECT_EQ(CollectShownWells(layout, "Sample1", plate, curves), ShownWellsOutcome::Collected);
    EXPECT_EQ(Shown(), (std::vector<int>{0, 12, 1}));
    EXPECT_EQ(CollectShownWells(layout, "Samp", plate, curves), ShownWellsOutcome::NothingChosen);  // too short
    EXPECT_EQ(Shown(), (std::vector<int>{0, 12, 1}));
    EXPECT_EQ(CollectShownWells(layout, "Sampl", plate, curves), ShownWellsOutcome::Collected);
    EXPECT_EQ(Shown(), std::vector<int>{});
    for (int row = 1; row <= 8; ++row) layout.SetCell(1, row, "Sample1");
    layout.SetCell(3, 1, "Sample1");
    EXPECT_EQ(CollectShownWells(layout, "Sample1", plate, curves), ShownWellsOutcome::TooManyWells);
    EXPECT_EQ(Shown(), (std::vector<int>{0, 12, 24, 36, 48, 60, 72, 84}));
    EXPECT_EQ(CollectShownWells(layout, "Sample1", PlateMeasurements(), curves), ShownWellsOutcome::Collected);
    EXPECT_EQ(Shown(), std::vector<int>{});  // nothing before an import
}

TEST_F(Reduction, AClickedWellIsShownWithTheBlockOfEightOfItsSampleThatHoldsIt)
{
    for (int column = 1; column <= 2; ++column)
        for (int row = 1; row <= 8; ++row) layout.SetCell(column, row, "Sample1");
    layout.SetCell(3, 1, "Sample1");  // A3: the seventeenth well of Sample1
    const std::pair<int, std::vector<int>> cases[] = {
        {13, {1, 13, 25, 37, 49, 61, 73, 85}}, {2, {2}}, {95, {95}}};  // B2, A3, H12 without a sample: alone
    for (const auto& [well, shown] : cases) {
        CollectShownWellsAround(layout, well, plate, curves);
        EXPECT_EQ(Shown(), shown) << well;
    }
}

TEST_F(Reduction, SampleTableListsWellsRowMajorAndSkipsNumbersOffThePlate)
{
    layout.SetCell(1, 2, "Sample3");  // B1 = 12
    layout.SetCell(4, 1, "Sample3");  // A4 = 3
    layout.SetCell(5, 5, "Sample96");
    layout.SetCell(1, 1, "Sample0");
    layout.SetCell(2, 1, "Sample97");
    FillSampleArray(layout, PlateMeasurements(), samples);  // nothing before an import
    EXPECT_EQ(samples.SampleWellCount, 0);
    FillSampleArray(layout, plate, samples);
    EXPECT_EQ(samples.SampleWellCount, 3);
    const std::tuple<int, int, int> wells[] = {{3, 1, 3}, {3, 2, 12}, {3, 3, -1}, {96, 1, 52}, {2, 1, -1}};
    for (const auto& [sample, slot, well] : wells) EXPECT_EQ(samples.SampleWells[sample][slot], well) << sample;
    layout.SetCell(1, 1, "Sample1x");
    EXPECT_THROW(FillSampleArray(layout, plate, samples), ConversionError);
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
        {4, 50, {3, 2}, "a+b+c+d", 1, 0, 101 + 201 + 301 + 0.5 * 401},  // choosers on D and C
        // Division by zero gives zero, overflow a huge value.
        {2, 100, {0, 1}, "a/(b-201)", 1, 0, 0.0},  {1, 100, {0, 1}, "exp(a*10)", 3, 0, 1e100},
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
    TParser parser;
    const PlateMeasurements plate = SmallPlate(1);
    ParserCombinedValues invalid(parser, plate, "ln(0-a)", {}), rejected(parser, plate, "b-", {});
    invalid.CompileCombination();
    EXPECT_THROW(invalid.CalcYpos(3, 0), EInvalidOp);  // other faults pass
    EXPECT_THROW(rejected.CompileCombination(), EMathParserError);
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
        EXPECT_EQ(std::tuple(choice.Text, choice.Warning), std::tuple(c.Chosen, c.Warning)) << c.Text;
    }
}

TEST(Combination, TrackBarLabelsShowBothFactorsInPercent)
{
    const std::tuple<int, const char*, const char*> cases[] = {
        {0, "0", "100"}, {37, "37", "100"}, {100, "100", "100"}, {150, "100", "50"}, {200, "100", "0"}};
    for (const auto& [position, label4, label5] : cases)
        EXPECT_EQ(std::tuple(TrackBarFactors(position).Label4, TrackBarFactors(position).Label5),
                  std::tuple(label4, label5)) << position;
}

TEST_F(Reduction, CurvesOfTheShownWellsOrTheirRunningMeanInCurveOne)
{
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
