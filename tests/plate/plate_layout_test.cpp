#include "plate/plate_layout.h"
#include "plate/plate_layout_file.h"
#include "shared/conversion.h"

#include <gtest/gtest.h>

namespace movra {
namespace {

using Labels = std::vector<std::string>;

struct FreshLayout : ::testing::Test {
    FreshLayout() { layout.Reset(); }
    PlateLayout layout;
    std::int32_t sampleCount = 1;
};

TEST_F(FreshLayout, ShowsA96WellGridWithHeadersForTheLargestPlate)
{
    EXPECT_EQ(layout.ColCount(), 13);
    EXPECT_EQ(layout.RowCount(), 9);
    EXPECT_EQ(layout.Cell(1, 0), "1");
    EXPECT_EQ(layout.Cell(24, 0), "24");
    EXPECT_EQ(layout.Cell(0, 1), "A");
    EXPECT_EQ(layout.Cell(0, 16), "P");
    EXPECT_EQ(layout.SampleMenuTags(), std::vector<int>{1});
}

TEST_F(FreshLayout, UsingTheTopSampleOffersTheNextOne)
{
    EXPECT_TRUE(layout.AssignSample(1, {1, 1, 3, 2}, sampleCount));
    EXPECT_EQ(sampleCount, 2);
    EXPECT_EQ(layout.SampleMenuTags(), (std::vector<int>{2, 1}));
    EXPECT_EQ(layout.Cell(3, 2), "Sample1");
    EXPECT_EQ(layout.Cell(4, 2), "");
    EXPECT_EQ(layout.CheckPLSamples(), Labels{"Sample1"});

    EXPECT_TRUE(layout.AssignSample(2, {5, 1, 5, 1}, sampleCount));
    EXPECT_EQ(layout.SampleMenuTags(), (std::vector<int>{3, 2, 1}));
    EXPECT_EQ(layout.CheckPLSamples(), (Labels{"Sample1", "Sample2"}));
}

TEST_F(FreshLayout, ReusingALowerSampleAddsNoItemAndAsksNoRebuild)
{
    layout.AssignSample(1, {1, 1, 1, 1}, sampleCount);
    layout.AssignSample(2, {2, 1, 2, 1}, sampleCount);
    // Overwrites the only Sample2 cell; the caller does not rebuild the chooser.
    EXPECT_FALSE(layout.AssignSample(1, {2, 1, 2, 1}, sampleCount));
    EXPECT_EQ(sampleCount, 3);
    EXPECT_EQ(layout.SampleMenuTags().size(), 3u);
}

// Typed numbers the menu lacks get their item in order; one at or above the
// top makes the number after it the new top.
TEST_F(FreshLayout, TypedNumbersJoinTheMenuInOrder)
{
    const std::tuple<int, bool, std::vector<int>, int> steps[] = {
        {5, true, {6, 5, 1}, 6}, {3, true, {6, 5, 3, 1}, 6}, {3, false, {6, 5, 3, 1}, 6}, {6, true, {7, 6, 5, 3, 1}, 7}};
    for (const auto& [number, changed, tags, count] : steps) {
        EXPECT_EQ(layout.AssignSample(number, {1, 1, 1, 1}, sampleCount), changed) << number;
        EXPECT_EQ(layout.SampleMenuTags(), tags) << number;
        EXPECT_EQ(sampleCount, count) << number;
    }
}

// After a layout file: every sample in it, highest first, under the next free
// number; the well counts per label for the legend.
TEST_F(FreshLayout, LoadedSamplesAreOfferedUnderTheNextFreeNumber)
{
    layout.AssignSample(1, {1, 1, 1, 1}, sampleCount);
    layout.SetCell(2, 1, "Sample12");
    layout.SetCell(3, 1, "Sample3");
    layout.SetCell(4, 1, "Sample12");
    layout.ClearCells({1, 1, 1, 1});
    layout.OfferSamplesInUse(sampleCount);
    EXPECT_EQ(layout.SampleMenuTags(), (std::vector<int>{13, 12, 3}));
    EXPECT_EQ(sampleCount, 13);
    const std::vector<SampleUse> uses = layout.SamplesInUse();
    ASSERT_EQ(uses.size(), 2u);
    EXPECT_EQ(std::tuple(uses[0].Label, uses[0].Number, uses[0].Wells), std::tuple("Sample3", 3, 1));
    EXPECT_EQ(std::tuple(uses[1].Label, uses[1].Wells), std::tuple("Sample12", 2));
}

TEST_F(FreshLayout, ClearRemovesASampleFromTheChooser)
{
    layout.AssignSample(1, {1, 1, 1, 1}, sampleCount);
    layout.AssignSample(2, {2, 2, 3, 3}, sampleCount);
    layout.ClearCells({2, 2, 3, 3});
    EXPECT_EQ(layout.CheckPLSamples(), Labels{"Sample1"});
}

TEST_F(FreshLayout, SelectionNeverReachesTheHeaders)
{
    layout.AssignSample(1, {0, 0, 1, 1}, sampleCount);
    EXPECT_EQ(layout.Cell(0, 1), "A");
    EXPECT_EQ(layout.Cell(1, 0), "1");
    EXPECT_EQ(layout.Cell(1, 1), "Sample1");
}

TEST_F(FreshLayout, ChooserSortsByNumberNotText)
{
    layout.SetCell(1, 1, "Sample10");
    layout.SetCell(2, 1, "Sample9");
    layout.SetCell(3, 1, "Sample2");
    layout.SetCell(4, 1, "Sample10");
    EXPECT_EQ(layout.CheckPLSamples(), (Labels{"Sample2", "Sample9", "Sample10"}));
}

TEST_F(FreshLayout, ChooserScansOnlyThePlateInView)
{
    layout.SetCell(13, 1, "Sample5");  // column 13 exists only on a 384-well plate
    EXPECT_TRUE(layout.CheckPLSamples().empty());
    layout.SetGeometryForWellCount(384);
    EXPECT_EQ(layout.ColCount(), 25);
    EXPECT_EQ(layout.RowCount(), 17);
    EXPECT_EQ(layout.CheckPLSamples(), Labels{"Sample5"});
    layout.SetGeometryForWellCount(6);  // unknown plates leave the geometry
    EXPECT_EQ(layout.ColCount(), 25);
}

TEST_F(FreshLayout, BadLabelFailsBeforeAnyReordering)
{
    layout.SetCell(1, 1, "Sample2");
    layout.SetCell(2, 1, "SampleX");
    EXPECT_THROW(layout.CheckPLSamples(), ConversionError);
}

TEST(PlateLayoutFile, EmptyLayoutIsEightLinesOfTwelveTabs)
{
    PlateLayout layout;
    layout.Reset();
    const auto text = PlateLayoutFileText(layout);
    std::string expected;
    for (int row = 0; row < 8; ++row) expected += std::string(12, '\t') + "\r\n";
    EXPECT_EQ(text, expected);
}

TEST(PlateLayoutFile, SavedLayoutLoadsBackCellForCell)
{
    PlateLayout layout;
    layout.Reset();
    layout.SetCell(1, 1, "Sample1");
    layout.SetCell(12, 8, "Sample12");
    PlateLayout loaded;
    loaded.Reset();
    ApplyPlateLayoutLines(TextLines(PlateLayoutFileText(layout)), loaded);
    for (int row = 1; row <= 8; ++row)
        for (int column = 1; column <= 12; ++column)
            EXPECT_EQ(loaded.Cell(column, row), layout.Cell(column, row)) << column << "," << row;
}

TEST(PlateLayoutFile, A96WellLayoutOnA384WellPlateEmptiesTheRest)
{
    PlateLayout small;
    small.Reset();
    small.SetCell(12, 8, "Sample3");
    PlateLayout big;
    big.Reset();
    big.SetGeometryForWellCount(384);
    big.SetCell(24, 16, "Sample7");
    big.SetCell(13, 1, "Sample7");
    ApplyPlateLayoutLines(TextLines(PlateLayoutFileText(small)), big);
    EXPECT_EQ(big.Cell(12, 8), "Sample3");
    EXPECT_EQ(big.Cell(24, 16), "");
    EXPECT_EQ(big.Cell(13, 1), "");  // a 96-well line has only 12 fields
}

TEST(PlateLayoutFile, UnixLineEndsAndMissingTabsLoadTheSame)
{
    PlateLayout layout;
    layout.Reset();
    ApplyPlateLayoutLines(TextLines("Sample1\t\tSample2\nSample4\t\tSample5"), layout);
    EXPECT_EQ(layout.Cell(1, 1), "Sample1");
    EXPECT_EQ(layout.Cell(3, 1), "");  // no TAB after it: reads as empty
    EXPECT_EQ(layout.Cell(1, 2), "Sample4");
    EXPECT_EQ(layout.Cell(3, 2), "");
}

// A layout that assigns nothing, or a label no sample can have, would fit
// nothing (or silently drop wells) without a word.
TEST(PlateLayoutFile, BadLabelOrNothingAssignedIsRefusedAndLeavesTheLayoutUntouched)
{
    PlateLayout layout;
    layout.Reset();
    layout.SetCell(1, 1, "Sample1");
    const std::string bigLabel = "Sample" + std::string(1 << 20, '7');
    for (const auto& [text, message] : std::vector<std::pair<std::string, std::string>>{
             {"\tSampleX\t", "Line 1, cell 2: 'SampleX' is not a sample label Sample1 to Sample384!"},
             {"\n\tSample385\t", "Line 2, cell 2: 'Sample385' is not a sample label Sample1 to Sample384!"},
             {"Sample0\t", "Line 1, cell 1: 'Sample0' is not a sample label Sample1 to Sample384!"},
             {"Sample01\t", "Line 1, cell 1: 'Sample01' is not a sample label Sample1 to Sample384!"},
             {bigLabel + "\t", "Line 1, cell 1: '" + bigLabel.substr(0, 60) + "...' is not a sample label Sample1 "
                                "to Sample384!"},
             {std::string("\x7F" "ELF\0\t", 6), "Line 1, cell 1: '\\x7FELF\\0' is not a sample label Sample1 to "
                                                 "Sample384!"},
             {"", "The layout assigns no well of this 96-well plate!"},
             {"hello\r\n", "The layout assigns no well of this 96-well plate!"},
             {std::string(8, '\n') + "Sample1\t", "The layout assigns no well of this 96-well plate!"},
         }) {
        try {
            ApplyPlateLayoutLines(TextLines(text), layout);
            ADD_FAILURE() << "loaded " << text.substr(0, 20);
        } catch (const LayoutFileError& error) {
            EXPECT_EQ(error.what(), message);
        }
        EXPECT_EQ(layout.Cell(1, 1), "Sample1");
    }
}

} // namespace
} // namespace movra
