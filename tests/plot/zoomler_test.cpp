#include "plot/recording_canvas.h"
#include "plot/zoomler.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include <string>

namespace movra {
namespace {

// The graph page's bar: horizontal, 526 x 14, range 1..100, all selected.
class ZoomBarTest : public ::testing::Test {
protected:
    ZoomBarTest()
    {
        bar.SetSize(526, 14);
        bar.SetMin(1);
        bar.SetMax(100);
        bar.SetStart(1);
        bar.SetFinish(100);
        bar.OnScrolling = [this] { events += 'S'; };
        bar.OnZooming = [this] { events += 'Z'; };
        bar.OnChanged = [this] { events += 'C'; };
    }

    // Pixels per value unit: 502 pixels of track over 99 units.
    static double Scale() { return 502.0 / 99.0; }

    ZoomBarModel bar;
    std::string events;
};

TEST(ZoomBarDefaults, CreatedWithItsDefaultRangeAndSize)
{
    ZoomBarModel bar;
    EXPECT_EQ(bar.Min(), 1.0);
    EXPECT_EQ(bar.Max(), 100.0);
    EXPECT_EQ(bar.Start(), 30.0);
    EXPECT_EQ(bar.Finish(), 70.0);
    EXPECT_TRUE(bar.DblClkEnable);
    EXPECT_EQ(bar.Orientation(), TOrientation::Horizontal);
    EXPECT_EQ(bar.Width(), 200);
    EXPECT_EQ(bar.Height(), 14);
    EXPECT_EQ(bar.StepSize(), 1.0);
}

TEST_F(ZoomBarTest, StartAboveFinishBecomesFinishLessOneStep)
{
    bar.SetFinish(60);
    bar.SetStart(75);
    EXPECT_EQ(bar.Start(), 59.0);
    bar.SetStart(60);
    EXPECT_EQ(bar.Start(), 59.0);
}

TEST_F(ZoomBarTest, StartBelowMinBecomesMin)
{
    bar.SetStart(-5);
    EXPECT_EQ(bar.Start(), 1.0);
}

TEST_F(ZoomBarTest, FinishSettersCorrectTowardsStartAndMax)
{
    bar.SetStart(20);
    bar.SetFinish(10);
    EXPECT_EQ(bar.Finish(), 21.0);
    bar.SetFinish(150);
    EXPECT_EQ(bar.Finish(), 100.0);
}

TEST_F(ZoomBarTest, MaxAtOrBelowMinBecomesMinPlusOneStep)
{
    bar.SetMax(1);
    EXPECT_EQ(bar.Max(), 2.0);
    bar.SetMax(100);
    bar.SetMin(100);
    EXPECT_EQ(bar.Min(), 99.0);
}

TEST_F(ZoomBarTest, ValuesThatAreNoNumberAreIgnored)
{
    bar.SetStart(std::nan(""));
    bar.SetMax(std::nan(""));
    EXPECT_EQ(bar.Start(), 1.0);
    EXPECT_EQ(bar.Max(), 100.0);
}

TEST_F(ZoomBarTest, WholeRangeThumbSpans12To514)
{
    EXPECT_EQ(bar.ThumbStart(), 12);
    EXPECT_EQ(bar.ThumbEnd(), 514);
}

TEST_F(ZoomBarTest, NarrowRangeIsDrawnThirtyPixelsLongHoldingTheEndThatMovedLess)
{
    bar.SetStart(40);
    bar.SetFinish(50);
    const int start = bar.ThumbStart();
    bar.SetFinish(41);  // the finish end moves: it yields
    EXPECT_EQ(bar.ThumbStart(), start);
    EXPECT_EQ(bar.ThumbEnd(), start + 30);
    EXPECT_EQ(bar.Finish(), 41.0);

    bar.SetStart(10);
    bar.SetFinish(50);
    const int end = bar.ThumbEnd();
    bar.SetStart(49);  // now the start end moves
    EXPECT_EQ(bar.ThumbEnd(), end);
    EXPECT_EQ(bar.ThumbStart(), end - 30);
}

TEST_F(ZoomBarTest, HitTestFindsEveryZoneOfAHorizontalBar)
{
    bar.SetStart(30);
    bar.SetFinish(70);
    const int ts = bar.ThumbStart();
    const int te = bar.ThumbEnd();
    EXPECT_EQ(bar.HitTest(5, 7), ZoomZone::LowButton);
    EXPECT_EQ(bar.HitTest(20, 7), ZoomZone::TrackBeforeThumb);
    EXPECT_EQ(bar.HitTest(ts + 5, 7), ZoomZone::StartEnd);
    EXPECT_EQ(bar.HitTest((ts + te) / 2, 7), ZoomZone::ThumbMiddle);
    EXPECT_EQ(bar.HitTest(te - 5, 7), ZoomZone::FinishEnd);
    EXPECT_EQ(bar.HitTest(te + 20, 7), ZoomZone::TrackAfterThumb);
    EXPECT_EQ(bar.HitTest(520, 7), ZoomZone::HighButton);
    EXPECT_EQ(bar.HitTest(5, 1), ZoomZone::Elsewhere);   // above the zones
    EXPECT_EQ(bar.HitTest(5, 11), ZoomZone::Elsewhere);  // bottom edge excluded
    EXPECT_EQ(bar.HitTest(ts, 7), ZoomZone::Elsewhere);  // the thumb's edge itself
}

TEST_F(ZoomBarTest, VerticalBarExchangesXAndY)
{
    bar.SetOrientation(TOrientation::Vertical);
    bar.SetSize(14, 526);
    bar.UpdateThumb();
    EXPECT_EQ(bar.HitTest(7, 5), ZoomZone::LowButton);
    EXPECT_EQ(bar.HitTest(7, 520), ZoomZone::HighButton);
    EXPECT_EQ(bar.HitTest(7, 17), ZoomZone::StartEnd);
    EXPECT_EQ(bar.CursorAt(7, 17), ZoomCursor::SizeVertical);
}

TEST_F(ZoomBarTest, CursorFollowsTheZone)
{
    EXPECT_EQ(bar.CursorAt(17, 7), ZoomCursor::SizeHorizontal);
    EXPECT_EQ(bar.CursorAt(200, 7), ZoomCursor::PointingHand);
    EXPECT_EQ(bar.CursorAt(5, 7), ZoomCursor::Default);
    EXPECT_EQ(bar.MouseMove(200, 7).cursor, ZoomCursor::PointingHand);
}

TEST_F(ZoomBarTest, HeldLowButtonStepsOneThenHalfThenNothing)
{
    bar.SetStart(2.5);
    bar.SetFinish(50);
    events.clear();

    const ZoomBarReaction press = bar.MousePress(5, 7);
    EXPECT_DOUBLE_EQ(bar.Start(), 1.5);
    EXPECT_DOUBLE_EQ(bar.Finish(), 49);
    EXPECT_EQ(press.timer, RepeatTimerCommand::Start);
    EXPECT_EQ(press.timerIntervalMs, 500);
    EXPECT_TRUE(bar.LowButtonHeld());

    const ZoomBarReaction tick1 = bar.RepeatTimerTick();
    EXPECT_DOUBLE_EQ(bar.Start(), 1.0);
    EXPECT_DOUBLE_EQ(bar.Finish(), 48.5);
    EXPECT_EQ(tick1.timer, RepeatTimerCommand::ChangeInterval);
    EXPECT_EQ(tick1.timerIntervalMs, 50);

    bar.RepeatTimerTick();
    EXPECT_DOUBLE_EQ(bar.Start(), 1.0);
    EXPECT_DOUBLE_EQ(bar.Finish(), 48.5);
    EXPECT_EQ(events, "CCC");

    const ZoomBarReaction release = bar.MouseRelease();
    EXPECT_EQ(release.timer, RepeatTimerCommand::Stop);
    EXPECT_FALSE(bar.LowButtonHeld());
    EXPECT_FALSE(bar.RepeatTimerRunning());
    EXPECT_EQ(events, "CCC");  // no drag was running
    EXPECT_EQ(bar.RepeatTimerTick().timer, RepeatTimerCommand::Keep);
}

TEST_F(ZoomBarTest, HighButtonStepsUpToMax)
{
    bar.SetStart(10);
    bar.SetFinish(99.25);
    bar.MousePress(520, 7);
    EXPECT_DOUBLE_EQ(bar.Finish(), 100);
    EXPECT_DOUBLE_EQ(bar.Start(), 10.75);
    EXPECT_TRUE(bar.HighButtonHeld());
}

TEST_F(ZoomBarTest, DoubleClickResetsOnlyWhenEnabled)
{
    bar.SetStart(20);
    bar.SetFinish(30);
    bar.DblClkEnable = false;
    events.clear();
    EXPECT_FALSE(bar.DoubleClick().repaint);
    EXPECT_EQ(bar.Start(), 20.0);
    EXPECT_EQ(bar.Finish(), 30.0);
    EXPECT_EQ(events, "");

    bar.DblClkEnable = true;
    bar.DoubleClick();
    EXPECT_EQ(bar.Start(), 1.0);
    EXPECT_EQ(bar.Finish(), 100.0);
    EXPECT_EQ(events, "C");
}

TEST_F(ZoomBarTest, DraggingTheStartEndZoomsAndStopsAtFinish)
{
    bar.SetFinish(50);
    events.clear();
    const int grip = bar.ThumbStart() + 5;
    bar.MousePress(grip, 7);
    EXPECT_EQ(bar.DragState(), ZoomDrag::StartEnd);
    bar.MouseMove(grip + 51, 7);
    EXPECT_NEAR(bar.Start(), 1 + 51 / Scale(), 1e-9);
    EXPECT_EQ(bar.Finish(), 50.0);
    bar.MouseMove(grip + 51, 7);  // no movement, no event
    bar.MouseMove(grip + 400, 7);
    EXPECT_DOUBLE_EQ(bar.Start(), 50.0);  // a sub-range of width 0
    bar.MouseMove(grip - 400, 7);
    EXPECT_DOUBLE_EQ(bar.Start(), 1.0);
    EXPECT_EQ(events, "ZZZ");
    bar.MouseRelease();
    EXPECT_EQ(events, "ZZZC");
    EXPECT_EQ(bar.DragState(), ZoomDrag::None);
}

TEST_F(ZoomBarTest, DraggingTheFinishEndZoomsBetweenStartAndMax)
{
    bar.SetStart(20);
    events.clear();
    const int grip = bar.ThumbEnd() - 5;
    bar.MousePress(grip, 7);
    EXPECT_EQ(bar.DragState(), ZoomDrag::FinishEnd);
    bar.MouseMove(grip - 1000, 7);
    EXPECT_DOUBLE_EQ(bar.Finish(), 20.0);
    bar.MouseMove(grip + 1000, 7);
    EXPECT_DOUBLE_EQ(bar.Finish(), 100.0);
    EXPECT_EQ(events, "ZZ");
}

TEST_F(ZoomBarTest, DraggingTheMiddleScrollsWithinTheRange)
{
    bar.SetStart(20);
    bar.SetFinish(40);
    events.clear();
    const int middle = (bar.ThumbStart() + bar.ThumbEnd()) / 2;
    const ZoomBarReaction press = bar.MousePress(middle, 7);
    EXPECT_FALSE(press.repaint);
    EXPECT_EQ(bar.DragState(), ZoomDrag::WholeThumb);
    const ZoomBarReaction move = bar.MouseMove(middle + 50, 7);
    EXPECT_TRUE(move.repaint);
    EXPECT_NEAR(bar.Start(), 20 + 50 / Scale(), 1e-9);
    EXPECT_NEAR(bar.Finish() - bar.Start(), 20.0, 1e-9);
    bar.MouseMove(middle + 2000, 7);
    EXPECT_DOUBLE_EQ(bar.Finish(), 100.0);
    EXPECT_NEAR(bar.Start(), 80.0, 1e-9);
    bar.MouseRelease();
    EXPECT_EQ(events, "SSC");
}

TEST_F(ZoomBarTest, TrackClicksJumpProportionally)
{
    bar.SetStart(50);
    bar.SetFinish(60);
    events.clear();
    const int ts = bar.ThumbStart();
    // Next to the low button: almost to Min.
    bar.MousePress(12, 7);
    EXPECT_NEAR(bar.Start(), 50 - 49.0 / (ts - 11) * (ts - 12), 1e-9);
    EXPECT_NEAR(bar.Finish() - bar.Start(), 10.0, 1e-9);
    EXPECT_EQ(events, "C");

    bar.SetFinish(40);
    bar.SetStart(30);
    const int te = bar.ThumbEnd();
    bar.MousePress(te + 2, 7);
    EXPECT_NEAR(bar.Finish(), 40 + 60.0 / (526 - 11 - te) * 2, 1e-9);
    EXPECT_EQ(events, "CC");
    bar.MouseRelease();
    EXPECT_EQ(events, "CC");
}

TEST_F(ZoomBarTest, PaintingDrawsFrameThumbButtonsAndArrowTriangles)
{
    bar.SetSize(200, 14);
    RecordingCanvas canvas(200, 14);
    bar.Paint(canvas);
    const auto rectangles = canvas.CallsOf(CanvasOp::Rectangle);
    ASSERT_EQ(rectangles.size(), 6u);  // frame, inner area, thumb, its middle, two buttons
    EXPECT_EQ(rectangles[0].points[1], (CanvasPoint{200, 14}));
    EXPECT_EQ(rectangles[1].brush.color, 0xE0E0E0u);
    EXPECT_EQ(rectangles[2].points[0], (CanvasPoint{12, 2}));
    EXPECT_EQ(rectangles[2].points[1], (CanvasPoint{189, 12}));
    EXPECT_EQ(rectangles[3].points[0], (CanvasPoint{22, 3}));

    const auto triangles = canvas.CallsOf(CanvasOp::Polygon);
    ASSERT_EQ(triangles.size(), 2u);
    const std::vector<CanvasPoint> low = {{9, 3}, {9, 10}, {2, 7}};
    const std::vector<CanvasPoint> high = {{191, 3}, {191, 10}, {197, 7}};
    EXPECT_EQ(triangles[0].points, low);
    EXPECT_EQ(triangles[1].points, high);
    EXPECT_EQ(triangles[0].brush.color, 0x808080u);

    // Frame sunken: its left edge dark; the thumb raised: its left edge white.
    const auto lines = canvas.CallsOf(CanvasOp::Line);
    EXPECT_EQ(lines[0].pen.color, kDefaultDarkShadow);
    EXPECT_EQ(lines[4].pen.color, kWhite);
}

TEST_F(ZoomBarTest, HeldButtonIsPaintedSunken)
{
    bar.SetSize(200, 14);
    bar.MousePress(5, 7);
    RecordingCanvas canvas(200, 14);
    bar.Paint(canvas, 0x404040);
    const auto lines = canvas.CallsOf(CanvasOp::Line);
    // Fourth box (the low button): its first edge in the dark colour.
    EXPECT_EQ(lines[12].pen.color, 0x404040u);
    EXPECT_EQ(lines[12].points[0], (CanvasPoint{1, 11}));
}

TEST_F(ZoomBarTest, VerticalBarPaintsTrianglesWithXAndYExchanged)
{
    bar.SetOrientation(TOrientation::Vertical);
    bar.SetSize(14, 200);
    RecordingCanvas canvas(14, 200);
    bar.Paint(canvas);
    const auto triangles = canvas.CallsOf(CanvasOp::Polygon);
    ASSERT_EQ(triangles.size(), 2u);
    const std::vector<CanvasPoint> low = {{3, 9}, {10, 9}, {7, 2}};
    EXPECT_EQ(triangles[0].points, low);
}

} // namespace
} // namespace movra
