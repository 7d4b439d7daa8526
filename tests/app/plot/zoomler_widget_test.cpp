#include "app/plot/zoomler_widget.h"

#include <QCoreApplication>
#include <QMouseEvent>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace movra {
namespace {

// A bar 526 pixels long (502 pixels of track for the range 1..100) that
// records its signals in order.
class ZoomlerWidgetTest : public ::testing::Test {
protected:
    ZoomlerWidgetTest()
    {
        bar.setObjectName("Zoomler1");
        bar.resize(526, 14);
        QObject::connect(&bar, &TZoomler::Scrolling, [this] { events.push_back("Scrolling"); });
        QObject::connect(&bar, &TZoomler::Zooming, [this] { events.push_back("Zooming"); });
        QObject::connect(&bar, &TZoomler::Changed, [this] { events.push_back("Changed"); });
    }

    void Select(double start, double finish)
    {
        bar.SetMin(1);
        bar.SetMax(100);
        bar.SetStart(start);
        bar.SetFinish(finish);
    }

    void Send(QEvent::Type type, QPoint at, Qt::MouseButtons held)
    {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, QPointF(at), bar.mapToGlobal(QPointF(at)), button, held, Qt::NoModifier);
        QCoreApplication::sendEvent(&bar, &event);
    }
    void Press(QPoint at) { Send(QEvent::MouseButtonPress, at, Qt::LeftButton); }
    void DragTo(QPoint at) { Send(QEvent::MouseMove, at, Qt::LeftButton); }
    void Hover(QPoint at) { Send(QEvent::MouseMove, at, Qt::NoButton); }
    void Release(QPoint at) { Send(QEvent::MouseButtonRelease, at, Qt::NoButton); }
    void DoubleClick(QPoint at)
    {
        Press(at);
        Release(at);
        Send(QEvent::MouseButtonDblClick, at, Qt::LeftButton);
        Release(at);
    }

    int ThumbMiddle() const { return (bar.Model().ThumbStart() + bar.Model().ThumbEnd()) / 2; }

    TZoomler bar;
    std::vector<std::string> events;
};

using Events = std::vector<std::string>;

TEST(ZoomlerWidget, IsCreatedWithTheBarsDefaults)
{
    TZoomler bar;
    EXPECT_EQ(bar.size(), QSize(200, 14));
    EXPECT_EQ(bar.Min(), 1.0);
    EXPECT_EQ(bar.Max(), 100.0);
    EXPECT_EQ(bar.Start(), 30.0);
    EXPECT_EQ(bar.Finish(), 70.0);
    EXPECT_TRUE(bar.DblClkEnable());
    EXPECT_EQ(bar.Orientation(), TOrientation::Horizontal);
    EXPECT_FALSE(bar.RepeatTimer().isActive());
}

TEST_F(ZoomlerWidgetTest, SettersCorrectValuesOutOfOrder)
{
    Select(20, 60);
    bar.SetStart(80);
    EXPECT_EQ(bar.Start(), 59.0);
    bar.SetStart(-5);
    EXPECT_EQ(bar.Start(), 1.0);
    bar.SetFinish(0.5);
    EXPECT_EQ(bar.Finish(), 2.0);
    bar.SetMax(1);
    EXPECT_EQ(bar.Max(), 2.0);
    bar.SetMin(7);
    EXPECT_EQ(bar.Min(), 1.0);
}

TEST_F(ZoomlerWidgetTest, PropertiesReachTheSameSetters)
{
    Select(20, 60);
    EXPECT_TRUE(bar.setProperty("Start", 75.0));
    EXPECT_EQ(bar.property("Start").toDouble(), 59.0);
    EXPECT_TRUE(bar.setProperty("DblClkEnable", false));
    EXPECT_FALSE(bar.DblClkEnable());
}

TEST_F(ZoomlerWidgetTest, FullRangeThumbSpansTheWholeTrack)
{
    Select(1, 100);
    EXPECT_EQ(bar.Model().ThumbStart(), 12);
    EXPECT_EQ(bar.Model().ThumbEnd(), 514);
}

TEST_F(ZoomlerWidgetTest, PaintingShowsTheRaisedThumbAtItsEnds)
{
    Select(1, 100);
    const QImage picture = bar.grab().toImage();
    ASSERT_EQ(picture.size(), QSize(526, 14));
    EXPECT_EQ(picture.pixel(12, 5), qRgb(255, 255, 255));  // light left edge
    EXPECT_EQ(picture.pixel(514, 5), qRgb(105, 105, 105)); // dark right edge
    EXPECT_EQ(picture.pixel(17, 5), qRgb(128, 128, 128));  // grip mark
    EXPECT_EQ(picture.pixel(5, 7), qRgb(128, 128, 128));   // low arrow
}

