// "Fit shown", the limits dialog, the progress window, fits outliving their
// data and the report page through the real widgets, on the demo plate:
// column k of the demo layout is Sample k, eight wells each, generated from
// known kinetic curves.

#include <QCheckBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QSlider>

#include <functional>

#include "app/plot/zoomler_widget.h"
#include "wiring_fixture.h"

namespace movra::test {
namespace {

using FitWiringTest = WiringTest;

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
    limits.show();
    limits.MaxEdit(7).setText("5.0");
    limits.Button1().click();
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

} // namespace
} // namespace movra::test
