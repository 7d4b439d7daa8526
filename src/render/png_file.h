#pragma once
// A picture as the bytes of a PNG file, quickly: libpng with the "up" row
// filter and fast run-length deflate, which suit plots (long runs of white,
// rows much like the row above) and take a fraction of the time of the
// adaptive filtering and default compression Qt's writer uses, for files
// about a quarter larger. The resolution (pHYs) is the image's dots per metre.

#include <QImage>

#include <string>

namespace movra {

// Throws std::runtime_error when libpng refuses the picture.
std::string PngBytes(const QImage& image);

} // namespace movra
