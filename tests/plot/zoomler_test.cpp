#include "plot/recording_canvas.h"
#include "plot/zoomler.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>
#include <vector>

namespace movra {
namespace {

using Points = std::vector<CanvasPoint>;

// The graph page's bar: horizontal, 526 x 14, range 1..100, its events
// recorded as S(crolling), Z(ooming) and C(hanged).
class ZoomBarTest : public ::testing::Test {
protected:
    ZoomBarTest()
    {
        bar.SetSize(526, 14);
        Select(1, 100);
        bar.OnScrolling = [this] { events += 'S'; };
        bar.OnZooming = [this] { events += 'Z'; };
        bar.OnChanged = [this] { events += 'C'; };
    }
    void Select(double start, double finish)
    {
        bar.SetStart(bar.Min());
        bar.SetFinish(finish);
        bar.SetStart(start);
        events.clear();
    }
    std::pair<double, double> Range() const { return {bar.Start(), bar.Finish()}; }

    ZoomBarModel bar;
    std::string events;
};

TEST(ZoomBarSetters, CorrectValuesOutOfOrderAndIgnoreNoNumbers)
{
    // From Min 1, Max 100, Start 20, Finish 60: the setter, the value given,
    // the value taken.
    using Setter = std::pair<void (ZoomBarModel::*)(double), double (ZoomBarModel::*)() const>;
    const Setter S{&ZoomBarModel::SetStart, &ZoomBarModel::Start}, F{&ZoomBarModel::SetFinish, &ZoomBarModel::Finish},
        m{&ZoomBarModel::SetMin, &ZoomBarModel::Min}, M{&ZoomBarModel::SetMax, &ZoomBarModel::Max};
    const double nan = std::nan("");
    const std::tuple<Setter, double, double> cases[] = {
        {S, 75, 59}, {S, 60, 59}, {S, -5, 1},   {S, nan, 20}, {F, 10, 21}, {F, 20, 21},
        {F, 150, 100}, {M, 1, 2}, {M, -3, 2},   {M, nan, 100}, {m, 100, 99}, {m, 150, 99}};
    for (const auto& [setter, value, taken] : cases) {
        ZoomBarModel bar;
        bar.SetStart(20);
        bar.SetFinish(60);
        (bar.*setter.first)(value);
        EXPECT_EQ((bar.*setter.second)(), taken) << value;
    }
}

// Then the zones under a point (the vertical bar's through the widget, see
// tests/app/plot).
TEST_F(ZoomBarTest, ThumbSpansTheTrackAtLeastThirtyPixelsLongAndHitTestFindsItsZones)
{
    EXPECT_EQ(std::pair(bar.ThumbStart(), bar.ThumbEnd()), std::pair(12, 514));
    // Narrower, the end that moved less holds: first the start end...
    Select(40, 50);
    const int start = bar.ThumbStart();
    bar.SetFinish(41);
    EXPECT_EQ(std::pair(bar.ThumbStart(), bar.ThumbEnd()), std::pair(start, start + 30));
    EXPECT_EQ(bar.Finish(), 41.0);
    // ...then the finish end at 129 (the start end would be at 109); when
    // both move alike (5 pixels down) neither does.
    Select(20.1, 24.1);
    EXPECT_EQ(std::pair(bar.ThumbStart(), bar.ThumbEnd()), std::pair(99, 129));
    bar.MousePress(5, 7);
    EXPECT_EQ(std::pair(bar.ThumbStart(), bar.ThumbEnd()), std::pair(99, 129));

    bar.MouseRelease();
    Select(30, 70);
    const int ts = bar.ThumbStart(), te = bar.ThumbEnd();
    const std::tuple<int, int, ZoomZone> points[] = {
        {5, 7, ZoomZone::LowButton},     {20, 7, ZoomZone::TrackBeforeThumb},   {ts + 5, 7, ZoomZone::StartEnd},
        {te - 5, 7, ZoomZone::FinishEnd}, {(ts + te) / 2, 7, ZoomZone::ThumbMiddle},
        {te + 20, 7, ZoomZone::TrackAfterThumb}, {520, 7, ZoomZone::HighButton},
        {5, 1, ZoomZone::Elsewhere}, {5, 11, ZoomZone::Elsewhere}, {ts, 7, ZoomZone::Elsewhere}};  // edges excluded
    for (const auto& [x, y, zone] : points)
        EXPECT_EQ(bar.HitTest(x, y), zone) << x << "," << y;
}

// A held button steps by StepSize, then by what is left, then not at
// all; a track click jumps in proportion to its distance from the thumb; a
// double click repaints only when enabled.
TEST_F(ZoomBarTest, ButtonsStepTrackClicksJumpAndDoubleClicksReset)
{
    Select(2.5, 50);
    const ZoomBarReaction press = bar.MousePress(5, 7);
    EXPECT_EQ(std::tuple(Range(), press.timer, press.timerIntervalMs, bar.LowButtonHeld()),
              std::tuple(std::pair(1.5, 49.0), RepeatTimerCommand::Start, 500, true));
    const ZoomBarReaction tick = bar.RepeatTimerTick();
    EXPECT_EQ(std::tuple(Range(), tick.timer, tick.timerIntervalMs),
              std::tuple(std::pair(1.0, 48.5), RepeatTimerCommand::ChangeInterval, 50));
    bar.RepeatTimerTick();
    const RepeatTimerCommand release = bar.MouseRelease().timer;
    EXPECT_EQ(std::tuple(Range(), release, bar.LowButtonHeld(), events),  // no drag ran: no event on release
              std::tuple(std::pair(1.0, 48.5), RepeatTimerCommand::Stop, false, "CCC"));
    EXPECT_EQ(bar.RepeatTimerTick().timer, RepeatTimerCommand::Keep);
    Select(10, 99.25);
    bar.MousePress(520, 7);
    EXPECT_EQ(std::pair(Range(), bar.HighButtonHeld()), std::pair(std::pair(10.75, 100.0), true));

    Select(50, 60);
    const int ts = bar.ThumbStart();
    bar.MousePress(12, 7);  // next to the low button: almost to Min
    EXPECT_NEAR(bar.Start(), 50 - 49.0 / (ts - 11) * (ts - 12), 1e-9);
    EXPECT_NEAR(bar.Finish() - bar.Start(), 10.0, 1e-9);
    Select(30, 40);
    const int te = bar.ThumbEnd();
    bar.MousePress(te + 2, 7);
    bar.MouseRelease();
    EXPECT_NEAR(bar.Finish(), 40 + 60.0 / (526 - 11 - te) * 2, 1e-9);
    EXPECT_NEAR(bar.Finish() - bar.Start(), 10.0, 1e-9);
    EXPECT_EQ(events, "C");

    for (const bool enabled : {false, true}) {
        Select(20, 30);
        bar.DblClkEnable = enabled;
        EXPECT_EQ(bar.DoubleClick().repaint, enabled);  // the reset itself: see the widget's tests
    }
}

TEST_F(ZoomBarTest, DraggingAnEndZoomsAndTheMiddleScrollsWithinTheRange)
{
    // Each drag from a selection, pressed 5 pixels inside the start end, 5
    // inside the finish end or in the middle, then moved by so many pixels
    // from the press; a move to the same place changes nothing.
    enum Grip { StartGrip, FinishGrip, Middle };
    struct Move { int By; double Start, Finish; };
    struct Case { double Start, Finish; Grip At; ZoomDrag Drag; std::vector<Move> Moves; const char* Events; };
    const double k = 502.0 / 99.0;  // pixels of track per value unit
    const Case cases[] = {
        {1, 50, StartGrip, ZoomDrag::StartEnd, {{51, 1 + 51 / k, 50}, {51, 1 + 51 / k, 50}, {400, 50, 50}, {-400, 1, 50}},
         "ZZZC"},
        {20, 100, FinishGrip, ZoomDrag::FinishEnd, {{-1000, 20, 20}, {1000, 20, 100}}, "ZZC"},
        {20, 40, Middle, ZoomDrag::WholeThumb, {{50, 20 + 50 / k, 40 + 50 / k}, {2000, 80, 100}, {-4000, 1, 21}},
         "SSSC"},
    };
    for (const Case& c : cases) {
        Select(c.Start, c.Finish);
        const int grip = c.At == StartGrip ? bar.ThumbStart() + 5
                         : c.At == FinishGrip ? bar.ThumbEnd() - 5 : (bar.ThumbStart() + bar.ThumbEnd()) / 2;
        EXPECT_FALSE(bar.MousePress(grip, 7).repaint);
        EXPECT_EQ(bar.DragState(), c.Drag);
        for (const Move& move : c.Moves) {
            bar.MouseMove(grip + move.By, 7);
            EXPECT_NEAR(bar.Start(), move.Start, 1e-9) << c.Events << " by " << move.By;
            EXPECT_NEAR(bar.Finish(), move.Finish, 1e-9) << c.Events << " by " << move.By;
        }
        bar.MouseRelease();
        EXPECT_EQ(events, c.Events);
        EXPECT_EQ(bar.DragState(), ZoomDrag::None);
    }
}

TEST_F(ZoomBarTest, PaintingDrawsSunkenFrameRaisedThumbButtonsAndArrows)
{
    bar.SetSize(200, 14);
    RecordingCanvas canvas(200, 14);
    bar.Paint(canvas);
    // Frame, inner area, thumb, its middle, two buttons; two arrows.
    std::vector<Points> boxes;
    for (const CanvasCall& call : canvas.CallsOf(CanvasOp::Rectangle)) boxes.push_back(call.points);
    EXPECT_EQ(boxes, (std::vector<Points>{{{0, 0}, {200, 14}}, {{2, 2}, {198, 12}}, {{12, 2}, {189, 12}},
                                          {{22, 3}, {179, 11}}, {{1, 2}, {12, 12}}, {{189, 2}, {199, 12}}}));
    const auto triangles = canvas.CallsOf(CanvasOp::Polygon);
    ASSERT_EQ(triangles.size(), 2u);
    EXPECT_EQ(std::tuple(triangles[0].points, triangles[1].points, triangles[0].brush.color),
              std::tuple(Points{{9, 3}, {9, 10}, {2, 7}}, Points{{191, 3}, {191, 10}, {197, 7}}, 0x808080u));
    // Left edges: the frame's dark, the thumb's and the low button's white,
    // the held low button's dark.
    auto lines = canvas.CallsOf(CanvasOp::Line);
    EXPECT_EQ(std::tuple(lines[0].pen.color, lines[4].pen.color, lines[12].pen.color),
              std::tuple(kDefaultDarkShadow, kWhite, kWhite));
    bar.MousePress(5, 7);
    canvas.Forget();
    bar.Paint(canvas, 0x404040);
    lines = canvas.CallsOf(CanvasOp::Line);
    EXPECT_EQ(std::pair(lines[12].pen.color, lines[12].points[0]), std::pair(0x404040u, CanvasPoint{1, 11}));

    bar.SetOrientation(TOrientation::Vertical);
    bar.SetSize(14, 200);
    canvas.Forget();
    bar.Paint(canvas);
    EXPECT_EQ(canvas.CallsOf(CanvasOp::Polygon).at(0).points, (Points{{3, 9}, {10, 9}, {7, 2}}));
}

} // namespace
} // namespace movra
