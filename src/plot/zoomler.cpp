#include "plot/zoomler.h"

#include <algorithm>
#include <cmath>

#include "plot/plot_math.h"

namespace movra {

namespace {

int RoundedPixels(double value) noexcept
{
    // Out-of-range values (a Start set far below Min) stay representable.
    return static_cast<int>(std::clamp(plotmath::RoundHalfEven(value), -1.0e9, 1.0e9));
}

struct ZoneRect {
    int left;
    int top;
    int right;
    int bottom;
    bool Contains(int along, int across) const noexcept
    {
        return left <= along && along < right && top <= across && across < bottom;
    }
};

} // namespace

ZoomBarModel::ZoomBarModel()
{
    UpdateThumb();
}

void ZoomBarModel::SetMin(double value)
{
    if (std::isnan(value)) {
        return;
    }
    min_ = value >= max_ ? max_ - stepSize_ : value;
    UpdateThumb();
}

void ZoomBarModel::SetMax(double value)
{
    if (std::isnan(value)) {
        return;
    }
    max_ = value <= min_ ? min_ + stepSize_ : value;
    UpdateThumb();
}

void ZoomBarModel::SetStart(double value)
{
    if (std::isnan(value)) {
        return;
    }
    if (value >= finish_) {
        start_ = finish_ - stepSize_;
    } else if (value < min_) {
        start_ = min_;
    } else {
        start_ = value;
    }
    UpdateThumb();
}

void ZoomBarModel::SetFinish(double value)
{
    if (std::isnan(value)) {
        return;
    }
    if (value <= start_) {
        finish_ = start_ + stepSize_;
    } else if (value > max_) {
        finish_ = max_;
    } else {
        finish_ = value;
    }
    UpdateThumb();
}

void ZoomBarModel::SetSize(int width, int height) noexcept
{
    width_ = width;
    height_ = height;
}

double ZoomBarModel::Scale() const noexcept
{
    return (Length() - 2 * kTrackMargin) / (max_ - min_);
}

void ZoomBarModel::UpdateThumb()
{
    const double s = Scale();
    const int newStart = kTrackMargin + RoundedPixels((start_ - min_) * s);
    const int newEnd = Length() - kTrackMargin - RoundedPixels((max_ - finish_) * s);
    if (newEnd - newStart >= kMinThumbLength) {
        thumbStart_ = newStart;
        thumbEnd_ = newEnd;
        return;
    }
    const int startMoved = std::abs(newStart - thumbStart_);
    const int endMoved = std::abs(newEnd - thumbEnd_);
    if (endMoved > startMoved) {
        thumbStart_ = newStart;
        thumbEnd_ = newStart + kMinThumbLength;
    } else if (startMoved > endMoved) {
        thumbEnd_ = newEnd;
        thumbStart_ = newEnd - kMinThumbLength;
    }
}

ZoomZone ZoomBarModel::HitTest(int x, int y) const noexcept
{
    const int along = Along(x, y);
    const int across = Across(x, y);
    const int length = Length();
    const int top = 3;
    const int bottom = Thickness() - 3;
    const std::pair<ZoneRect, ZoomZone> zones[] = {
        {{1, top, 11, bottom}, ZoomZone::LowButton},
        {{kTrackMargin, top, thumbStart_ - 1, bottom}, ZoomZone::TrackBeforeThumb},
        {{thumbStart_ + 1, top, thumbStart_ + 11, bottom}, ZoomZone::StartEnd},
        {{thumbStart_ + 12, top, thumbEnd_ - 12, bottom}, ZoomZone::ThumbMiddle},
        {{thumbEnd_ - 11, top, thumbEnd_ - 1, bottom}, ZoomZone::FinishEnd},
        {{thumbEnd_ + 1, top, length - kTrackMargin, bottom}, ZoomZone::TrackAfterThumb},
        {{length - 11, top, length - 1, bottom}, ZoomZone::HighButton},
    };
    for (const auto& [rect, zone] : zones) {
        if (rect.Contains(along, across)) {
            return zone;
        }
    }
    return ZoomZone::Elsewhere;
}

ZoomCursor ZoomBarModel::CursorAt(int x, int y) const noexcept
{
    switch (HitTest(x, y)) {
    case ZoomZone::StartEnd:
    case ZoomZone::FinishEnd:
        return orientation_ == TOrientation::Horizontal ? ZoomCursor::SizeHorizontal : ZoomCursor::SizeVertical;
    case ZoomZone::ThumbMiddle:
        return ZoomCursor::PointingHand;
    default:
        return ZoomCursor::Default;
    }
}

void ZoomBarModel::Step(double delta)
{
    start_ += delta;
    finish_ += delta;
}

ZoomBarReaction ZoomBarModel::MousePress(int x, int y)
{
    ZoomBarReaction reaction;
    const ZoomZone zone = HitTest(x, y);
    const int p = Along(x, y);
    lastMousePos_ = p;
    switch (zone) {
    case ZoomZone::TrackBeforeThumb: {
        // Proportional jump: next to the low button almost to Min, next to
        // the thumb hardly at all.
        const double old = start_;
        start_ = start_ - (start_ - min_) / (thumbStart_ - 11) * (thumbStart_ - p);
        finish_ -= old - start_;
        UpdateThumb();
        reaction.repaint = true;
        Fire(OnChanged);
        break;
    }
    case ZoomZone::TrackAfterThumb: {
        const double old = finish_;
        finish_ = finish_ + (max_ - finish_) / (Length() - 11 - thumbEnd_) * (p - thumbEnd_);
        start_ += finish_ - old;
        UpdateThumb();
        reaction.repaint = true;
        Fire(OnChanged);
        break;
    }
    case ZoomZone::StartEnd:
        dragState_ = ZoomDrag::StartEnd;
        break;
    case ZoomZone::FinishEnd:
        dragState_ = ZoomDrag::FinishEnd;
        break;
    case ZoomZone::ThumbMiddle:
        dragState_ = ZoomDrag::WholeThumb;
        break;
    case ZoomZone::LowButton:
        Step(-(min_ + stepSize_ <= start_ ? stepSize_ : start_ - min_));
        lowHeld_ = true;
        UpdateThumb();
        reaction.repaint = true;
        Fire(OnChanged);
        break;
    case ZoomZone::HighButton:
        Step(max_ - stepSize_ >= finish_ ? stepSize_ : max_ - finish_);
        highHeld_ = true;
        UpdateThumb();
        reaction.repaint = true;
        Fire(OnChanged);
        break;
    case ZoomZone::Elsewhere:
        dragState_ = ZoomDrag::None;
        break;
    }
    if ((zone == ZoomZone::LowButton || zone == ZoomZone::HighButton) && !timerRunning_) {
        timerInterval_ = kRepeatFirstIntervalMs;
        repeatX_ = x;
        repeatY_ = y;
        timerRunning_ = true;
        reaction.timer = RepeatTimerCommand::Start;
        reaction.timerIntervalMs = timerInterval_;
    }
    return reaction;
}

ZoomBarReaction ZoomBarModel::RepeatTimerTick()
{
    if (!timerRunning_) {
        return {};
    }
    timerInterval_ = kRepeatIntervalMs;
    ZoomBarReaction reaction = MousePress(repeatX_, repeatY_);
    reaction.timer = RepeatTimerCommand::ChangeInterval;
    reaction.timerIntervalMs = timerInterval_;
    return reaction;
}

ZoomBarReaction ZoomBarModel::MouseMove(int x, int y)
{
    ZoomBarReaction reaction;
    reaction.cursor = CursorAt(x, y);
    const int p = Along(x, y);
    if (dragState_ == ZoomDrag::None || p == lastMousePos_) {
        return reaction;
    }
    const double delta = (p - lastMousePos_) / Scale();
    switch (dragState_) {
    case ZoomDrag::StartEnd:
        start_ += delta >= 0 ? std::min(delta, finish_ - start_) : std::max(delta, min_ - start_);
        Fire(OnZooming);
        break;
    case ZoomDrag::FinishEnd:
        finish_ += delta > 0 ? std::min(delta, max_ - finish_) : std::max(delta, start_ - finish_);
        Fire(OnZooming);
        break;
    case ZoomDrag::WholeThumb:
        Step(delta >= 0 ? std::min(delta, max_ - finish_) : std::max(delta, min_ - start_));
        Fire(OnScrolling);
        break;
    case ZoomDrag::None:
        break;
    }
    lastMousePos_ = p;
    // The thumb follows each step, so which end moved last is decided per
    // move, however the widget batches its repaints.
    UpdateThumb();
    reaction.repaint = true;
    return reaction;
}

ZoomBarReaction ZoomBarModel::MouseRelease()
{
    ZoomBarReaction reaction;
    timerRunning_ = false;
    reaction.timer = RepeatTimerCommand::Stop;
    lowHeld_ = false;
    highHeld_ = false;
    if (dragState_ != ZoomDrag::None) {
        Fire(OnChanged);
    }
    reaction.repaint = true;
    dragState_ = ZoomDrag::None;
    return reaction;
}

ZoomBarReaction ZoomBarModel::DoubleClick()
{
    ZoomBarReaction reaction;
    if (!DblClkEnable) {
        return reaction;
    }
    start_ = min_;
    finish_ = max_;
    UpdateThumb();
    reaction.repaint = true;
    Fire(OnChanged);
    return reaction;
}

} // namespace movra
