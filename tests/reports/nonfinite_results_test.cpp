// Standard deviations that came out of a non-finite covariance reach the
// results report as "NAN" or "INF", never as a plausible number.
#include <gtest/gtest.h>

#include <limits>

#include "plate/plate_layout.h"
#include "plate/plate_state.h"
#include "shared/matrices.h"
#include "regression/regression_statistics.h"
#include "reports/results_report.h"
#include "reports/string_table.h"

namespace movra {
namespace {

TEST(NonFiniteResults, DeviationsOfANaNAndInfiniteCovarianceShowAsSuch)
{
    // The covariance of a two-parameter fit whose scaling went wrong.
    TMatrix v;
    AllocMatrix(v, 2, 2);
    v[1][1] = std::numeric_limits<double>::quiet_NaN();
    v[2][2] = std::numeric_limits<double>::infinity();
    const TVector b = {0.0, 1.5, -2.0};
    TVector s, t, prob;
    AllocVector(s, 2);
    AllocVector(t, 2);
    AllocVector(prob, 2);
    ComputeParameterTests(b, v, 10, 1, 2, s, t, prob);

    PlateState state;
    state.ResetWorkingState();
    state.plate.WellCount = 96;
    state.plate.PlateRows = 8;
    state.plate.PlateColumns = 12;
    auto& row = state.WellFitResults[0];
    row[0] = 0.25;  // ChiSq of a successful fit
    row[1] = b[1];
    row[2] = b[2];
    row[9] = s[1];
    row[10] = s[2];
    state.WellFitStatus[0] = "b-a - m1+m2*x";

    PlateLayout layout;
    layout.New1Click();
    layout.SetCell(1, 1, "Sample1");
    StringTable grid(5, 5);
    CalcResults(layout, state, grid);

    ASSERT_EQ(grid.RowCount(), 2);
    EXPECT_EQ(grid.Cell(0, 1), "Sample1A1");
    EXPECT_EQ(grid.Cell(1, 1), "1.5");
    EXPECT_EQ(grid.Cell(9, 1), "NAN");
    EXPECT_EQ(grid.Cell(10, 1), "INF");
    EXPECT_NE(CopyReportText(grid).find("NAN\tINF"), std::string::npos);
}

} // namespace
} // namespace movra
