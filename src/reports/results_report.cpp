#include "reports/results_report.h"

#include <algorithm>
#include <cmath>

#include "fitting/fit_flags.h"
#include "fitting/fit_statistics.h"
#include "reduction/sample_wells.h"
#include "shared/number_format.h"
#include "shared/tab_text.h"
#include "shared/one_based.h"

namespace movra {
namespace {

void EmptyCells(StringTable& grid, int lastColumn, int lastRow)
{
    for (int column = 0; column <= lastColumn; ++column)
        for (int row = 0; row <= lastRow; ++row) grid.SetCell(column, row, std::string());
}

// Wells of sample s from the sample table, ended by the first negative slot.
template <typename Visit>
void ForEachWellOfSample(const PlateMeasurements& plate, const SampleAssignment& samples, int sample, Visit visit)
{
    const auto& wells = At(samples.SampleWells, sample);
    for (int slot = 1; slot <= plate.WellCount && slot <= kMaxWells; ++slot) {
        const int well = At(wells, slot);
        if (well < 0) break;
        visit(well);
    }
}

void WriteXColumn(const PlateMeasurements& plate, StringTable& grid)
{
    grid.SetCell(0, 0, plate.ReadMode == "Kinetic" ? "Time (h)" : "Wavelength(nm)");
    for (int read = 1; read <= plate.TimePointCount; ++read)
        grid.SetCell(0, read, FormatGeneral(At(plate.TimeVector, read)));
}

int SampleCountOfPlate(const PlateMeasurements& plate) { return std::min(plate.WellCount, kMaxWells); }

} // namespace

std::string SampleLabel(int sample, int well, int plateColumns)
{
    return "Sample" + std::to_string(sample) + WellName(well, plateColumns);
}

void BuildResultsReport(const PlateLayout& layout, const PlateMeasurements& plate, SampleAssignment& samples,
                        const FitResults& fits, StringTable& grid)
{
    FillSampleArray(layout, plate, samples);
    EmptyCells(grid, grid.ColCount() - 1, grid.RowCount() - 1);
    grid.SetColCount(19);
    grid.SetRowCount(samples.SampleWellCount + 2);
    EmptyCells(grid, 19, samples.SampleWellCount + 2);
    for (int i = 1; i <= 8; ++i) {
        grid.SetCell(i, 0, "m" + std::to_string(i));
        grid.SetCell(8 + i, 0, "std(m" + std::to_string(i) + ")");
    }
    grid.SetCell(17, 0, "ChiSq");

    int row = 1;
    for (int sample = 1; sample <= SampleCountOfPlate(plate); ++sample) {
        ForEachWellOfSample(plate, samples, sample, [&](int well) {
            const auto& result = At(fits.WellFitResults, well);
            if (!(result[0] > 0)) return;
            grid.SetCell(0, row, SampleLabel(sample, well, plate.PlateColumns));
            for (int column = 1; column <= 16; ++column)
                grid.SetCell(column, row, FormatGeneral(At(result, column)));
            grid.SetCell(17, row, FormatGeneral(result[0]));
            grid.SetCell(18, row, At(fits.WellFitStatus, well));
            ++row;
        });
    }
    grid.SetRowCount(row);
}

void BuildStatusReport(const PlateLayout& layout, const PlateMeasurements& plate, SampleAssignment& samples,
                       const FitResults& fits, StringTable& grid)
{
    FillSampleArray(layout, plate, samples);
    grid.SetColCount(4);
    grid.SetRowCount(samples.SampleWellCount + 1);
    EmptyCells(grid, 3, samples.SampleWellCount);
    grid.SetCell(1, 0, "Status");
    grid.SetCell(2, 0, "Flags");
    grid.SetCell(3, 0, "R2");
    int row = 1;
    for (int sample = 1; sample <= SampleCountOfPlate(plate); ++sample) {
        ForEachWellOfSample(plate, samples, sample, [&](int well) {
            const FitQuality& quality = At(fits.WellFitQuality, well);
            if (!quality.Tried()) return;
            grid.SetCell(0, row, SampleLabel(sample, well, plate.PlateColumns));
            grid.SetCell(1, row, FitStatusText(quality));
            grid.SetCell(2, row, FitFlagNames(quality.Flags));
            grid.SetCell(3, row, std::isfinite(quality.RSquared) ? FormatGeneral(quality.RSquared) : "");
            ++row;
        });
    }
    grid.SetRowCount(row);
}

void BuildStatisticsReport(const PlateLayout& layout, const PlateMeasurements& plate, SampleAssignment& samples,
                           const FitResults& fits, StringTable& grid)
{
    FillSampleArray(layout, plate, samples);
    constexpr int kColumns = 7 + 2 * kMaxParameters;
    grid.SetColCount(kColumns);
    grid.SetRowCount(samples.SampleWellCount + 1);
    EmptyCells(grid, kColumns - 1, samples.SampleWellCount);
    const char* const captions[] = {"N", "n", "R2", "adj R2", "Residual SD", "AICc"};
    for (int c = 0; c < 6; ++c) grid.SetCell(c + 1, 0, captions[c]);
    for (int m = 1; m <= kMaxParameters; ++m) {
        grid.SetCell(5 + 2 * m, 0, "m" + std::to_string(m) + " low 95%");
        grid.SetCell(6 + 2 * m, 0, "m" + std::to_string(m) + " high 95%");
    }
    const auto number = [](double value) { return std::isnan(value) ? std::string() : FormatGeneral(value); };
    int row = 1;
    for (int sample = 1; sample <= SampleCountOfPlate(plate); ++sample) {
        ForEachWellOfSample(plate, samples, sample, [&](int well) {
            const FitQuality& quality = At(fits.WellFitQuality, well);
            if (quality.Status != OptOk || !fits.Fitted(well)) return;
            const WellStatistics s = ComputeWellStatistics(At(fits.WellFitResults, well), quality);
            grid.SetCell(0, row, SampleLabel(sample, well, plate.PlateColumns));
            grid.SetCell(1, row, std::to_string(s.Points));
            grid.SetCell(2, row, std::to_string(s.FreeParameters));
            grid.SetCell(3, row, number(s.RSquared));
            grid.SetCell(4, row, number(s.AdjustedRSquared));
            grid.SetCell(5, row, number(s.ResidualSD));
            grid.SetCell(6, row, number(s.AICc));
            for (int m = 1; m <= kMaxParameters; ++m) {
                grid.SetCell(5 + 2 * m, row, number(At(s.Lower, m)));
                grid.SetCell(6 + 2 * m, row, number(At(s.Upper, m)));
            }
            ++row;
        });
    }
    grid.SetRowCount(row);
}

void BuildAverageReport(const PlateLayout& layout, const PlateMeasurements& plate, SampleAssignment& samples,
                        CombinedValues& values, StringTable& grid)
{
    FillSampleArray(layout, plate, samples);
    WriteXColumn(plate, grid);
    values.CompileCombination();
    int column = 1;
    for (int sample = 1; sample <= SampleCountOfPlate(plate); ++sample) {
        if (At(samples.SampleWells, sample)[1] < 0) continue;
        grid.SetCell(column, 0, "Sample" + std::to_string(sample));
        for (int read = 1; read <= plate.TimePointCount; ++read) {
            double sum = 0.0;
            int count = 0;
            ForEachWellOfSample(plate, samples, sample, [&](int well) {
                sum += values.CalcYpos(well, read - 1);
                ++count;
            });
            grid.SetCell(column, read, FormatGeneral(sum / count));
        }
        ++column;
    }
    grid.SetRowCount(plate.TimePointCount + 1);
    grid.SetColCount(column);
}

void BuildReducedDataReport(const PlateLayout& layout, const PlateMeasurements& plate, SampleAssignment& samples,
                            CombinedValues& values, StringTable& grid)
{
    values.CompileCombination();
    FillSampleArray(layout, plate, samples);
    WriteXColumn(plate, grid);
    int column = 1;
    for (int sample = 1; sample <= SampleCountOfPlate(plate); ++sample) {
        ForEachWellOfSample(plate, samples, sample, [&](int well) {
            grid.SetCell(column, 0, SampleLabel(sample, well, plate.PlateColumns));
            for (int read = 1; read <= plate.TimePointCount; ++read)
                grid.SetCell(column, read, FormatGeneral(values.CalcYpos(well, read - 1)));
            ++column;
        });
    }
    grid.SetRowCount(plate.TimePointCount + 1);
    grid.SetColCount(column);
}

void ClearReport(StringTable& grid)
{
    EmptyCells(grid, grid.ColCount(), grid.RowCount());
}

std::string CopyReportText(const StringTable& grid)
{
    return TabSeparatedText(0, grid.ColCount() - 1, 0, grid.RowCount() - 1,
                            [&](int column, int row, std::string& out) { out += grid.Cell(column, row); });
}

} // namespace movra
