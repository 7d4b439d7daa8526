#pragma once
// The zoom bar without a window: a scroll bar whose thumb has two draggable
// ends and selects the sub-range [Start, Finish] of [Min, Max]. This model
// keeps the values, the thumb geometry and the drag and auto-repeat state,
// turns forwarded mouse, double-click and timer events into value changes and
// OnScrolling / OnZooming / OnChanged notifications, tells the widget what to
// do with its repeat timer and cursor, and paints the bar onto a PlotCanvas.

#include <cstdint>
#include <functional>

#include "plot/plot_canvas.h"

namespace movra {

enum class TOrientation : std::uint8_t { Horizontal, Vertical };

// HitTest zones, numbered as the control's hit codes.
enum class ZoomZone : int {
    TrackBeforeThumb = 0,
    TrackAfterThumb = 1,
    StartEnd = 2,
    FinishEnd = 3,
    ThumbMiddle = 4,
    LowButton = 5,
    HighButton = 6,
    Elsewhere = 7,
};

enum class ZoomCursor : std::uint8_t { Default, SizeHorizontal, SizeVertical, PointingHand };

// What the widget must do with its repeat timer after an event.
enum class RepeatTimerCommand : std::uint8_t { Keep, Start, ChangeInterval, Stop };

struct ZoomBarReaction {
    bool repaint = false;
    RepeatTimerCommand timer = RepeatTimerCommand::Keep;
    int timerIntervalMs = 0;  // for Start and ChangeInterval
    ZoomCursor cursor = ZoomCursor::Default;  // meaningful after MouseMove
};

// Auto-repeat of a held arrow button: once at the press, after the first
// interval, then every repeat interval.
inline constexpr int kRepeatFirstIntervalMs = 500;
inline constexpr int kRepeatIntervalMs = 50;
// Track, buttons and scale: the track runs from kTrackMargin to L - kTrackMargin.
inline constexpr int kTrackMargin = 12;
inline constexpr int kMinThumbLength = 30;
// Default three-dimensional dark-shadow colour of the boxes' dark edges.
inline constexpr Colour kDefaultDarkShadow = 0x696969;

enum class ZoomDrag : std::uint8_t { None = 0, StartEnd = 1, FinishEnd = 2, WholeThumb = 3 };

class ZoomBarModel {
public:
    ZoomBarModel();

    double Min() const noexcept { return min_; }
    double Max() const noexcept { return max_; }
    double Start() const noexcept { return start_; }
    double Finish() const noexcept { return finish_; }
    TOrientation Orientation() const noexcept { return orientation_; }
    double StepSize() const noexcept { return stepSize_; }

    // Setters with their corrections; each recomputes the thumb. The widget
    // repaints after calling one. Values that are not numbers are ignored.
    void SetMin(double value);
    void SetMax(double value);
    void SetStart(double value);
    void SetFinish(double value);
    void SetOrientation(TOrientation orientation) noexcept { orientation_ = orientation; }

    bool DblClkEnable = true;
    std::function<void()> OnScrolling;  // the thumb dragged as a whole
    std::function<void()> OnZooming;    // an end of the thumb dragged
    std::function<void()> OnChanged;    // step, track click, reset, end of a drag

    // Control size in pixels (200 x 14 at creation).
    void SetSize(int width, int height) noexcept;
    int Width() const noexcept { return width_; }
    int Height() const noexcept { return height_; }
    int Length() const noexcept { return orientation_ == TOrientation::Horizontal ? width_ : height_; }
    int Thickness() const noexcept { return orientation_ == TOrientation::Horizontal ? height_ : width_; }

    // Thumb ends from Start and Finish, kept at least 30 pixels apart by
    // holding back the end that moved less.
    void UpdateThumb();
    int ThumbStart() const noexcept { return thumbStart_; }
    int ThumbEnd() const noexcept { return thumbEnd_; }

    ZoomZone HitTest(int x, int y) const noexcept;
    ZoomCursor CursorAt(int x, int y) const noexcept;

    // Events forwarded by the widget, in its own pixel coordinates. A double
    // click arrives as DoubleClick followed by MousePress, as a second press.
    ZoomBarReaction MousePress(int x, int y);
    ZoomBarReaction MouseMove(int x, int y);
    ZoomBarReaction MouseRelease();
    ZoomBarReaction DoubleClick();
    ZoomBarReaction RepeatTimerTick();

    ZoomDrag DragState() const noexcept { return dragState_; }
    bool LowButtonHeld() const noexcept { return lowHeld_; }
    bool HighButtonHeld() const noexcept { return highHeld_; }
    bool RepeatTimerRunning() const noexcept { return timerRunning_; }
    int RepeatTimerInterval() const noexcept { return timerInterval_; }

    // Draws the bar (boxes, grips, arrow triangles) onto a surface of the
    // control's size; the widget copies it onto the screen in one piece.
    void Paint(PlotCanvas& canvas, Colour darkShadow = kDefaultDarkShadow);

private:
    double Scale() const noexcept;
    int Along(int x, int y) const noexcept { return orientation_ == TOrientation::Horizontal ? x : y; }
    int Across(int x, int y) const noexcept { return orientation_ == TOrientation::Horizontal ? y : x; }
    void Step(double delta);
    static void Fire(const std::function<void()>& event)
    {
        if (event) {
            event();
        }
    }

    double min_ = 1.0;
    double max_ = 100.0;
    double start_ = 30.0;
    double finish_ = 70.0;
    double stepSize_ = 1.0;
    TOrientation orientation_ = TOrientation::Horizontal;
    int width_ = 200;
    int height_ = 14;
    int thumbStart_ = 0;
    int thumbEnd_ = 0;
    ZoomDrag dragState_ = ZoomDrag::None;
    int lastMousePos_ = 0;
    bool lowHeld_ = false;
    bool highHeld_ = false;
    bool timerRunning_ = false;
    int timerInterval_ = kRepeatFirstIntervalMs;
    int repeatX_ = 0;  // position of the arrow-button press being repeated
    int repeatY_ = 0;
};

} // namespace movra
