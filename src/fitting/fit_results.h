#pragma once
// What fits leave behind: one result row, one status text and one quality
// record (status code, R², flags) per well, kept until the well is fitted
// again or File > New, and what one curve's fit produces.

#include <array>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "plate/plate_measurements.h"
#include "plate/read_range.h"
#include "regression/fit_status.h"
#include "shared/matrices.h"
#include "shared/one_based.h"

namespace movra {

inline constexpr int kMaxParameters = 8;
inline constexpr int kFitResultColumns = 17;  // ChiSq, m1..m8, std(m1)..std(m8)

// The row a fit files for its well: ChiSq (-1 unless the status is 0), then
// m1..m8 and std(m1)..std(m8) by parameter number (unused ones 0). On status
// 0 also R² of the fitted points and their residuals (data minus model, one
// per fitted point in order); otherwise R² is NaN and there are no residuals.
struct CurveFitResult {
    std::int32_t Status = OptNonConv;
    std::array<double, kFitResultColumns> Row{};
    double RSquared = std::numeric_limits<double>::quiet_NaN();
    std::vector<double> Residuals;
    std::int32_t Points = 0;          // fitted points N
    std::int32_t FreeParameters = 0;  // parameters minimised over n (N - n degrees of freedom)
};

// Bits 1..8 stand for m1..m8.
using ParameterMask = std::uint16_t;
constexpr ParameterMask ParameterBit(int parameter) noexcept
{
    return static_cast<ParameterMask>(1u << parameter);
}

// The flags a fit can raise; each has one rule (fitting/fit_flags.h).
enum FitFlag : std::uint8_t {
    kFlagFailed = 1 << 0,
    kFlagAtLimit = 1 << 1,
    kFlagAmbiguous = 1 << 2,
    kFlagPoorFit = 1 << 3,
    kFlagSaturated = 1 << 4,
};
using FitFlags = std::uint8_t;

// The status a well has before any fit touched it (no fit status is positive).
inline constexpr std::int32_t kNeverFitted = 1;

// What the last fit of a well says about itself.
struct FitQuality {
    std::int32_t Status = kNeverFitted;  // the fit's status code
    FitFlags Flags = 0;
    double RSquared = std::numeric_limits<double>::quiet_NaN();
    double RunsZ = std::numeric_limits<double>::quiet_NaN();  // residual runs test, NaN when not applicable
    ParameterMask Used = 0;       // parameters of the formula
    ParameterMask AtLimit = 0;    // parameters the at-limit rule names
    ParameterMask Ambiguous = 0;  // parameters the ambiguous rule names
    ParameterMask Fixed = 0;      // parameters held at their start values
    std::int32_t Points = 0;          // as in CurveFitResult
    std::int32_t FreeParameters = 0;

    bool Tried() const noexcept { return Status != kNeverFitted; }
    bool Failed() const noexcept { return Tried() && Status != OptOk; }
};

struct FitResults {
    TMatrix WellFitResults;  // [well][ChiSq, m1..m8, std(m1)..std(m8)]
    std::array<std::string, kMaxWells + 1> WellFitStatus;  // combination + " - " + formula of the last success
    std::array<FitQuality, kMaxWells + 1> WellFitQuality;  // of the last fit, failed or not
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
        WellFitQuality.fill({});
    }
    // Whether the last fit of the well succeeded.
    bool Fitted(int well) const
    {
        return well >= 0 && static_cast<std::size_t>(well) < WellFitResults.size() &&
               !At(WellFitResults, well).empty() &&
               At(WellFitResults, well)[0] >= 0.0;
    }
    // Files one curve's result under its well: on success the whole row, the
    // status text and the reads fitted over, the ChiSq column and the quality
    // always (-1 after a failure, the parameters of the last success stay).
    void File(int well, const CurveFitResult& result, const std::string& statusText, ReadRange view,
              const FitQuality& quality);
};

} // namespace movra
