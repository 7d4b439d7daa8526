// Painting of the zoom bar: silver boxes with white and dark edges (raised
// for the thumb and released buttons, sunken for the frame, the thumb's
// middle and held buttons), grey grip marks and arrow triangles. Geometry is
// worked out along and across the bar and mapped to x, y at the end, so a
// vertical bar is the horizontal one with x and y exchanged.

#include "plot/zoomler.h"

namespace movra {

namespace {

constexpr Colour kSilver = 0xC0C0C0;
constexpr Colour kLightGrey = 0xE0E0E0;
constexpr Colour kGrey = 0x808080;

enum class BoxStyle { Raised, Sunken };

class BarPainter {
public:
    BarPainter(PlotCanvas& canvas, TOrientation orientation, Colour darkShadow)
        : canvas_(canvas), horizontal_(orientation == TOrientation::Horizontal), dark_(darkShadow)
    {
    }

    CanvasPoint At(int along, int across) const noexcept
    {
        return horizontal_ ? CanvasPoint{along, across} : CanvasPoint{across, along};
    }

    // A box whose edges run along the given coordinates (inclusive).
    void Box(int along1, int across1, int along2, int across2, BoxStyle style)
    {
        const CanvasPoint a = At(along1, across1);
        const CanvasPoint b = At(along2, across2);
        canvas_.SetPen({kSilver, LineStyle::Solid, 1});
        canvas_.SetBrush({kSilver, FillStyle::Solid});
        canvas_.Rectangle(a.x, a.y, b.x + 1, b.y + 1);
        const Colour lightEdges = style == BoxStyle::Raised ? kWhite : dark_;
        const Colour darkEdges = style == BoxStyle::Raised ? dark_ : kWhite;
        canvas_.SetPenColor(lightEdges);
        canvas_.MoveTo(a.x, b.y);
        canvas_.LineTo(a.x, a.y);
        canvas_.LineTo(b.x, a.y);
        canvas_.SetPenColor(darkEdges);
        canvas_.LineTo(b.x, b.y);
        canvas_.LineTo(a.x, b.y);
    }

    void Area(int along1, int across1, int along2, int across2, Colour colour)
    {
        const CanvasPoint a = At(along1, across1);
        const CanvasPoint b = At(along2, across2);
        canvas_.SetPen({colour, LineStyle::Solid, 1});
        canvas_.SetBrush({colour, FillStyle::Solid});
        canvas_.Rectangle(a.x, a.y, b.x, b.y);
    }

    void Mark(int along, int across1, int across2)
    {
        const CanvasPoint a = At(along, across1);
        const CanvasPoint b = At(along, across2);
        canvas_.MoveTo(a.x, a.y);
        canvas_.LineTo(b.x, b.y);
    }

    void Triangle(CanvasPoint p1, CanvasPoint p2, CanvasPoint p3)
    {
        const CanvasPoint corners[] = {At(p1.x, p1.y), At(p2.x, p2.y), At(p3.x, p3.y)};
        canvas_.Polygon(corners);
    }

private:
    PlotCanvas& canvas_;
    bool horizontal_;
    Colour dark_;
};

} // namespace

void ZoomBarModel::Paint(PlotCanvas& canvas, Colour darkShadow)
{
    UpdateThumb();
    const int length = Length();
    const int thick = Thickness();
    BarPainter painter(canvas, orientation_, darkShadow);

    painter.Box(0, 0, length - 1, thick - 1, BoxStyle::Sunken);
    painter.Area(2, 2, length - 2, thick - 2, kLightGrey);

    painter.Box(thumbStart_, 2, thumbEnd_, thick - 3, BoxStyle::Raised);
    painter.Box(thumbStart_ + 10, 3, thumbEnd_ - 10, thick - 4, BoxStyle::Sunken);

    painter.Box(1, 2, 11, thick - 3, lowHeld_ ? BoxStyle::Sunken : BoxStyle::Raised);
    painter.Box(length - 11, 2, length - 2, thick - 3, highHeld_ ? BoxStyle::Sunken : BoxStyle::Raised);

    canvas.SetPen({kGrey, LineStyle::Solid, 1});
    canvas.SetBrush({kGrey, FillStyle::Solid});
    painter.Mark(thumbStart_ + 5, 3, thick - 4);
    painter.Mark(thumbEnd_ - 5, 3, thick - 4);
    const int tip = (thick - 4) / 2 + 2;
    painter.Triangle({9, 3}, {9, thick - 4}, {2, tip});
    painter.Triangle({length - 9, 3}, {length - 9, thick - 4}, {length - 3, tip});
}

} // namespace movra
