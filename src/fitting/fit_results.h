#pragma once
// What fits leave behind: one result row and one status text per well,
// kept until the well is fitted again or File > New, and the row one curve's
// fit produces.

#include <array>
#include <cstdint>
#include <string>

#include "plate/plate_measurements.h"
#include "plate/read_range.h"
#include "regression/fit_status.h"
#include "shared/matrices.h"
#include "shared/one_based.h"

namespace movra {

inline constexpr int kMaxParameters = 8;
inline constexpr int kFitResultColumns = 17;  // ChiSq, m1..m8, std(m1)..std(m8)

// The row a fit files for its well: ChiSq (-1 unless the status is 0), then
// m1..m8 and std(m1)..std(m8) by parameter number (unused ones 0).
struct CurveFitResult {
    std::int32_t Status = OptNonConv;
    std::array<double, kFitResultColumns> Row{};
};

struct FitResults {
    TMatrix WellFitResults;  // [well][ChiSq, m1..m8, std(m1)..std(m8)]
    std::array<std::string, kMaxWells + 1> WellFitStatus;  // combination + " - " + formula of the last success
    // Reads the last success was fitted over ({0, 0}: not known); the graph
    // draws a fitted curve outside them as a dashed line.
    std::array<ReadRange, kMaxWells + 1> WellFitView{};

    // The reset of File > New: every well unfitted (ChiSq -1, m1 10000).
    void Reset()
    {
        AllocMatrix(WellFitResults, kMaxWells, kFitResultColumns - 1);
        WellFitView.fill({});
        for (auto& row : WellFitResults) {
            row[0] = -1.0;
            row[1] = 10000.0;
        }
    }
    // Whether the last fit of the well succeeded.
    bool Fitted(int well) const
    {
        return well >= 0 && static_cast<std::size_t>(well) < WellFitResults.size() &&
               !At(WellFitResults, well).empty() &&
               At(WellFitResults, well)[0] >= 0.0;
    }
    // Files one curve's result under its well: on success the whole row, the
    // status text and the reads fitted over, the ChiSq column always (-1
    // after a failure, the parameters of the last success stay).
    void File(int well, const CurveFitResult& result, const std::string& statusText, ReadRange view = {});
};

} // namespace movra
