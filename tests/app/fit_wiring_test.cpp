// Fitting through the real widgets on the demo plate (column k of the demo
// layout is Sample k, eight wells each, generated from known kinetic
// curves). "Fit shown", the limits dialog, the progress window, fits
// outliving their data and the report page. "Fit all" and the plate map:
// the rows it files, Cancel, the map's colours and marks, and a click on a
// well. Start values without typing a number: "Guess" (each curve then
// starts from its own guess), a held parameter, and a result as start
// values; the Statistics report as movra-batch writes it.

#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QSlider>
#include <QStatusBar>

#include <functional>
#include <numeric>
#include <ranges>
#include <thread>

#include "app/graph_commands.h"
#include "app/plate_map_page.h"
#include "app/plot/plate_map_view.h"
#include "app/plot/zoomler_widget.h"
#include "app/text_encoding.h"
#include "batch/report_text.h"
#include "plate/import_fields.h"
#include "render/qpainter_canvas.h"
#include "shared/number_format.h"
#include "wiring_fixture.h"

namespace movra::test {
namespace {

using FitWiringTest = WiringTest;

// Types one limit into the limits dialog and presses OK.
void TypeLimit(FitLimitsDialog& limits, QLineEdit& box, const char* text)
{
    limits.show();
    box.setText(text);
    limits.Button1().click();
}

TEST_F(FitWiringTest, TypedFormulaGoesThroughTheParserAndARejectedOneShowsItsError)
{
    PrepareDemoFit({{1, 1, 1, 1}});
    graph().fitting().Button1().click();
    const double listed = FitResult(0, 1);
    // Typed text goes through the parser, though the box's index still
    // names the entry it was edited from: 5 more moves m1 down by 5.
    QComboBox& formula = graph().fitting().FitFormulaCB();
    formula.setEditText(formula.itemText(0) + "+5");
    graph().fitting().FitM(1).setText("-4.9");
    graph().fitting().Button1().click();
    EXPECT_NEAR(FitResult(0, 1), listed - 5, 1e-6);

    formula.setEditText("m1*(x");
    graph().FitShownBut().click();
    EXPECT_EQ(TakeErrors(), std::vector<std::string>{"Missing brackets in expression"});
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// Cancel pressed while curve B1 of A1..C1 is fitted stops that curve only;
// the run ends with the main window as before.
TEST_F(FitWiringTest, CancelStopsOnlyTheCurveBeingFittedAndTheRunEndsWithTheCurvesDrawn)
{
    PrepareDemoFit({{1, 1, 1, 3}});
    ShowPage(MainWindow::GraphViewIndex);
    FitProgressForm& progress = windows.Form3();
    QObject::connect(&progress.Memo1(), &QPlainTextEdit::textChanged, &progress, [&progress] {
        if (progress.windowTitle() == "Fitting data from well B1" && progress.isVisible()) progress.Button1().click();
    });
    graph().FitShownBut().click();
    // A1 and C1 fitted, B1 not.
    const QString status = graph().fitting().MarqStatus().text();
    EXPECT_EQ(std::tuple(FitResult(0, 0) > 0, FitResult(12, 0) < 0, FitResult(24, 0) > 0, status),
              std::tuple(true, true, true, "OPT_OK"));
    EXPECT_EQ(std::tuple(progress.Memo1().toPlainText().contains("Lambda:"), progress.isVisible(),
                         form().centralWidget()->isEnabled(), QApplication::overrideCursor()),
              std::tuple(true, false, true, nullptr));
}

TEST_F(FitWiringTest, LimitsOkStoresTheBoxesRefusesACommaAndCancelRestoresThem)
{
    ImportDemoPlate();
    FitLimitsDialog& limits = windows.FitLimits();
    TypeLimit(limits, limits.MaxEdit(7), "5.0");
    EXPECT_EQ(std::tuple(limits.LimitMax[7], limits.MaxEdit(7).text()), std::tuple(5.0, "5"));

    limits.show();
    limits.MinEdit(1).setText("-2");
    limits.MinEdit(2).setText("1,5");
    limits.MaxEdit(2).setText("9");
    limits.Button1().click();
    EXPECT_EQ(TakeErrors(), std::vector<std::string>{"'1,5' is not a valid floating point value"});
    // m1's lower limit was taken before the refusal; the boxes stay on show.
    EXPECT_EQ(std::tuple(limits.LimitMin[1], limits.LimitMax[2], limits.isVisible(), limits.MinEdit(2).text()),
              std::tuple(-2.0, 1e20, true, "1,5"));
    limits.Button2().click();
    EXPECT_EQ(std::tuple(limits.isVisible(), limits.MinEdit(2).text(), limits.MinEdit(1).text()),
              std::tuple(false, "-1E20", "-2"));
}

// A fit belongs to the data it was made on: a new plate or a change of the
// combination, weighting or averaging clears every fit; zooming keeps them
// (the graph dashes a fitted curve beyond the reads it was fitted over).
TEST_F(FitWiringTest, FitsOfDataNoLongerShownAreCleared)
{
    PrepareDemoFit({{1, 1, 1, 1}});
    ReportsPage& reports = form().reportsPage();
    const std::tuple<const char*, std::function<void()>, bool> changes[] = {
        {"zoom", [&] { graph().Zoomler1().SetStart(10); }, true},
        {"combination", [&] {
             graph().WaveLengthCombination().setEditText("b-a+0.01");
             emit graph().WaveLengthCombination().lineEdit()->returnPressed();  // Enter applies it
         }, false},
        {"track bar", [&] { graph().TrackBar1().setValue(90); }, false},
        {"average", [&] { graph().fitting().CheckBox4().click(); }, false},
        {"import", [&] { ImportDemoPlate(); }, false},
    };
    for (const auto& [change, act, kept] : changes) {
        form().menu().FitShown1->trigger();
        reports.ShowResBut().click();
        ASSERT_TRUE(state().fits.Fitted(0)) << change;
        act();
        EXPECT_EQ(state().fits.Fitted(0), kept) << change;
    }
    EXPECT_EQ(reports.StringGrid2().model()->rowCount(), 5);  // the old plate's report is gone
}

// Each builder button fills the report grid (its contents are checked in
// tests/reports); every text fits its column; the popup copies it as
// CR-ended lines and File > Save Report As... writes TSV or CSV by the
// name's extension.
TEST_F(FitWiringTest, ReportButtonsBuildTablesWhoseTextsFitAndThatCopyAndSaveAsTsvOrCsv)
{
    PrepareDemoFit();
    graph().FitShownBut().click();
    ReportsPage& reports = form().reportsPage();
    const auto& report = *static_cast<const GridModel*>(reports.StringGrid2().model());
    const std::tuple<QPushButton*, int, int, const char*> builders[] = {
        {&reports.RepAverageBut(), 13, 62, "Sample1"}, {&reports.RawDataBut(), 97, 62, "Sample1A1"},
        {&reports.bt_ClearReport(), 97, 62, ""}, {&reports.ShowResBut(), 19, 9, "m1"}};
    for (const auto& [button, columns, rows, cell] : builders) {
        button->click();
        EXPECT_EQ(std::tuple(report.gridColumnCount(), report.gridRowCount(), report.gridText(1, 0)),
                  std::tuple(columns, rows, cell)) << button->text().toStdString();
    }
    const QTableView& grid = reports.StringGrid2();
    EXPECT_EQ(grid.horizontalHeader()->sectionResizeMode(0), QHeaderView::Interactive);
    for (int c = 0; c < grid.model()->columnCount(); ++c)
        for (int r = 0; r < grid.model()->rowCount(); ++r) {
            const QString text = grid.model()->index(r, c).data().toString();
            EXPECT_GT(grid.columnWidth(c), grid.fontMetrics().horizontalAdvance(text)) << text.toStdString();
        }

    reports.PopupMenu3().actions().at(0)->trigger();
    std::string tsv = ClipboardText();
    EXPECT_EQ(tsv.find('\n'), std::string::npos);
    EXPECT_NE(tsv.find("\rSample1H1\t"), std::string::npos);
    std::replace(tsv.begin(), tsv.end(), '\r', '\n');
    dialogs.files = {Scratch("report.tsv"), Scratch("report.CSV")};
    for (int k = 0; k < 2; ++k) form().menu().SaveReportAs1->trigger();
    EXPECT_EQ(dialogs.saveRequests.at(0).filter, "Tab-separated text|*.tsv|Comma-separated text|*.csv|All files|*");
    EXPECT_EQ(FileText(Scratch("report.tsv")), tsv);
    EXPECT_EQ(FileText(Scratch("report.CSV")).substr(0, 7), ",m1,m2,");
}

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
    EXPECT_FALSE(form().menu().FitAll1->isEnabled() || graph().FitShownBut().isEnabled() ||
                 form().menu().FitShown1->isEnabled() || form().menu().Import1->isEnabled() ||
                 form().fitAllBar().isHidden() || form().plateMapPage().FitAllBut().isEnabled());
    while (fitAll().Run()->Done() < 5) std::this_thread::yield();
    form().fitAllBar().FitAllCancel().click();
    EXPECT_EQ(std::tuple(form().fitAllBar().FitAllCancel().isEnabled(), form().fitAllBar().FitAllLabel().text()),
              std::tuple(false, "Cancelling"));  // until the workers have stopped
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
    TypeLimit(limits, limits.MaxEdit(2), "0.7");  // curves 1 and 4 rise by 0.8 and 1
    FitAll();
    // Sample5 again, m1 starting below its new lower limit: its fits fail.
    TypeLimit(limits, limits.MinEdit(1), "0.2");
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
