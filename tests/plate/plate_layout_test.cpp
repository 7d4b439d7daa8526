#include "plate/plate_layout.h"
#include "plate/plate_layout_file.h"
#include "plate/plate_measurements.h"
#include "plate/read_range.h"
#include "shared/conversion.h"
#include "shared/test_helpers.h"

#include <gtest/gtest.h>

namespace movra {
namespace {

using Labels = std::vector<std::string>;
// The sample count, the tags of the sample menu and the chooser's labels.
using Offer = std::tuple<int, std::vector<int>, Labels>;

Offer OfferOf(const PlateLayout& layout, int sampleCount)
{
    return {sampleCount, layout.SampleMenuTags(), layout.CheckPLSamples()};
}

PlateLayout NewLayout(int wellCount = 0)
{
    PlateLayout layout;
    layout.Reset();
    if (wellCount > 0) layout.SetGeometryForWellCount(wellCount);
    return layout;
}

// The plate's cells as a layout file holds them: a line per row, every cell
// followed by a TAB, "\r\n" after each line.
std::string EmptyFile(int rows, int columns)
{
    std::string text;
    for (int row = 0; row < rows; ++row) text += std::string(static_cast<std::size_t>(columns), '\t') + "\r\n";
    return text;
}

// A new number is offered only when the top item is used; the chooser
// follows the grid; header cells are never labelled.
TEST(PlateLayout, UsingTheTopSampleOffersTheNextNumberAndTheChooserFollowsTheGrid)
{
    PlateLayout layout = NewLayout();
    std::int32_t sampleCount = 1;
    EXPECT_EQ(OfferOf(layout, sampleCount), Offer(1, {1}, {}));
    EXPECT_TRUE(layout.AssignSample(1, {0, 0, 3, 2}, sampleCount));
    const std::string row = "Sample1\tSample1\tSample1" + std::string(10, '\t') + "\r\n";
    EXPECT_EQ(PlateLayoutFileText(layout), row + row + EmptyFile(6, 12));
    EXPECT_EQ(layout.Cell(0, 1) + layout.Cell(1, 0), "A1");
    EXPECT_EQ(OfferOf(layout, sampleCount), Offer(2, {2, 1}, {"Sample1"}));

    EXPECT_TRUE(layout.AssignSample(2, {5, 1, 5, 1}, sampleCount));
    EXPECT_EQ(OfferOf(layout, sampleCount), Offer(3, {3, 2, 1}, {"Sample1", "Sample2"}));
    EXPECT_FALSE(layout.AssignSample(1, {5, 1, 5, 1}, sampleCount));  // no new item, no rebuild
    EXPECT_EQ(OfferOf(layout, sampleCount), Offer(3, {3, 2, 1}, {"Sample1"}));
    layout.AssignSample(2, {6, 4, 7, 5}, sampleCount);
    layout.ClearCells({6, 4, 7, 5});
    EXPECT_EQ(layout.CheckPLSamples(), Labels{"Sample1"});

    // New empties every well of the largest plate and writes its headers.
    layout.SetGeometryForWellCount(384);
    layout.SetCell(24, 16, "Sample4");
    layout.Reset();
    EXPECT_EQ(PlateLayoutFileText(layout), EmptyFile(16, 24));
    EXPECT_EQ(layout.Cell(24, 0) + layout.Cell(0, 16), "24P");
}

// Typed numbers the menu lacks get their item in order; one at or above the
// top makes the number after it the new top. After a layout file: every
// sample in it, highest first, under the next free number, with its well count.
TEST(PlateLayout, TypedAndLoadedSamplesJoinTheMenuInOrder)
{
    PlateLayout layout = NewLayout();
    std::int32_t sampleCount = 1;
    const std::tuple<int, bool, std::vector<int>, int> steps[] = {
        {5, true, {6, 5, 1}, 6}, {3, true, {6, 5, 3, 1}, 6}, {3, false, {6, 5, 3, 1}, 6}, {6, true, {7, 6, 5, 3, 1}, 7}};
    for (const auto& [number, changed, tags, count] : steps) {
        EXPECT_EQ(layout.AssignSample(number, {1, 1, 1, 1}, sampleCount), changed) << number;
        EXPECT_EQ(OfferOf(layout, sampleCount), Offer(count, tags, {"Sample" + std::to_string(number)})) << number;
    }

    layout = NewLayout();
    sampleCount = 1;
    layout.AssignSample(1, {1, 1, 1, 1}, sampleCount);
    layout.SetCell(2, 1, "Sample12");
    layout.SetCell(3, 1, "Sample3");
    layout.SetCell(4, 1, "Sample12");
    layout.ClearCells({1, 1, 1, 1});
    layout.OfferSamplesInUse(sampleCount);
    EXPECT_EQ(OfferOf(layout, sampleCount), Offer(13, {13, 12, 3}, {"Sample3", "Sample12"}));
    const std::vector<SampleUse> uses = layout.SamplesInUse();
    ASSERT_EQ(uses.size(), 2u);
    EXPECT_EQ(std::tuple(uses[0].Label, uses[0].Number, uses[0].Wells), std::tuple("Sample3", 3, 1));
    EXPECT_EQ(std::tuple(uses[1].Label, uses[1].Wells), std::tuple("Sample12", 2));
}

TEST(PlateLayout, ChooserListsTheLabelsOfThePlateInViewByNumber)
{
    PlateLayout layout = NewLayout();
    for (const auto& [column, label] : std::vector<std::pair<int, std::string>>{
             {1, "Sample10"}, {2, "Sample9"}, {3, "Sample2"}, {4, "Sample10"}, {5, "Sample02"}, {13, "Sample5"}})
        layout.SetCell(column, 1, label);
    EXPECT_EQ(layout.CheckPLSamples(), (Labels{"Sample2", "Sample02", "Sample9", "Sample10"}));
    layout.SetGeometryForWellCount(384);  // column 13 comes into view
    EXPECT_EQ(std::make_pair(layout.ColCount(), layout.RowCount()), std::make_pair(25, 17));
    EXPECT_EQ(layout.CheckPLSamples(), (Labels{"Sample2", "Sample02", "Sample5", "Sample9", "Sample10"}));
    layout.SetGeometryForWellCount(6);  // unknown plates leave the geometry
    EXPECT_EQ(layout.ColCount(), 25);
    layout.SetGeometryForWellCount(96);
    EXPECT_EQ(std::make_pair(layout.ColCount(), layout.RowCount()), std::make_pair(13, 9));
    layout.SetCell(2, 1, "SampleX");
    EXPECT_THROW(layout.CheckPLSamples(), ConversionError);
}

// The geometry is not stored: a layout loads back cell for cell on a plate
// of its size, and a 96-well layout on a 384-well plate sets the upper left
// wells and empties the rest. A field without its TAB reads as empty,
// whatever the line ends.
TEST(PlateLayoutFile, SavedLayoutLoadsBackAndFillsTheCurrentPlate)
{
    PlateLayout layout = NewLayout();
    layout.SetCell(1, 1, "Sample1");
    layout.SetCell(12, 8, "Sample12");
    const std::string text = PlateLayoutFileText(layout);
    EXPECT_EQ(text, "Sample1" + EmptyFile(7, 12) + std::string(11, '\t') + "Sample12\t\r\n");
    PlateLayout loaded = NewLayout();
    loaded.SetCell(5, 5, "Sample3");
    ApplyPlateLayoutLines(TextLines(text), loaded);
    EXPECT_EQ(PlateLayoutFileText(loaded), text);

    PlateLayout big = NewLayout(384);
    big.SetCell(24, 16, "Sample7");
    big.SetCell(13, 1, "Sample7");
    ApplyPlateLayoutLines(TextLines(text), big);
    EXPECT_EQ(PlateLayoutFileText(big).substr(0, 8), "Sample1\t");
    EXPECT_EQ(big.Cell(12, 8) + "|" + big.Cell(24, 16) + "|" + big.Cell(13, 1), "Sample12||");

    ApplyPlateLayoutLines(TextLines("Sample1\t\tSample2\nSample4\t\tSample5"), loaded);
    EXPECT_EQ(PlateLayoutFileText(loaded), "Sample1" + EmptyFile(1, 12) + "Sample4" + EmptyFile(7, 12));
}

// A layout that assigns nothing, or a label no sample can have, would fit
// nothing (or silently drop wells) without a word.
TEST(PlateLayoutFile, BadLabelOrNothingAssignedIsRefusedAndLeavesTheLayoutUntouched)
{
    PlateLayout layout = NewLayout();
    layout.SetCell(1, 1, "Sample1");
    const std::string notALabel = " is not a sample label Sample1 to Sample384!";
    const std::string nothing = "The layout assigns no well of this 96-well plate!";
    for (const auto& [text, message] : std::vector<std::pair<std::string, std::string>>{
             {"\tSampleX\t", "Line 1, cell 2: 'SampleX'" + notALabel},
             {"\n\tSample385\t", "Line 2, cell 2: 'Sample385'" + notALabel},
             {"Sample0\t", "Line 1, cell 1: 'Sample0'" + notALabel},
             {"Sample01\t", "Line 1, cell 1: 'Sample01'" + notALabel},
             {std::string("\x7F" "ELF\0\t", 6), "Line 1, cell 1: '\\x7FELF\\0'" + notALabel},
             {"hello\r\n", nothing},
             {std::string(8, '\n') + "Sample1\t", nothing},
         }) {
        EXPECT_EQ(test::MessageOf<LayoutFileError>([&] { ApplyPlateLayoutLines(TextLines(text), layout); }), message);
        EXPECT_EQ(layout.Cell(1, 1), "Sample1");
    }
    ApplyPlateLayoutLines(TextLines("Sample384\t"), layout);
    EXPECT_EQ(layout.Cell(1, 1), "Sample384");
}

TEST(PlateIndices, WellsAreRowMajorFromA1OnPlatesOfEitherSize)
{
    EXPECT_EQ(std::tuple(WellIndex(1, 12, 12), WellIndex(2, 1, 12), WellIndex(16, 24, 24)), std::tuple(11, 12, 383));
}

TEST(ReadRange, ZoomPercentagesSelectTheReadsInView)
{
    EXPECT_EQ(ReadsInView(61, 1, 100), (ReadRange{1, 61}));
    EXPECT_EQ(ReadsInView(20, 50, 50), (ReadRange{10, 10}));
    EXPECT_EQ(ReadsInView(61, 10, 90), (ReadRange{6, 54}));  // 5.49 and 54.9 cut down
}

} // namespace
} // namespace movra