TEST_F(ZoomlerWidgetTest, HeldLowButtonStepsByOneThenByHalfThenNotAtAll)
{
    Select(2.5, 50);
    Press({5, 7});
    EXPECT_EQ(bar.Start(), 1.5);
    EXPECT_TRUE(bar.RepeatTimer().isActive());
    EXPECT_EQ(bar.RepeatTimer().interval(), 500);

    bar.RepeatTimerTimeout();
    EXPECT_EQ(bar.Start(), 1.0);
    EXPECT_EQ(bar.Finish(), 48.5);
    EXPECT_EQ(bar.RepeatTimer().interval(), 50);

    bar.RepeatTimerTimeout();
    EXPECT_EQ(bar.Start(), 1.0);
    EXPECT_EQ(bar.Finish(), 48.5);
    EXPECT_EQ(events, (Events{"Changed", "Changed", "Changed"}));

    Release({5, 7});
    EXPECT_FALSE(bar.RepeatTimer().isActive());
    EXPECT_FALSE(bar.Model().LowButtonHeld());
}

TEST_F(ZoomlerWidgetTest, HighButtonStepsUp)
{
    Select(20, 60);
    Press({520, 7});
    EXPECT_EQ(bar.Start(), 21.0);
    EXPECT_EQ(bar.Finish(), 61.0);
    Release({520, 7});
    EXPECT_EQ(events, (Events{"Changed"}));
}

TEST_F(ZoomlerWidgetTest, DoubleClickWithDblClkEnableOffChangesNothing)
{
    Select(20, 60);
    bar.SetDblClkEnable(false);
    // On the thumb's rim, outside every zone: the clicks alone fire nothing.
    DoubleClick({ThumbMiddle(), 1});
    EXPECT_EQ(bar.Start(), 20.0);
    EXPECT_EQ(bar.Finish(), 60.0);
    EXPECT_TRUE(events.empty());
}

TEST_F(ZoomlerWidgetTest, DoubleClickResetsToTheWholeRange)
{
    Select(20, 60);
    DoubleClick({ThumbMiddle(), 1});
    EXPECT_EQ(bar.Start(), 1.0);
    EXPECT_EQ(bar.Finish(), 100.0);
    EXPECT_EQ(events, (Events{"Changed"}));
}

TEST_F(ZoomlerWidgetTest, ClickOnTheThumbChangesOnRelease)
{
    Select(20, 60);
    Press({ThumbMiddle(), 7});
    Release({ThumbMiddle(), 7});
    EXPECT_EQ(events, (Events{"Changed"}));
    EXPECT_EQ(bar.Start(), 20.0);
}

TEST_F(ZoomlerWidgetTest, DraggingTheThumbScrollsThenChangesOnRelease)
{
    Select(20, 60);
    const int middle = ThumbMiddle();
    Press({middle, 7});
    EXPECT_TRUE(events.empty());
    DragTo({middle + 51, 7});
    EXPECT_EQ(events, (Events{"Scrolling"}));
    EXPECT_NEAR(bar.Start(), 20 + 51 * 99.0 / 502, 1e-9);
    EXPECT_NEAR(bar.Finish() - bar.Start(), 40.0, 1e-9);
    Release({middle + 51, 7});
    EXPECT_EQ(events, (Events{"Scrolling", "Changed"}));
    EXPECT_EQ(bar.Model().DragState(), ZoomDrag::None);
}

TEST_F(ZoomlerWidgetTest, DraggingAnEndZooms)
{
    Select(20, 60);
    const int startEnd = bar.Model().ThumbStart() + 5;
    Press({startEnd, 7});
    DragTo({startEnd - 20, 7});
    Release({startEnd - 20, 7});
    EXPECT_EQ(events, (Events{"Zooming", "Changed"}));
    EXPECT_LT(bar.Start(), 20.0);
    EXPECT_EQ(bar.Finish(), 60.0);
}

TEST_F(ZoomlerWidgetTest, ClickOnTheTrackJumpsAndChanges)
{
    Select(50, 60);
    Press({13, 7});
    EXPECT_LT(bar.Start(), 2.0);
    EXPECT_NEAR(bar.Finish() - bar.Start(), 10.0, 1e-9);
    EXPECT_EQ(events, (Events{"Changed"}));
}

TEST_F(ZoomlerWidgetTest, CursorFollowsTheZoneUnderTheMouse)
{
    Select(20, 60);
    Hover({bar.Model().ThumbStart() + 5, 7});
    EXPECT_EQ(bar.cursor().shape(), Qt::SizeHorCursor);
    Hover({bar.Model().ThumbEnd() - 5, 7});
    EXPECT_EQ(bar.cursor().shape(), Qt::SizeHorCursor);
    Hover({ThumbMiddle(), 7});
    EXPECT_EQ(bar.cursor().shape(), Qt::PointingHandCursor);
    Hover({400, 7});
    EXPECT_EQ(bar.cursor().shape(), Qt::ArrowCursor);
    EXPECT_TRUE(events.empty());
}

TEST_F(ZoomlerWidgetTest, VerticalBarResizesAlongY)
{
    bar.SetOrientation(TOrientation::Vertical);
    bar.resize(14, 526);
    Select(20, 60);
    Hover({7, bar.Model().ThumbStart() + 5});
    EXPECT_EQ(bar.cursor().shape(), Qt::SizeVerCursor);
}

} // namespace
} // namespace movra
