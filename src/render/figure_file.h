#pragma once
// A figure as the bytes of a picture file: a drawing made in on-screen
// pixels (96 to the inch) over the figure's size becomes a PNG at a chosen
// resolution, or an SVG or a one-page PDF of the same size that keep lines,
// shapes and text as such (no picture inside). The caller writes the bytes
// where it likes (atomically); nothing here touches a file.

#include <QImage>
#include <QPainter>
#include <QSize>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace movra {

enum class FigureFormat : std::uint8_t { Png, Svg, Pdf };

inline constexpr double kScreenDpi = 96.0;
inline constexpr double kDefaultFigureDpi = 300.0;
// PNG resolutions a user may ask for (dots per inch).
inline constexpr double kMinFigureDpi = 24.0;
inline constexpr double kMaxFigureDpi = 1200.0;

// The format a file name asks for by its extension (.png, .svg, .pdf in any
// case); none for any other name.
std::optional<FigureFormat> FigureFormatOfFile(const std::filesystem::path& file);
// The format named "png", "svg" or "pdf"; none for any other name.
std::optional<FigureFormat> FigureFormatNamed(std::string_view name);
// ".png", ".svg" or ".pdf".
std::string FigureExtension(FigureFormat format);

// Draws the figure on the painter, in on-screen pixels over (0, 0)..size.
using FigureDrawing = std::function<void(QPainter&)>;

// The figure as a white picture of size * dpi / 96 pixels (its dots per
// metre set to dpi), drawn smoothly.
QImage FigureImage(QSize size, double dpi, const FigureDrawing& draw);

// The bytes of the figure's file: a PNG of FigureImage (render/png_file.h;
// dpi only matters here), an SVG of the figure's size or a PDF page of
// that size.
std::string FigureBytes(FigureFormat format, QSize size, double dpi, const FigureDrawing& draw);

} // namespace movra
