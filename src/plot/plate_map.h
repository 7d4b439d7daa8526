#pragma once
// The plate map: every well of the plate (8 x 12 or 16 x 24) as a disc
// coloured by one quantity of its last fit on a viridis colour scale, grey
// without a result, a red corner mark on flagged wells (and a cross on
// failed ones), an outline around the wells of each sample, row letters,
// column numbers and the scale with its range. Drawn on any PlotCanvas from
// the layout and the fit results; the geometry also says which well lies
// under a point, and the well's text is what hovering shows.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "fitting/fit_results.h"
#include "plate/plate_layout.h"
#include "plot/plot_canvas.h"

namespace movra {

enum class MapQuantityKind : std::uint8_t { Parameter, StdDev, RelativeStdDev, ChiSq, RSquared, Status };

struct MapQuantity {
    MapQuantityKind Kind = MapQuantityKind::Parameter;
    int Parameter = 1;  // m1..m8 for Parameter, StdDev and RelativeStdDev
    friend bool operator==(const MapQuantity&, const MapQuantity&) = default;
};

// The chooser's entries in order: m1..m8, std(m1)..std(m8), rel std(m1)..
// rel std(m8), ChiSq, R², Status.
std::vector<MapQuantity> MapQuantities();
std::string MapQuantityName(MapQuantity quantity);

// A well's value, none when it has no result: parameters, standard
// deviations (relative: std / |m|), ChiSq and R² of a last fit that
// succeeded, when finite; the status code once any fit was tried.
std::optional<double> MapValue(const FitResults& fits, int well, MapQuantity quantity);

struct ScaleRange {
    double Min = 0.0;
    double Max = 1.0;
    friend bool operator==(const ScaleRange&, const ScaleRange&) = default;
};

// Lowest and highest value over the wells 0..wellCount-1, none when no well
// has one; the status always spans its codes, OPT_NON_CONV (-3) to OPT_OK (0).
std::optional<ScaleRange> MapValueRange(const FitResults& fits, int wellCount, MapQuantity quantity);

// Where a value sits on the scale: 0 at Min, 1 at Max, clamped; 0.5 when
// the range is a single value.
double ScalePosition(double value, ScaleRange range) noexcept;

// The viridis colour scale (dark purple at 0 through blue and green to
// yellow at 1), interpolated between nine stops of the published map.
Colour ScaleColour(double position) noexcept;

inline constexpr Colour kNoResultColour = 0xC0C0C0;  // grey
inline constexpr Colour kFlagColour = 0x1C1CE0;      // red (0x00BBGGRR)

// Where the map draws: the well grid (cell of row r, column c from 1 at
// Left + (c - 1) * Pitch, Top + (r - 1) * Pitch) and the colour bar.
struct PlateMapGeometry {
    int Rows = 8;
    int Columns = 12;
    int Left = 0;
    int Top = 0;
    int Pitch = 1;
    int BarTop = 0;
    int BarHeight = 0;
    int FontHeight = 13;

    // The well whose cell holds the point, -1 outside the grid.
    int WellAt(int x, int y) const noexcept;
};

// The geometry for a surface of width x height and the plate's rows and columns.
PlateMapGeometry PlateMapLayout(int width, int height, int rows, int columns);

struct PlateMapData {
    const PlateLayout& Layout;  // geometry and sample labels
    const FitResults& Fits;
};

struct PlateMapOptions {
    MapQuantity Quantity;
    std::optional<ScaleRange> Range;  // none: MapValueRange
};

struct PlateMapPicture {
    PlateMapGeometry Geometry;
    std::optional<ScaleRange> Range;  // the range the colours follow, none without values
    int WellsWithValue = 0;
};

PlateMapPicture DrawPlateMap(PlotCanvas& canvas, const PlateMapData& data, const PlateMapOptions& options);

// What hovering a well shows: its name and sample, the status of its last
// fit, each raised flag, and on success R², ChiSq and the formula's
// parameters with their standard deviations.
std::string PlateMapWellText(const PlateMapData& data, int well);

// value rounded to `digits` significant digits (for labels that need not
// carry all fifteen).
double RoundSignificant(double value, int digits) noexcept;

} // namespace movra
