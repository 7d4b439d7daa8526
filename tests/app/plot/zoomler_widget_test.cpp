#include "app/plot/zoomler_widget.h"

#include <QCoreApplication>
#include <QMouseEvent>

#include <gtest/gtest.h>

#include <string>

namespace movra {
namespace {

// The widget over the zoom bar's model (whose own behaviour tests/plot
// checks): a bar 526 pixels long (502 pixels of track for the range 1..100)
// with 20..60 selected, recording its signals as S(crolling), Z(ooming), C(hanged).
class ZoomlerWidgetTest : public ::testing::Test {
protected:
    static constexpr int kThumbStart = 12 + 96;  // of 20..60 on 526 pixels
    ZoomlerWidgetTest()
    {
        bar.resize(526, 14);
        Select(20, 60);
        QObject::connect(&bar, &TZoomler::Scrolling, [this] { events += 'S'; });
        QObject::connect(&bar, &TZoomler::Zooming, [this] { events += 'Z'; });
        QObject::connect(&bar, &TZoomler::Changed, [this] { events += 'C'; });
    }
    void Select(double start, double finish)
    {
        bar.SetStart(1);
        bar.SetFinish(finish);
        bar.SetStart(start);
        events.clear();
    }
    void Send(QEvent::Type type, int x, int y = 7)
    {
        const auto button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        const auto held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, QPointF(x, y), bar.mapToGlobal(QPointF(x, y)), button, held, Qt::NoModifier);
        QCoreApplication::sendEvent(&bar, &event);
    }
    void Drag(int from, int to)
    {
        Send(QEvent::MouseButtonPress, from);
        if (to != from) Send(QEvent::MouseMove, to);
        Send(QEvent::MouseButtonRelease, to);
    }
    int Middle() const { return (bar.Model().ThumbStart() + bar.Model().ThumbEnd()) / 2; }

    TZoomler bar;
    std::string events;
};

TEST_F(ZoomlerWidgetTest, StartsLikeTheBarFollowsItsSizeAndPaintsIt)
{
    TZoomler created;
    EXPECT_EQ(std::tuple(created.size(), created.Start(), created.Finish()), std::tuple(QSize(200, 14), 30.0, 70.0));
    created.resize(526, 14);  // hidden: no resize event; the setter takes the size
    created.SetStart(20);
    EXPECT_EQ(created.Model().ThumbStart(), kThumbStart);
    EXPECT_TRUE(bar.setProperty("Start", 75.0));  // properties reach the setters
    EXPECT_EQ(bar.property("Start").toDouble(), 59.0);

    Select(1, 100);
    const QImage picture = bar.grab().toImage();
    ASSERT_EQ(picture.size(), QSize(526, 14));
    // The thumb's light left and dark right edges, a grip mark, the low arrow.
    EXPECT_EQ(std::tuple(picture.pixel(12, 5), picture.pixel(514, 5), picture.pixel(17, 5), picture.pixel(5, 7)),
              std::tuple(qRgb(255, 255, 255), qRgb(105, 105, 105), qRgb(128, 128, 128), qRgb(128, 128, 128)));
}

// The steps themselves are the model's (see tests/plot).
TEST_F(ZoomlerWidgetTest, HeldArrowButtonRepeatsThroughItsTimer)
{
    Send(QEvent::MouseButtonPress, 5);
    EXPECT_EQ(std::tuple(bar.Start(), bar.RepeatTimer().isActive(), bar.RepeatTimer().interval()),
              std::tuple(19.0, true, 500));
    bar.RepeatTimerTimeout();
    EXPECT_EQ(std::pair(bar.Start(), bar.RepeatTimer().interval()), std::pair(18.0, 50));
    Send(QEvent::MouseButtonRelease, 5);
    EXPECT_EQ(std::tuple(bar.RepeatTimer().isActive(), events), std::tuple(false, "CC"));
}

TEST_F(ZoomlerWidgetTest, DragsSignalWhileMovingAndDoubleClicksResetUnlessDisabled)
{
    Drag(Middle(), Middle());  // a click on the thumb changes nothing but reports
    Drag(Middle(), Middle() + 51);
    EXPECT_NEAR(bar.Start(), 20 + 51 * 99.0 / 502, 1e-9);
    Drag(bar.Model().ThumbStart() + 5, bar.Model().ThumbStart() - 15);
    EXPECT_EQ(events, "CSCZC");

    for (bool enabled : {false, true}) {
        Select(20, 60);
        bar.SetDblClkEnable(enabled);
        const int middle = Middle();
        Drag(middle, middle);
        Send(QEvent::MouseButtonDblClick, middle);  // Qt's second press
        Send(QEvent::MouseButtonRelease, middle);
        EXPECT_EQ(std::pair(bar.Start(), bar.Finish()), enabled ? std::pair(1.0, 100.0) : std::pair(20.0, 60.0));
        EXPECT_EQ(events, enabled ? "CCC" : "CC");  // each press on the thumb reports on release
    }
}

TEST_F(ZoomlerWidgetTest, CursorFollowsTheZoneUnderTheMouse)
{
    const std::pair<int, Qt::CursorShape> zones[] = {{kThumbStart + 5, Qt::SizeHorCursor},
                                                     {bar.Model().ThumbEnd() - 5, Qt::SizeHorCursor},
                                                     {Middle(), Qt::PointingHandCursor},
                                                     {400, Qt::ArrowCursor}};
    for (const auto& [x, shape] : zones) {
        Send(QEvent::MouseMove, x);
        EXPECT_EQ(bar.cursor().shape(), shape) << x;
    }
    bar.SetOrientation(TOrientation::Vertical);
    bar.resize(14, 526);  // hidden: the move takes the new size
    Send(QEvent::MouseMove, 7, kThumbStart + 5);
    EXPECT_EQ(std::tuple(bar.cursor().shape(), events), std::tuple(Qt::SizeVerCursor, ""));
}

} // namespace
} // namespace movra
