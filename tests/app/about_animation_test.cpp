// The rotating, zooming and tiling picture of the About window.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "app/about_animation.h"

namespace movra {
namespace {

// A started animation of a picture whose palette index encodes the
// position: x + 10 * y (mod 256).
AboutAnimation MakeAnimation(int width, int height)
{
    std::vector<std::uint8_t> rows;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) rows.push_back(static_cast<std::uint8_t>((x + 10 * y) % 256));
    AboutAnimation animation;
    animation.LoadPicture(width, height, [&](int y) { return rows.data() + y * width; });
    animation.Start();
    return animation;
}

std::vector<std::uint8_t> Render(AboutAnimation& animation, int width, int height)
{
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width * height), 0);
    animation.RotatePic({pixels.data(), width, height, width});
    return pixels;
}

TEST(AboutAnimationTest, FirstFrameStepsOnePixelAcrossAndTheAnglesAdvance)
{
    AboutAnimation animation = MakeAnimation(20, 30);
    const auto pixels = Render(animation, 6, 4);
    // Centre start: u = 10 - 3 = 7, v = 15 - 2 = 13; rows do not move (e = f = 0).
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(pixels[static_cast<std::size_t>(y * 6 + x)], 7 + x + 10 * 13) << x << "," << y;
    // The steps then come from a1 = a2 = 0: du = 0, dv = 5.
    EXPECT_NEAR(animation.du(), 0.0, 1e-12);
    EXPECT_NEAR(animation.dv(), 5.0, 1e-12);
    EXPECT_NEAR(animation.a1(), 0.02, 1e-12);
    EXPECT_NEAR(animation.b1(), 0.02, 1e-12);
    Render(animation, 6, 4);
    EXPECT_NEAR(animation.du(), (3 * std::sin(0.012) + 5) * std::sin(0.02), 1e-12);
    EXPECT_NEAR(animation.a1(), 0.04, 1e-12);
}

TEST(AboutAnimationTest, CoordinatesWrapSoEveryPixelComesFromThePicture)
{
    AboutAnimation animation = MakeAnimation(3, 2);
    for (int tick = 0; tick < 200; ++tick)
        for (std::uint8_t index : Render(animation, 40, 30))
            ASSERT_TRUE(index % 10 < 3 && index / 10 < 2) << int(index);
    AboutAnimation empty;  // without a picture nothing is drawn
    std::vector<std::uint8_t> pixels(4, 7);
    empty.RotatePic({pixels.data(), 2, 2, 2});
    EXPECT_EQ(pixels, std::vector<std::uint8_t>(4, 7));
}

} // namespace
} // namespace movra
