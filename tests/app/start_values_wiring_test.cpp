// Start values without typing a number: "Guess" (each curve then starts from
// its own guess) and "Fit all" on the demo plate with each list formula that
// suits its curves; a held parameter; the
// Statistics report as movra-batch writes it; a result as start values.

#include <QCheckBox>
#include <QStatusBar>

#include <gmock/gmock.h>

#include "batch/report_text.h"
#include "wiring_fixture.h"

namespace movra::test {
namespace {

struct StartValuesTest : WiringTest {
    QString Starts()
    {
        QStringList texts;
        for (int k = 1; k <= 8; ++k) texts << graph().fitting().FitM(k).text();
        return texts.join(QLatin1Char(','));
    }
};

TEST_F(StartValuesTest, GuessThenFitAllFitsEveryWellWithEverySuitedListFormula)
{
    PrepareDemoFit();
    for (const int entry : {0, 1, 2, 3, 11}) {
        graph().fitting().FitFormulaCB().setCurrentIndex(entry);
        for (int k = 1; k <= 8; ++k) graph().fitting().FitM(k).setText("1");
        graph().fitting().GuessBut().setChecked(false);
        graph().fitting().GuessBut().click();
        EXPECT_NE(Starts(), "1,1,1,1,1,1,1,1") << entry;
        FitAll();
        int fitted = 0;
        for (int well = 0; well < 96; ++well) fitted += state().fits.Fitted(well) ? 1 : 0;
        EXPECT_EQ(fitted, 96) << "entry " << entry << " from " << Starts().toStdString();
    }
}

// The report page's Statistics are movra-batch's --report statistics with
// the same settings, m3 held at 0 by its tick.
TEST_F(StartValuesTest, HeldParameterAndStatisticsReportMatchMovraBatch)
{
    PrepareDemoFit();
    graph().fitting().FitM(3).setText("0");
    graph().fitting().FixM(3).setChecked(true);
    FitAll();
    EXPECT_EQ(std::tuple(FitResult(0, 3), FitResult(0, 11)), std::tuple(0.0, 0.0));
    form().reportsPage().ShowStatBut().click();
    const std::string table =
        DemoBatchTable({"--start", "m1=0.1,m2=0.5,m4=0.6,m5=0.1", "--fix", "m3=0", "--report", "statistics"});
    EXPECT_EQ(ReportTsv(state().report), table);
    EXPECT_THAT(table, ::testing::StartsWith("\tN\tn\tR2\tadj R2\tResidual SD\tAICc\tm1 low 95%"));
}

TEST_F(StartValuesTest, FittedWellBecomesTheStartValues)
{
    PrepareDemoFit();
    form().menu().UseResultAsStart1->trigger();
    EXPECT_EQ(form().statusBar()->currentMessage(), "No fitted well to take start values from.");
    graph().fitting().FixM(5).setChecked(true);
    graph().FitShownBut().click();
    form().menu().UseResultAsStart1->trigger();
    EXPECT_EQ(form().statusBar()->currentMessage(), "Start values taken from the fit of A1.");
    for (const int k : {1, 2, 3, 4})  // to six digits
        EXPECT_NEAR(graph().fitting().FitM(k).text().toDouble(), FitResult(0, k), 5e-6 * std::fabs(FitResult(0, k)));
    EXPECT_EQ(graph().fitting().FitM(5).text(), "0.1");  // held: keeps its value
}

} // namespace
} // namespace movra::test
