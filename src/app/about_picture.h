#pragma once
// The About window's hidden picture, drawn in code: a 300 x 400 image with an
// 8-bit palette showing a microplate whose wells glow along a kinetic curve.

#include <QImage>

namespace movra {

inline constexpr int kAboutPictureWidth = 300;
inline constexpr int kAboutPictureHeight = 400;

// A Format_Indexed8 image of kAboutPictureWidth x kAboutPictureHeight.
QImage MakeAboutPicture();

} // namespace movra
