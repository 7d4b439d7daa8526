#include "app/about_animation.h"

#include <cmath>

namespace movra {

namespace {

// Brings a texture coordinate into [0, size) by whole periods.
double Wrap(double value, double size)
{
    if (size <= 0.0 || !std::isfinite(value))
        return 0.0;
    while (value >= size)
        value -= size;
    while (value < 0.0)
        value += size;
    // A tiny negative value plus size can round up to size itself.
    return value >= size ? 0.0 : value;
}

} // namespace

void AboutAnimation::Start()
{
    du_ = 1.0;
    dv_ = 0.0;
    a1_ = 0.0;
    a2_ = 0.0;
}

void AboutAnimation::RotatePic(IndexedFrame frame)
{
    if (texture_.empty() || frame.bits == nullptr)
        return;
    const double wp = Wp_;
    const double hp = Hp_;
    const double cx = frame.width / 2.0;
    const double cy = frame.height / 2.0;
    double rowU = Wrap(wp / 2.0 - du_ * cx + dv_ * cy, wp);
    double rowV = Wrap(hp / 2.0 - dv_ * cx - du_ * cy, hp);
    for (int y = 0; y < frame.height; ++y) {
        std::uint8_t* pixel = frame.bits + y * frame.stride;
        double u = rowU;
        double v = rowV;
        for (int x = 0; x < frame.width; ++x) {
            pixel[x] = texture_[Index(static_cast<int>(u), static_cast<int>(v))];
            u = Wrap(u + du_, wp);
            v = Wrap(v + dv_, hp);
        }
        rowU = Wrap(rowU - e_, wp);
        rowV = Wrap(rowV + f_, hp);
    }

    const double sa = 3.0 * std::sin(a2_) + 5.0;
    du_ = sa * std::sin(a1_);
    dv_ = sa * std::cos(a1_);
    const double sb = 3.0 * std::sin(b2_) + 5.0;
    f_ = sb * std::sin(b1_);
    e_ = sb * std::cos(b1_);

    a1_ += 0.02;
    a2_ += 0.012;
    b1_ += 0.02;
    b2_ = b1_ + 0.01201;
}

} // namespace movra
