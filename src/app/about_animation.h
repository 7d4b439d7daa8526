#pragma once
// The About window's animation without any window: a texture of palette
// indices is sampled along rotated, scaled steps into a frame of palette
// indices, tiling the picture in both directions. Each RotatePic call draws
// one frame and advances the angles; the state persists between showings.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace movra {

// A frame of 8-bit palette indices, rows of `width` bytes `stride` apart.
struct IndexedFrame {
    std::uint8_t* bits = nullptr;
    int width = 0;
    int height = 0;
    std::ptrdiff_t stride = 0;
};

class AboutAnimation {
public:
    // Takes the picture: pixelRow(y) yields row y (width bytes) of palette indices.
    template <typename RowAccess>
    void LoadPicture(int width, int height, RowAccess pixelRow)
    {
        Wp_ = width;
        Hp_ = height;
        texture_.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
        for (int y = 0; y < height; ++y) {
            const std::uint8_t* row = pixelRow(y);
            for (int x = 0; x < width; ++x)
                texture_[Index(x, y)] = row[x];
        }
    }

    // Restarts the steps and the column angles (the window's creation).
    void Start();

    // Draws one frame into `frame`, then advances steps and angles.
    void RotatePic(IndexedFrame frame);

    double du() const { return du_; }
    double dv() const { return dv_; }
    double a1() const { return a1_; }
    double b1() const { return b1_; }

private:
    std::size_t Index(int x, int y) const
    {
        return static_cast<std::size_t>(x) * static_cast<std::size_t>(Hp_) + static_cast<std::size_t>(y);
    }

    int Wp_ = 0;
    int Hp_ = 0;
    std::vector<std::uint8_t> texture_;  // [x][y]
    double du_ = 0.0, dv_ = 0.0;  // texture step per screen column
    double e_ = 0.0, f_ = 0.0;    // texture step per screen row
    double a1_ = 0.0, a2_ = 0.0, b1_ = 0.0, b2_ = 0.0;
};

} // namespace movra
