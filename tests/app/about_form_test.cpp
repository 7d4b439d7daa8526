// The About window: the animation timer that runs only while the window is
// shown and continues where it stopped, and the rotating, zooming and
// tiling picture it draws.

#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "app/about_animation.h"
#include "app/about_form.h"

namespace movra {
namespace {

TEST(AboutFormTest, AnimationRunsOnlyWhileShownAndContinuesWhereItStopped)
{
    AboutForm about;
    EXPECT_FALSE(about.Timer1().isActive());
    about.show();
    EXPECT_TRUE(QTest::qWaitFor([&about] { return about.animation().a1() > 0.03; }, 5000));  // two ticks
    QTest::keyClick(&about, Qt::Key_Escape);  // closes like "Det fed'"
    EXPECT_FALSE(about.isVisible() || about.Timer1().isActive());
    const double stoppedAt = about.animation().a1();
    about.show();
    about.RotatePic();
    EXPECT_NEAR(about.animation().a1(), stoppedAt + 0.02, 1e-9);
    about.CloseBut().click();
    EXPECT_FALSE(about.isVisible() || about.Timer1().isActive());
}

// A started animation of a picture whose palette index encodes the position
// as x + 10 * y, drawing frames of the given size.
struct Animation {
    Animation(int width, int height)
    {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) picture.push_back(static_cast<std::uint8_t>((x + 10 * y) % 256));
        animation.LoadPicture(width, height, [&](int y) { return picture.data() + y * width; });
        animation.Start();
    }
    std::vector<std::uint8_t> Frame(int width, int height)
    {
        std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width * height), 0);
        animation.RotatePic({pixels.data(), width, height, width});
        return pixels;
    }
    std::vector<std::uint8_t> picture;
    AboutAnimation animation;
};

TEST(AboutAnimationTest, FirstFrameStepsOnePixelAcrossThenTheAnglesTurnTheStepsAndCoordinatesWrap)
{
    Animation a(20, 30);
    const auto pixels = a.Frame(46, 4);
    // Centre start: u = 10 - 23 wraps to 7, v = 15 - 2 = 13; rows do not move (e = f = 0).
    for (int i = 0; i < 46 * 4; ++i) EXPECT_EQ(pixels[static_cast<std::size_t>(i)], (7 + i % 46) % 20 + 10 * 13) << i;
    // The steps then come from a1 = a2 = 0: du = 0, dv = 5.
    EXPECT_EQ(std::tuple(a.animation.du(), a.animation.dv(), a.animation.b1()), std::tuple(0.0, 5.0, 0.02));
    a.Frame(6, 4);
    EXPECT_NEAR(a.animation.du(), (3 * std::sin(0.012) + 5) * std::sin(0.02), 1e-12);
    EXPECT_EQ(a.animation.a1(), 0.04);

    // Coordinates wrap, so every pixel comes from the picture.
    Animation small(3, 2);
    for (int tick = 0; tick < 200; ++tick)
        for (std::uint8_t index : small.Frame(40, 30)) ASSERT_TRUE(index % 10 < 3 && index / 10 < 2) << int(index);
    AboutAnimation empty;  // without a picture nothing is drawn
    std::vector<std::uint8_t> untouched(4, 7);
    empty.RotatePic({untouched.data(), 2, 2, 2});
    EXPECT_EQ(untouched, std::vector<std::uint8_t>(4, 7));
}

} // namespace
} // namespace movra
