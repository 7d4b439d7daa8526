// The plate map on a recording surface: a 384-well plate with three fitted
// wells, a failed one and one sample, its colours, marks, labels and the
// well under a point, and what hovering a well says.

#include "plot/plate_map.h"
#include "plot/recording_canvas.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace movra {
namespace {

struct PlateMapTest : ::testing::Test {
    PlateMapTest()
    {
        layout.Reset();
        layout.SetGeometryForWellCount(384);
        layout.SetCell(1, 1, "Sample1");  // A1 and A2
        layout.SetCell(2, 1, "Sample1");
        fits.Reset();
        const double m1[] = {1.0, 3.0, 2.0};
        for (int well = 0; well < 3; ++well) {
            fits.WellFitResults[well][0] = 0.5;
            fits.WellFitResults[well][1] = m1[well];
            fits.WellFitResults[well][9] = 0.1;
            fits.WellFitQuality[well] = {OptOk, 0, 0.99, 0.0, ParameterBit(1)};
        }
        fits.WellFitQuality[383] = {OptSing, kFlagFailed};
    }
    std::vector<Colour> DiscColours() const
    {
        std::vector<Colour> colours;
        for (const CanvasCall& call : canvas.CallsOf(CanvasOp::Ellipse)) colours.push_back(call.brush.color);
        return colours;
    }
    PlateLayout layout;
    FitResults fits;
    RecordingCanvas canvas{1000, 700};
};

TEST_F(PlateMapTest, WellsTakeTheScaleEndsForTheLowestAndHighestValueAndGreyWithoutAndNameThemselvesOnHover)
{
    const PlateMapPicture picture = DrawPlateMap(canvas, {layout, fits}, {});
    ASSERT_EQ(picture.Range, (ScaleRange{1.0, 3.0}));
    EXPECT_EQ(picture.WellsWithValue, 3);
    const std::vector<Colour> discs = DiscColours();
    ASSERT_EQ(discs.size(), 384u);
    EXPECT_EQ(std::vector<Colour>(discs.begin(), discs.begin() + 3),
              (std::vector<Colour>{ScaleColour(0.0), ScaleColour(1.0), ScaleColour(0.5)}));
    EXPECT_EQ(std::count(discs.begin(), discs.end(), kNoResultColour), 381);
    EXPECT_EQ(std::tuple(ScaleColour(0.0), ScaleColour(1.0)), std::tuple(Colour{0x540144}, Colour{0x25E7FD}));
    // Only the failed well carries the mark; A1 and A2 share one outline.
    EXPECT_EQ(canvas.CallsOf(CanvasOp::Polygon).size(), 1u);
    const auto texts = canvas.Texts();
    for (const char* label : {"A", "P", "1", "24", "1", "3", "m1"})
        EXPECT_NE(std::find(texts.begin(), texts.end(), label), texts.end()) << label;
    const PlateMapGeometry& g = picture.Geometry;
    EXPECT_EQ(g.WellAt(g.Left + 23 * g.Pitch + 1, g.Top + 15 * g.Pitch + 1), 383);
    EXPECT_EQ(g.WellAt(g.Left - 1, g.Top), -1);

    // A parameter the formula does not use has no value.
    EXPECT_FALSE(MapValue(fits, 0, {MapQuantityKind::Parameter, 2}).has_value());
    EXPECT_DOUBLE_EQ(*MapValue(fits, 1, {MapQuantityKind::RelativeStdDev, 1}), 0.1 / 3.0);

    // Hovering a well names its sample, status, flags and parameters.
    EXPECT_EQ(PlateMapWellText({layout, fits}, 1),
              "A2  Sample1\nStatus: OPT_OK\nR\u00b2 0.99\nChiSq 0.5\nm1 = 3 \u00b1 0.1");
    EXPECT_EQ(PlateMapWellText({layout, fits}, 383), "P24  no sample\nStatus: OPT_SING\nfailed: OPT_SING");
}

} // namespace
} // namespace movra
