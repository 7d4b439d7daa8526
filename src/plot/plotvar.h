#pragma once
// The plot engine's data: axes, curve drawing records and the label format,
// with their defaults, the default curve records and the automatic tick step.
// Plain values; the engine that draws with them is PlotEngine (winplot.h).

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "plot/plot_canvas.h"

namespace movra {

enum class AxisScale : std::uint8_t { Linear = 0, Logarithmic = 1 };

// One axis. With a logarithmic scale Min, Max and Step are decimal logarithms.
struct TAxis {
    AxisScale Scale = AxisScale::Linear;
    double Min = 0.0;
    double Max = 1.0;
    double Step = 0.2;  // recomputed by every axis drawing call
    std::string Title;
};

// How one curve is drawn. Element 0 of a TCurvParamVector is not drawn.
struct TCurvParam {
    std::int32_t Symbol = 0;      // 0..9, other values draw nothing
    std::int32_t SymbolSize = 0;  // half-size in symbol units
    Colour FillColor = 0;
    std::int32_t PenWidth = 1;
    LineStyle PenStyle = LineStyle::Solid;
    Colour PenColor = 0;
    std::string Legend;           // at most kMaxLegendLength characters; empty = no legend row counted
    std::int32_t PointStep = 1;
    bool Connect = false;
};
using TCurvParamVector = std::vector<TCurvParam>;

inline constexpr std::size_t kMaxLegendLength = 30;

// The pen of a function curve.
struct TLineParam {
    std::int32_t Width = 1;
    LineStyle Style = LineStyle::Solid;
    Colour Color = 0;
};

inline constexpr std::array<Colour, 10> CurvePalette = {
    0x0000FF, 0x008000, 0xFF0000, 0xFF00FF, 0xFFFF00,
    0x00FF00, 0x800000, 0x008080, 0x800080, 0x808000};

// Number format of the axis labels.
struct TLabelFormat {
    int LabelWidth = 10;
    int LabelDecimals = 4;
    bool LabelExponent = false;
    bool LabelKeepZeros = true;
};

// Length N + 1: element 0 blank, curve i with symbol ((i-1) mod 9) + 1, size
// 1, palette colour (i-1) mod 10 and legend "Y" + i. N < 0 empties it.
void DefaultCurveParams(TCurvParamVector& params, int n);

// Sets axis.Step to a power of ten times a power of two giving lowest to
// highest intervals over the axis (R = 100 gives 12.5); only when Min < Max.
void AutoStep(TAxis& axis, int lowest = 5, int highest = 10);

// Exponent notation in LabelWidth - 1 characters plus a blank, or fixed
// point with LabelDecimals decimals right-aligned in LabelWidth characters,
// always with "."; without LabelKeepZeros, trailing decimal zeros and then a
// bare "." are removed.
std::string FormatAxisNumber(double value, const TLabelFormat& format);

} // namespace movra
