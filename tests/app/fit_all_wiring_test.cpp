// "Fit all" and the plate map through the real widgets on the demo plate
// (column k of the demo layout is Sample k): the rows it files, Cancel, the
// map's colours and marks, and a click on a well. Start values without
// typing a number: "Guess" (each curve then starts from its own guess), a
// held parameter, and a result as start values; the Statistics report as
// movra-batch writes it.

#include <QCheckBox>
#include <QProgressBar>
#include <QStatusBar>


#include <numeric>
#include <ranges>
#include <thread>

#include "app/graph_commands.h"
#include "app/plate_map_page.h"
#include "app/plot/plate_map_view.h"
#include "render/qpainter_canvas.h"
#include "app/text_encoding.h"
#include "batch/report_text.h"
#include "plate/import_fields.h"
#include "shared/number_format.h"
#include "wiring_fixture.h"

namespace movra::test {
namespace {


struct FitAllTest : WiringTest {
    FitAllCommand& fitAll() { return form().fitAll(); }
    int FittedWells()
    {
        return static_cast<int>(std::ranges::count_if(std::views::iota(0, 96), [this](int well) {
            return state().fits.Fitted(well);
        }));
    }
    const FitQuality& Quality(int well) { return state().fits.WellFitQuality[static_cast<std::size_t>(well)]; }
    // The map on show, painted now.
    PlateMapView& ShownMap()
    {
        ShowPage(MainWindow::PlateMapIndex);
        PlateMapView& view = form().plateMapPage().MapView();
        view.repaint();
        return view;
    }
    // The map's pixel at a point of a well's cell (fractions of the pitch).
    static QRgb Pixel(const PlateMapView& view, int well, double across = 0.5, double down = 0.5)
    {
        const PlateMapGeometry& g = view.Picture().Geometry;
        return view.Image().pixel(g.Left + static_cast<int>((well % g.Columns + across) * g.Pitch),
                                  g.Top + static_cast<int>((well / g.Columns + down) * g.Pitch));
    }
    static QRgb Rgb(Colour colour) { return ToQColor(colour).rgb(); }
};

TEST_F(FitAllTest, EveryWellGetsTheRowOfFitShownAndOfMovraBatch)
{
    PrepareDemoFit();
    graph().FitShownBut().click();  // Sample1: A1..H1
    const std::vector<TVector> shown = state().fits.WellFitResults;
    FitAll();
    for (std::size_t well = 0; well < 96; well += 12) EXPECT_EQ(state().fits.WellFitResults[well], shown[well]) << well;

    form().reportsPage().ShowResBut().click();
    const std::string table = DemoBatchTable({"--start", "m1=0.1,m2=0.5,m3=0.01,m4=0.6,m5=0.1"});
    EXPECT_EQ(ReportTsv(state().report), table);
}

TEST_F(FitAllTest, CancelMidwayKeepsTheFinishedWellsAndLeavesTheOthersUnfitted)
{
    PrepareDemoFit();
    fitAll().Threads = 1;
    form().menu().FitAll1->trigger();
    ASSERT_TRUE(fitAll().Running());
    // While it runs: the bar on show, no second run, no "Fit shown", no import.
    EXPECT_FALSE(form().fitAllBar().isHidden());
    EXPECT_FALSE(form().menu().FitAll1->isEnabled() || graph().FitShownBut().isEnabled() ||
                 form().menu().FitShown1->isEnabled() || form().menu().Import1->isEnabled() ||
                 form().plateMapPage().FitAllBut().isEnabled());
    while (fitAll().Run()->Done() < 5) std::this_thread::yield();
    form().fitAllBar().FitAllCancel().click();
    ASSERT_TRUE(QTest::qWaitFor([this] { return !fitAll().Running(); }, 60000));

    for (int well = 0; well < 96; ++well) EXPECT_EQ(Quality(well).Tried(), state().fits.Fitted(well)) << well;
    const int fitted = FittedWells();
    EXPECT_TRUE(fitted >= 5 && fitted < 96) << fitted;
    EXPECT_EQ(std::tuple(form().fitAllBar().FitAllProgress().value(), form().fitAllBar().isHidden(),
                         form().menu().FitAll1->isEnabled(), graph().FitShownBut().isEnabled()),
              std::tuple(fitted, true, true, true));
}

// Then a click on a well shows its sample with its curve.
TEST_F(FitAllTest, MapColoursEachWellByItsValueWithinTheRangeShownAndAClickShowsTheWellsSample)
{
    PrepareDemoFit();
    FitAll();
    PlateMapPage& page = form().plateMapPage();
    page.MapQuantity().setCurrentIndex(3);  // m4
    PlateMapView& view = ShownMap();
    std::vector<int> wells(96);
    std::iota(wells.begin(), wells.end(), 0);
    const auto m4 = [this](int well) { return FitResult(well, 4); };
    std::sort(wells.begin(), wells.end(), [&](int a, int b) { return m4(a) < m4(b); });
    const QRgb top = Rgb(ScaleColour(1.0));
    EXPECT_EQ(std::tuple(Pixel(view, wells.front()), Pixel(view, wells.back())), std::tuple(Rgb(ScaleColour(0.0)), top));
    EXPECT_EQ(page.MapRangeMax().text(), DataText(FormatGeneral(RoundSignificant(m4(wells.back()), 6))));

    // A typed upper end: the wells at and above it take the top colour.
    page.MapRangeMax().setText(DataText(FormatGeneral(m4(wells[40]))));
    emit page.MapRangeMax().editingFinished();
    view.repaint();
    EXPECT_EQ(std::tuple(page.MapAutoRange().isChecked(), Pixel(view, wells[40]), Pixel(view, wells[95])),
              std::tuple(false, top, top));
    EXPECT_NE(Pixel(view, wells[10]), top);

    const PlateMapGeometry& g = view.Picture().Geometry;
    QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(g.Left + 6 * g.Pitch + g.Pitch / 2, g.Top + 2 * g.Pitch + 2));
    EXPECT_EQ(std::tuple(form().PageControl1().currentIndex(), graph().SelectSample().currentText()),
              std::tuple(MainWindow::GraphViewIndex, "Sample7"));
    EXPECT_EQ(ShownWells(9), (std::vector<int>{6, 18, 30, 42, 54, 66, 78, 90, -1}));  // C7 among A7..H7
    EXPECT_GT(reduced()[3][1], 0.0);
}

TEST_F(FitAllTest, SaturatedColumnFailingWellsAndAPinnedParameterAreFlagged)
{
    PrepareDemoFit();
    // Column 12 saturates over its last eleven reads.
    for (int row = 0; row < 8; ++row)
        for (std::size_t read = 50; read < 61; ++read)
            state().plate.PlateData[static_cast<std::size_t>(PlateDataColumn(2, row * 12 + 11, 96))][read] =
                kSaturatedReading;
    FitLimitsDialog& limits = windows.FitLimits();
    const auto typeLimit = [&limits](QLineEdit& box, const char* text) {
        limits.show();
        box.setText(text);
        limits.Button1().click();
    };
    typeLimit(limits.MaxEdit(2), "0.7");  // curves 1 and 4 rise by 0.8 and 1
    FitAll();
    // Sample5 again, m1 starting below its new lower limit: its fits fail.
    typeLimit(limits.MinEdit(1), "0.2");
    ChooseSample("Sample5");
    graph().FitShownBut().click();

    // A1 at a limit, A5 failed and nothing else, A12 saturated, A7 (m2 0.4) nothing.
    EXPECT_EQ(std::tuple(Quality(0).Flags & kFlagAtLimit, Quality(4).Flags, Quality(11).Flags & kFlagSaturated,
                         Quality(6).Flags),
              std::tuple(kFlagAtLimit, kFlagFailed, kFlagSaturated, 0));
    const QStringList tip = form().graphCommands().MarqStatusTip().split('\n');
    EXPECT_EQ(tip.size(), 8);
    EXPECT_TRUE(tip.front().startsWith("A5: OPT_") && tip.front().endsWith("(failed)")) << tip.front().toStdString();

    const PlateMapView& view = ShownMap();
    EXPECT_EQ(Pixel(view, 4, 0.9, 0.1), Rgb(kFlagColour));
}

TEST_F(FitAllTest, GuessThenFitAllFitsEveryWell)
{
    PrepareDemoFit();
    graph().fitting().FitM(1).setText("1");
    graph().fitting().GuessBut().setChecked(false);
    graph().fitting().GuessBut().click();
    EXPECT_NE(graph().fitting().FitM(1).text(), "1");
    FitAll();
    EXPECT_EQ(FittedWells(), 96);
}

// The report page's Statistics are movra-batch's --report statistics with
// the same settings, m3 held at 0 by its tick.
TEST_F(FitAllTest, HeldParameterAndStatisticsReportMatchMovraBatch)
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
}

TEST_F(FitAllTest, FittedWellBecomesTheStartValues)
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
