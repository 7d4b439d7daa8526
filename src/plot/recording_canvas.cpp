#include "plot/recording_canvas.h"

namespace movra {

CanvasCall& RecordingCanvas::Record(CanvasOp op, std::vector<CanvasPoint> points)
{
    calls_.push_back({op, std::move(points), {}, 0, GetPen(), GetBrush(), GetFont()});
    return calls_.back();
}

void RecordingCanvas::Clear(Colour colour)
{
    Record(CanvasOp::Clear, {}).colour = colour;
}

void RecordingCanvas::DrawLine(CanvasPoint from, CanvasPoint to)
{
    Record(CanvasOp::Line, {from, to});
}

void RecordingCanvas::Rectangle(int x1, int y1, int x2, int y2)
{
    Record(CanvasOp::Rectangle, {{x1, y1}, {x2, y2}});
}

void RecordingCanvas::Ellipse(int x1, int y1, int x2, int y2)
{
    Record(CanvasOp::Ellipse, {{x1, y1}, {x2, y2}});
}

void RecordingCanvas::Polygon(std::span<const CanvasPoint> points)
{
    Record(CanvasOp::Polygon, {points.begin(), points.end()});
}

void RecordingCanvas::SetPixel(int x, int y, Colour colour)
{
    Record(CanvasOp::Pixel, {{x, y}}).colour = colour;
}

void RecordingCanvas::TextOut(int x, int y, std::string_view text)
{
    Record(CanvasOp::Text, {{x, y}}).text = std::string(text);
}

int RecordingCanvas::TextWidth(std::string_view text) const
{
    return static_cast<int>(text.size()) * (GetFont().pixelHeight / 2);
}

int RecordingCanvas::TextHeight(std::string_view) const
{
    return GetFont().pixelHeight;
}

void RecordingCanvas::PenChanged()
{
    Record(CanvasOp::PenChange, {});
}

void RecordingCanvas::BrushChanged()
{
    Record(CanvasOp::BrushChange, {});
}

void RecordingCanvas::FontChanged()
{
    Record(CanvasOp::FontChange, {});
}

std::vector<CanvasCall> RecordingCanvas::CallsOf(CanvasOp op) const
{
    std::vector<CanvasCall> found;
    for (const auto& call : calls_) {
        if (call.op == op) {
            found.push_back(call);
        }
    }
    return found;
}

std::vector<std::string> RecordingCanvas::Texts() const
{
    std::vector<std::string> texts;
    for (const auto& call : calls_) {
        if (call.op == CanvasOp::Text) {
            texts.push_back(call.text);
        }
    }
    return texts;
}

} // namespace movra
