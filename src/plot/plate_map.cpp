#include "plot/plate_map.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "fitting/fit_flags.h"
#include "shared/number_format.h"
#include "shared/one_based.h"

namespace movra {
namespace {

constexpr int kMargin = 6;
constexpr Colour kDiscEdge = 0x808080;
constexpr Colour kFailedCross = 0x000099;
constexpr Colour kSampleOutline = 0x202020;

// viridis at 0, 1/8, ..., 1 as (red, green, blue).
constexpr std::array<std::array<int, 3>, 9> kViridisStops = {{{68, 1, 84},
                                                              {71, 45, 123},
                                                              {59, 82, 139},
                                                              {44, 114, 142},
                                                              {33, 145, 140},
                                                              {40, 174, 128},
                                                              {94, 201, 98},
                                                              {173, 220, 48},
                                                              {253, 231, 37}}};

// The status codes the status scale shows, best first.
constexpr std::array<std::int32_t, 4> kStatusCodes = {OptOk, OptSing, OptBigLambda, OptNonConv};
constexpr ScaleRange kStatusRange{OptNonConv, OptOk};

std::string ShortNumber(double value)
{
    return FormatGeneral(RoundSignificant(value, 4));
}

std::string WithDeviation(double value, double sd)
{
    return FormatGeneral(RoundSignificant(value, 6)) + " \u00b1 " + FormatGeneral(RoundSignificant(sd, 3));
}

const std::string& LabelOfWell(const PlateLayout& layout, int row, int column)
{
    static const std::string kNone;
    if (row < 1 || column < 1 || row > layout.PlateRows() || column > layout.PlateColumns()) return kNone;
    return layout.Cell(column, row);
}

void CentredText(PlotCanvas& canvas, int centreX, int y, const std::string& text)
{
    canvas.TextOut(centreX - canvas.TextWidth(text) / 2, y, text);
}

// The wells of one sample share an outline: a side is drawn where the
// neighbour across it belongs elsewhere.
void DrawSampleOutlines(PlotCanvas& canvas, const PlateMapGeometry& g, const PlateLayout& layout)
{
    canvas.SetPen({kSampleOutline, LineStyle::Solid, 2});
    for (int row = 1; row <= g.Rows; ++row)
        for (int column = 1; column <= g.Columns; ++column) {
            const std::string& label = LabelOfWell(layout, row, column);
            if (label.empty()) continue;
            const int x0 = g.Left + (column - 1) * g.Pitch;
            const int y0 = g.Top + (row - 1) * g.Pitch;
            const int x1 = x0 + g.Pitch;
            const int y1 = y0 + g.Pitch;
            const auto side = [&](int otherRow, int otherColumn, int ax, int ay, int bx, int by) {
                if (LabelOfWell(layout, otherRow, otherColumn) == label) return;
                canvas.MoveTo(ax, ay);
                canvas.LineTo(bx, by);
            };
            side(row - 1, column, x0, y0, x1, y0);
            side(row + 1, column, x0, y1, x1, y1);
            side(row, column - 1, x0, y0, x0, y1);
            side(row, column + 1, x1, y0, x1, y1);
        }
}

void DrawWell(PlotCanvas& canvas, const PlateMapGeometry& g, int row, int column, Colour fill,
              const FitQuality& quality)
{
    const int x0 = g.Left + (column - 1) * g.Pitch;
    const int y0 = g.Top + (row - 1) * g.Pitch;
    const int inset = std::max(1, g.Pitch / 10);
    canvas.SetPen({kDiscEdge, LineStyle::Solid, 1});
    canvas.SetBrush({fill, FillStyle::Solid});
    canvas.Ellipse(x0 + inset, y0 + inset, x0 + g.Pitch - inset, y0 + g.Pitch - inset);
    if (quality.Failed()) {
        const int a = inset + g.Pitch / 6;
        canvas.SetPen({kFailedCross, LineStyle::Solid, std::max(1, g.Pitch / 12)});
        canvas.MoveTo(x0 + a, y0 + a);
        canvas.LineTo(x0 + g.Pitch - a, y0 + g.Pitch - a);
        canvas.MoveTo(x0 + a, y0 + g.Pitch - a);
        canvas.LineTo(x0 + g.Pitch - a, y0 + a);
    }
    if (quality.Flags != 0) {
        const int s = std::max(3, g.Pitch / 3);
        const int right = x0 + g.Pitch - 1;
        const CanvasPoint corner[] = {{right - s, y0 + 1}, {right, y0 + 1}, {right, y0 + 1 + s}};
        canvas.SetPen({kFlagColour, LineStyle::Solid, 1});
        canvas.SetBrush({kFlagColour, FillStyle::Solid});
        canvas.Polygon(corner);
    }
}

void DrawScale(PlotCanvas& canvas, const PlateMapGeometry& g, MapQuantity quantity,
               const std::optional<ScaleRange>& range)
{
    const int left = g.Left;
    const int width = g.Pitch * g.Columns;
    const int labelTop = g.BarTop + g.BarHeight + 2;
    canvas.SetPen({kBlack, LineStyle::None, 1});
    if (quantity.Kind == MapQuantityKind::Status) {
        const int slot = width / static_cast<int>(kStatusCodes.size());
        for (std::size_t i = 0; i < kStatusCodes.size(); ++i) {
            const int x = left + static_cast<int>(i) * slot;
            canvas.SetBrush({ScaleColour(ScalePosition(kStatusCodes[i], kStatusRange)), FillStyle::Solid});
            canvas.Rectangle(x + 1, g.BarTop, x + slot - 1, g.BarTop + g.BarHeight);
            canvas.SetBrushStyle(FillStyle::Clear);
            CentredText(canvas, x + slot / 2, labelTop, std::string(FitStatusName(kStatusCodes[i])));
        }
        return;
    }
    constexpr int kStep = 2;
    for (int x = 0; x < width; x += kStep) {
        const Colour colour = range ? ScaleColour(static_cast<double>(x) / std::max(width - 1, 1)) : kNoResultColour;
        canvas.SetBrush({colour, FillStyle::Solid});
        canvas.Rectangle(left + x, g.BarTop, left + std::min(x + kStep, width), g.BarTop + g.BarHeight);
    }
    canvas.SetBrushStyle(FillStyle::Clear);
    if (!range) {
        CentredText(canvas, left + width / 2, labelTop, "no results");
        return;
    }
    canvas.TextOut(left, labelTop, ShortNumber(range->Min));
    const std::string high = ShortNumber(range->Max);
    canvas.TextOut(left + width - canvas.TextWidth(high), labelTop, high);
    CentredText(canvas, left + width / 2, labelTop, MapQuantityName(quantity));
}

} // namespace

double RoundSignificant(double value, int digits) noexcept
{
    if (value == 0.0 || !std::isfinite(value)) return value;
    const double scale = std::pow(10.0, digits - 1 - static_cast<int>(std::floor(std::log10(std::fabs(value)))));
    const double rounded = std::round(value * scale) / scale;
    return std::isfinite(rounded) ? rounded : value;
}

std::vector<MapQuantity> MapQuantities()
{
    std::vector<MapQuantity> quantities;
    for (const auto kind : {MapQuantityKind::Parameter, MapQuantityKind::StdDev, MapQuantityKind::RelativeStdDev})
        for (int k = 1; k <= kMaxParameters; ++k) quantities.push_back({kind, k});
    for (const auto kind : {MapQuantityKind::ChiSq, MapQuantityKind::RSquared, MapQuantityKind::Status})
        quantities.push_back({kind, 1});
    return quantities;
}

std::string MapQuantityName(MapQuantity quantity)
{
    const std::string m = "m" + std::to_string(quantity.Parameter);
    switch (quantity.Kind) {
    case MapQuantityKind::Parameter: return m;
    case MapQuantityKind::StdDev: return "std(" + m + ")";
    case MapQuantityKind::RelativeStdDev: return "rel std(" + m + ")";
    case MapQuantityKind::ChiSq: return "ChiSq";
    case MapQuantityKind::RSquared: return "R\u00b2";
    case MapQuantityKind::Status: return "Status";
    }
    return {};
}

std::optional<double> MapValue(const FitResults& fits, int well, MapQuantity quantity)
{
    if (well < 0 || well > kMaxWells) return std::nullopt;
    const FitQuality& quality = At(fits.WellFitQuality, well);
    if (quantity.Kind == MapQuantityKind::Status) {
        if (!quality.Tried()) return std::nullopt;
        return static_cast<double>(quality.Status);
    }
    if (!fits.Fitted(well)) return std::nullopt;
    const int p = std::clamp(quantity.Parameter, 1, kMaxParameters);
    const bool parameterKind = quantity.Kind == MapQuantityKind::Parameter ||
                               quantity.Kind == MapQuantityKind::StdDev ||
                               quantity.Kind == MapQuantityKind::RelativeStdDev;
    // A parameter the formula does not use has no value.
    if (parameterKind && quality.Used != 0 && (quality.Used & ParameterBit(p)) == 0) return std::nullopt;
    const TVector& row = At(fits.WellFitResults, well);
    double value = 0.0;
    switch (quantity.Kind) {
    case MapQuantityKind::Parameter: value = At(row, p); break;
    case MapQuantityKind::StdDev: value = At(row, kMaxParameters + p); break;
    case MapQuantityKind::RelativeStdDev: value = At(row, kMaxParameters + p) / std::fabs(At(row, p)); break;
    case MapQuantityKind::ChiSq: value = row[0]; break;
    case MapQuantityKind::RSquared: value = quality.RSquared; break;
    case MapQuantityKind::Status: break;
    }
    if (!std::isfinite(value)) return std::nullopt;
    return value;
}

std::optional<ScaleRange> MapValueRange(const FitResults& fits, int wellCount, MapQuantity quantity)
{
    if (quantity.Kind == MapQuantityKind::Status) return kStatusRange;
    std::optional<ScaleRange> range;
    for (int well = 0; well < wellCount; ++well) {
        const auto value = MapValue(fits, well, quantity);
        if (!value) continue;
        if (!range)
            range = ScaleRange{*value, *value};
        else
            range = ScaleRange{std::min(range->Min, *value), std::max(range->Max, *value)};
    }
    return range;
}

double ScalePosition(double value, ScaleRange range) noexcept
{
    if (!(range.Max > range.Min)) return 0.5;
    return std::clamp((value - range.Min) / (range.Max - range.Min), 0.0, 1.0);
}

Colour ScaleColour(double position) noexcept
{
    const double t = std::clamp(std::isfinite(position) ? position : 0.0, 0.0, 1.0) * (kViridisStops.size() - 1);
    const auto lower = std::min(static_cast<std::size_t>(t), kViridisStops.size() - 2);
    const double f = t - static_cast<double>(lower);
    Colour colour = 0;
    for (std::size_t c = 0; c < 3; ++c) {
        const double channel = kViridisStops[lower][c] + f * (kViridisStops[lower + 1][c] - kViridisStops[lower][c]);
        colour |= static_cast<Colour>(std::lround(channel)) << (8 * c);
    }
    return colour;
}

int PlateMapGeometry::WellAt(int x, int y) const noexcept
{
    if (Pitch <= 0 || x < Left || y < Top) return -1;
    const int column = (x - Left) / Pitch + 1;
    const int row = (y - Top) / Pitch + 1;
    if (column > Columns || row > Rows) return -1;
    return WellIndex(row, column, Columns);
}

PlateMapGeometry PlateMapLayout(int width, int height, int rows, int columns)
{
    PlateMapGeometry g;
    g.Rows = std::max(rows, 1);
    g.Columns = std::max(columns, 1);
    const int roughPitch = std::max(1, std::min(width / (g.Columns + 1), height / (g.Rows + 4)));
    g.FontHeight = std::clamp(roughPitch * 2 / 5, 9, 15);
    const int line = g.FontHeight + 4;
    const int rowLabels = g.FontHeight + 6;
    g.BarHeight = g.FontHeight;
    const int above = kMargin + 2 * line;  // title, column numbers
    const int below = 6 + g.BarHeight + 2 + line + kMargin;
    const int spareWidth = width - 2 * kMargin - rowLabels;
    g.Pitch = std::max(4, std::min(spareWidth / g.Columns, (height - above - below) / g.Rows));
    g.Left = kMargin + rowLabels + std::max(0, (spareWidth - g.Pitch * g.Columns) / 2);
    g.Top = above;
    g.BarTop = g.Top + g.Pitch * g.Rows + 6;
    return g;
}

PlateMapPicture DrawPlateMap(PlotCanvas& canvas, const PlateMapData& data, const PlateMapOptions& options)
{
    const PlateLayout& layout = data.Layout;
    PlateMapPicture picture;
    PlateMapGeometry& g = picture.Geometry;
    g = PlateMapLayout(canvas.Width(), canvas.Height(), layout.PlateRows(), layout.PlateColumns());
    const int wellCount = g.Rows * g.Columns;
    const MapQuantity quantity = options.Quantity;
    picture.Range = quantity.Kind == MapQuantityKind::Status || !options.Range
                        ? MapValueRange(data.Fits, wellCount, quantity)
                        : options.Range;

    canvas.Clear(kWhite);
    canvas.SetPen({});
    canvas.SetBrush({kWhite, FillStyle::Clear});
    canvas.SetFont({"Arial", g.FontHeight, false, kBlack});
    for (int column = 1; column <= g.Columns; ++column)
        CentredText(canvas, g.Left + (column - 1) * g.Pitch + g.Pitch / 2, g.Top - g.FontHeight - 4,
                    std::to_string(column));
    for (int row = 1; row <= g.Rows; ++row) {
        const std::string letter(1, static_cast<char>('A' + row - 1));
        const int y = g.Top + (row - 1) * g.Pitch + (g.Pitch - g.FontHeight) / 2;
        canvas.TextOut(g.Left - canvas.TextWidth(letter) - 6, y, letter);
    }

    for (int well = 0; well < wellCount; ++well) {
        const auto value = MapValue(data.Fits, well, quantity);
        Colour fill = kNoResultColour;
        if (value && picture.Range) {
            fill = ScaleColour(ScalePosition(*value, *picture.Range));
            ++picture.WellsWithValue;
        }
        DrawWell(canvas, g, well / g.Columns + 1, well % g.Columns + 1, fill, At(data.Fits.WellFitQuality, well));
    }
    DrawSampleOutlines(canvas, g, layout);

    canvas.SetPen({});
    canvas.SetBrushStyle(FillStyle::Clear);
    canvas.TextOut(g.Left, kMargin,
                   MapQuantityName(quantity) + ": " + std::to_string(picture.WellsWithValue) + " of " +
                       std::to_string(wellCount) + " wells with a result");
    DrawScale(canvas, g, quantity, picture.Range);
    return picture;
}

std::string PlateMapWellText(const PlateMapData& data, int well)
{
    const PlateLayout& layout = data.Layout;
    const int columns = layout.PlateColumns();
    const std::string& label = LabelOfWell(layout, well / columns + 1, well % columns + 1);
    std::string text = WellName(well, columns) + "  " + (label.empty() ? std::string("no sample") : label);
    const FitQuality& quality = At(data.Fits.WellFitQuality, well);
    text += "\nStatus: " + FitStatusText(quality);
    for (const std::string& line : DescribeFitFlags(quality)) text += "\n" + line;
    if (!data.Fits.Fitted(well)) return text;
    const TVector& row = At(data.Fits.WellFitResults, well);
    if (std::isfinite(quality.RSquared)) text += "\nR\u00b2 " + FormatGeneral(RoundSignificant(quality.RSquared, 6));
    text += "\nChiSq " + FormatGeneral(RoundSignificant(row[0], 6));
    for (int k = 1; k <= kMaxParameters; ++k)
        if (quality.Used == 0 || (quality.Used & ParameterBit(k)) != 0)
            text += "\nm" + std::to_string(k) + " = " + WithDeviation(At(row, k), At(row, kMaxParameters + k));
    return text;
}

} // namespace movra
