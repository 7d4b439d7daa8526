#include "app/about_picture.h"

#include <algorithm>
#include <cmath>

namespace movra {

namespace {

constexpr int kBackgroundShades = 64;  // palette 0..63: plate body
constexpr int kWellShades = 192;       // palette 64..255: well colours
constexpr int kPitch = 50;             // well spacing in pixels
constexpr double kWellRadius = 19.0;

QList<QRgb> MakePalette()
{
    QList<QRgb> palette;
    for (int i = 0; i < kBackgroundShades; ++i)
        palette.append(qRgb(20 + i / 2, 30 + i, 70 + 2 * i));
    for (int i = 0; i < kWellShades; ++i) {
        const double t = i / double(kWellShades - 1);  // cold to hot
        const int red = static_cast<int>(255 * std::clamp(1.6 * t - 0.2, 0.0, 1.0));
        const int green = static_cast<int>(255 * std::clamp(1.8 * t - 0.6, 0.0, 1.0) * 0.9 + 20 * (1 - t));
        const int blue = static_cast<int>(255 * std::clamp(1.0 - 1.5 * t, 0.1, 1.0));
        palette.append(qRgb(red, green, blue));
    }
    return palette;
}

} // namespace

QImage MakeAboutPicture()
{
    QImage picture(kAboutPictureWidth, kAboutPictureHeight, QImage::Format_Indexed8);
    picture.setColorTable(MakePalette());
    for (int y = 0; y < kAboutPictureHeight; ++y) {
        uchar* row = picture.scanLine(y);
        const int wellRow = y / kPitch;
        for (int x = 0; x < kAboutPictureWidth; ++x) {
            const int wellColumn = x / kPitch;
            const double dx = x - (wellColumn + 0.5) * kPitch;
            const double dy = y - (wellRow + 0.5) * kPitch;
            const double r = std::sqrt(dx * dx + dy * dy);
            if (r > kWellRadius) {
                // Plate body: a soft diagonal gradient.
                row[x] = static_cast<uchar>((x + y) * (kBackgroundShades - 1) / (kAboutPictureWidth + kAboutPictureHeight));
                continue;
            }
            // Each well shows one point of a sigmoid time course, lit from the centre.
            const int well = wellRow * (kAboutPictureWidth / kPitch) + wellColumn;
            const double level = 1.0 / (1.0 + std::exp(-(well - 24) / 5.0));
            const double shade = std::clamp(level * (1.0 - 0.35 * r / kWellRadius), 0.0, 1.0);
            row[x] = static_cast<uchar>(kBackgroundShades + static_cast<int>(shade * (kWellShades - 1)));
        }
    }
    return picture;
}

} // namespace movra
