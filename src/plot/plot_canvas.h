#pragma once
// The drawing surface the plot engine, the graph view and the zoom bar draw
// on: integer pixels, x to the right and y downwards, GDI-style primitives
// with a current pen, brush and font. Implementations only draw; the state
// (pen, brush, font, current position) is kept here so every surface sees the
// same sequence of settings.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "shared/colour.h"

namespace movra {

// Line styles in the order of the curve records' pen style codes 0..5.
enum class LineStyle : std::uint8_t { Solid = 0, Dash = 1, Dot = 2, DashDot = 3, DashDotDot = 4, None = 5 };

enum class FillStyle : std::uint8_t { Solid, Clear };

struct CanvasPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const CanvasPoint&, const CanvasPoint&) = default;
};

struct Pen {
    Colour color = kBlack;
    LineStyle style = LineStyle::Solid;
    int width = 1;
    friend bool operator==(const Pen&, const Pen&) = default;
};

struct Brush {
    Colour color = kWhite;
    FillStyle style = FillStyle::Solid;
    friend bool operator==(const Brush&, const Brush&) = default;
};

// A font chosen by face and cell height in pixels. A rotated font runs its
// text upwards (90 degrees counter-clockwise), normal weight.
struct FontSpec {
    std::string face = "Arial";
    int pixelHeight = 13;
    bool rotated90 = false;
    Colour color = kBlack;
    friend bool operator==(const FontSpec&, const FontSpec&) = default;
};

// Primitive semantics (what a concrete surface must reproduce):
// - LineTo draws from the current position to (x, y) with the pen and makes
//   (x, y) the current position; the end pixel itself may be left out.
// - Rectangle and Ellipse take a bounding box whose right and bottom edges
//   are exclusive (pixels x1..x2-1, y1..y2-1); the outline uses the pen
//   (nothing when its style is None), the inside the brush (nothing when the
//   brush is Clear). Polygon likewise, closing the figure.
// - TextOut writes text with its cell's top-left corner at (x, y) in the font
//   colour, over a box in the brush colour when the brush is Solid and over
//   nothing when it is Clear. With a rotated font the text reads upwards
//   from (x, y): its cell occupies x .. x + height and y - width .. y.
// - TextWidth and TextHeight measure along and across the text, in the
//   current font, whatever its rotation.
class PlotCanvas {
public:
    PlotCanvas(int width, int height) noexcept : width_(width), height_(height) {}
    virtual ~PlotCanvas() = default;
    PlotCanvas(const PlotCanvas&) = delete;
    PlotCanvas& operator=(const PlotCanvas&) = delete;

    int Width() const noexcept { return width_; }
    int Height() const noexcept { return height_; }

    // Fills the whole surface with one colour; pen, brush and font stay.
    virtual void Clear(Colour colour) = 0;

    void MoveTo(int x, int y) noexcept { penPos_ = {x, y}; }
    void LineTo(int x, int y)
    {
        DrawLine(penPos_, {x, y});
        penPos_ = {x, y};
    }
    CanvasPoint PenPos() const noexcept { return penPos_; }

    virtual void Rectangle(int x1, int y1, int x2, int y2) = 0;
    virtual void Ellipse(int x1, int y1, int x2, int y2) = 0;
    virtual void Polygon(std::span<const CanvasPoint> points) = 0;
    virtual void SetPixel(int x, int y, Colour colour) = 0;
    virtual void TextOut(int x, int y, std::string_view text) = 0;
    virtual int TextWidth(std::string_view text) const = 0;
    virtual int TextHeight(std::string_view text) const = 0;

    const Pen& GetPen() const noexcept { return pen_; }
    const Brush& GetBrush() const noexcept { return brush_; }
    const FontSpec& GetFont() const noexcept { return font_; }

    void SetPen(const Pen& pen)
    {
        pen_ = pen;
        PenChanged();
    }
    void SetPenColor(Colour colour) { SetPen({colour, pen_.style, pen_.width}); }
    void SetPenStyle(LineStyle style) { SetPen({pen_.color, style, pen_.width}); }
    void SetPenWidth(int width) { SetPen({pen_.color, pen_.style, width}); }

    void SetBrush(const Brush& brush)
    {
        brush_ = brush;
        BrushChanged();
    }
    void SetBrushColor(Colour colour) { SetBrush({colour, brush_.style}); }
    void SetBrushStyle(FillStyle style) { SetBrush({brush_.color, style}); }

    void SetFont(const FontSpec& font)
    {
        font_ = font;
        FontChanged();
    }

protected:
    virtual void DrawLine(CanvasPoint from, CanvasPoint to) = 0;
    // Hooks for surfaces that cache a native pen, brush or font.
    virtual void PenChanged() {}
    virtual void BrushChanged() {}
    virtual void FontChanged() {}

private:
    int width_;
    int height_;
    CanvasPoint penPos_{};
    Pen pen_{};
    Brush brush_{};
    FontSpec font_{};
};

} // namespace movra
