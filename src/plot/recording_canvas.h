#pragma once
// A drawing surface that draws nothing and remembers every call, with the
// pen, brush and font in force, so tests can check geometry and texts.
// Text measurement is deterministic: a text is (characters x (font height
// div 2)) pixels wide and (font height) pixels high.

#include <string>
#include <vector>

#include "plot/plot_canvas.h"

namespace movra {

enum class CanvasOp { Clear, Line, Rectangle, Ellipse, Polygon, Pixel, Text, PenChange, BrushChange, FontChange };

struct CanvasCall {
    CanvasOp op = CanvasOp::Clear;
    std::vector<CanvasPoint> points;  // Line: from, to; Rectangle/Ellipse: two corners; Pixel/Text: one
    std::string text;                 // Text only
    Colour colour = 0;                // Clear and Pixel
    Pen pen;
    Brush brush;
    FontSpec font;
};

class RecordingCanvas final : public PlotCanvas {
public:
    RecordingCanvas(int width, int height) noexcept : PlotCanvas(width, height) {}

    void Clear(Colour colour) override;
    void Rectangle(int x1, int y1, int x2, int y2) override;
    void Ellipse(int x1, int y1, int x2, int y2) override;
    void Polygon(std::span<const CanvasPoint> points) override;
    void SetPixel(int x, int y, Colour colour) override;
    void TextOut(int x, int y, std::string_view text) override;
    int TextWidth(std::string_view text) const override;
    int TextHeight(std::string_view text) const override;

    const std::vector<CanvasCall>& Calls() const noexcept { return calls_; }
    std::vector<CanvasCall> CallsOf(CanvasOp op) const;
    // Texts written, in order.
    std::vector<std::string> Texts() const;
    void Forget() noexcept { calls_.clear(); }

protected:
    void DrawLine(CanvasPoint from, CanvasPoint to) override;
    void PenChanged() override;
    void BrushChanged() override;
    void FontChanged() override;

private:
    CanvasCall& Record(CanvasOp op, std::vector<CanvasPoint> points);
    std::vector<CanvasCall> calls_;
};

} // namespace movra
