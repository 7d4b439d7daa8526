// "Fit shown", the limits dialog, the progress window and the report page
// through the real widgets, on the demo plate: column k of the demo layout
// is Sample k, eight wells each, generated from known kinetic curves.

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>

#include "app/fit_limits_dialog.h"
#include "app/fit_progress_form.h"
#include "app/fitting_panel.h"
#include "app/grid_model.h"
#include "app/plot/graph_paint_box.h"
#include "app/reports_page.h"
#include "wiring_fixture.h"

namespace movra::test {
namespace {

class FitWiringTest : public WiringTest {
protected:
    // The demo plate, its layout with Sample1 chosen, and start values and a
    // formula that suit its curves.
    void PrepareDemoFit()
    {
        ImportDemoPlate();
        dialogs.files.push_back(kDemoData / "demo-layout.PLO");
        form().menu().OpenPlateLayout1->trigger();
        FittingPanel& fitting = graph().fitting();
        fitting.FitFormulaCB().setCurrentIndex(0);
        const char* const starts[] = {"0.1", "0.5", "0.01", "0.6", "0.1", "1", "1", "1"};
        for (int k = 1; k <= 8; ++k) fitting.FitM(k).setText(QString::fromLatin1(starts[k - 1]));
        ASSERT_TRUE(dialogs.errors.empty()) << dialogs.errors.front();
    }
    double FitResult(int well, int column)
    {
        return state().plate.WellFitResults[static_cast<std::size_t>(well)][static_cast<std::size_t>(column)];
    }
    const GridModel& Report() { return *static_cast<const GridModel*>(form().reportsPage().StringGrid2().model()); }
};

TEST_F(FitWiringTest, FitShownOnTheDemoPlateEndsWithOptOkAndAResultRow)
{
    PrepareDemoFit();
    graph().FitShownBut().click();
    ASSERT_TRUE(dialogs.errors.empty()) << dialogs.errors.front();
    EXPECT_EQ(graph().fitting().MarqStatus().text().toStdString(), "OPT_OK");
    for (int row = 0; row < 8; ++row) EXPECT_GT(FitResult(row * 12, 0), 0.0) << row;
    EXPECT_FALSE(windows.Form3().isVisible());
    EXPECT_TRUE(form().centralWidget()->isEnabled());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(windows.Form3().windowTitle().startsWith(QStringLiteral("Fitting data from well ")));

    form().reportsPage().ShowResBut().click();
    const GridModel& report = Report();
    ASSERT_EQ(report.gridRowCount(), 9);
    EXPECT_EQ(report.gridText(0, 1), "Sample1A1");
    EXPECT_EQ(report.gridText(0, 8), "Sample1H1");
}

TEST_F(FitWiringTest, TypedFormulaGoesThroughTheParserWithTheSameResult)
{
    PrepareDemoFit();
    graph().fitting().Button1().click();
    const double listed = FitResult(0, 1);
    // The same text typed: the box's index no longer names its entry.
    QComboBox& formula = graph().fitting().FitFormulaCB();
    formula.setEditText(formula.itemText(0) + QStringLiteral(" "));
    graph().fitting().Button1().click();
    ASSERT_TRUE(dialogs.errors.empty()) << dialogs.errors.front();
    EXPECT_NEAR(FitResult(0, 1), listed, 1e-6);
}

TEST_F(FitWiringTest, CancelDuringTheSecondOfThreeCurvesStopsOnlyThatCurve)
{
    ImportDemoPlate();
    Label({1, 1, 1, 3}, QStringLiteral("Sample1"));
    ChooseSample(QStringLiteral("Sample1"));
    FittingPanel& fitting = graph().fitting();
    fitting.FitFormulaCB().setCurrentIndex(0);
    const char* const starts[] = {"0.1", "0.5", "0.01", "0.6", "0.1", "1", "1", "1"};
    for (int k = 1; k <= 8; ++k) fitting.FitM(k).setText(QString::fromLatin1(starts[k - 1]));

    // Cancel is pressed while curve B1's iterations are on show.
    FitProgressForm& progress = windows.Form3();
    QObject::connect(&progress.Memo1(), &QPlainTextEdit::textChanged, &progress, [&progress] {
        if (progress.windowTitle() == QStringLiteral("Fitting data from well B1") && progress.isVisible())
            progress.Button1().click();
    });
    graph().FitShownBut().click();
    ASSERT_TRUE(dialogs.errors.empty()) << dialogs.errors.front();
    EXPECT_GT(FitResult(0, 0), 0.0);    // A1
    EXPECT_LT(FitResult(12, 0), 0.0);   // B1: cancelled, no result
    EXPECT_GT(FitResult(24, 0), 0.0);   // C1 fitted normally
    EXPECT_EQ(fitting.MarqStatus().text().toStdString(), "OPT_OK");
    EXPECT_NE(progress.Memo1().toPlainText().indexOf(QStringLiteral("Lambda:")), -1);
}

TEST_F(FitWiringTest, FormulaTheParserRejectsShowsItsError)
{
    PrepareDemoFit();
    graph().fitting().FitFormulaCB().setEditText(QStringLiteral("m1*(x"));
    graph().FitShownBut().click();
    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_EQ(dialogs.errors[0], "Missing brackets in expression");
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(FitWiringTest, LimitsOkStoresTheBoxesAndCancelRestoresThem)
{
    ImportDemoPlate();
    FitLimitsDialog& limits = windows.FitLimits();
    EXPECT_EQ(limits.MinEdit(1).text().toStdString(), "-1E20");
    EXPECT_EQ(limits.MaxEdit(8).text().toStdString(), "1E20");

    limits.MaxEdit(7).setText(QStringLiteral("5.0"));
    limits.Button1().click();
    EXPECT_TRUE(dialogs.errors.empty());
    EXPECT_DOUBLE_EQ(limits.LimitMax[7], 5.0);
    EXPECT_EQ(limits.MaxEdit(7).text().toStdString(), "5");

    limits.MinEdit(2).setText(QStringLiteral("3"));
    limits.Button2().click();
    EXPECT_EQ(limits.MinEdit(2).text().toStdString(), "-1E20");
    EXPECT_DOUBLE_EQ(limits.LimitMin[2], -1e20);
}

TEST_F(FitWiringTest, LimitsOkRefusesACommaAndKeepsTheLimitsBeforeIt)
{
    FitLimitsDialog& limits = windows.FitLimits();
    limits.MinEdit(1).setText(QStringLiteral("-2"));
    limits.MaxEdit(1).setText(QStringLiteral("7"));
    limits.MinEdit(2).setText(QStringLiteral("1,5"));
    limits.MaxEdit(2).setText(QStringLiteral("9"));
    limits.show();
    limits.Button1().click();
    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_EQ(dialogs.errors[0], "'1,5' is not a valid floating point value");
    EXPECT_DOUBLE_EQ(limits.LimitMin[1], -2.0);
    EXPECT_DOUBLE_EQ(limits.LimitMax[1], 7.0);
    EXPECT_DOUBLE_EQ(limits.LimitMax[2], 0.0);
    EXPECT_TRUE(limits.isVisible());
    EXPECT_EQ(limits.MinEdit(2).text().toStdString(), "1,5");
    limits.Button2().click();
    EXPECT_FALSE(limits.isVisible());
}

TEST_F(FitWiringTest, ReportTablesAndTheirCopiedText)
{
    PrepareDemoFit();
    graph().FitShownBut().click();
    ReportsPage& reports = form().reportsPage();

    reports.RepAverageBut().click();
    EXPECT_EQ(Report().gridColumnCount(), 13);  // x, then twelve samples
    EXPECT_EQ(Report().gridRowCount(), state().plate.plate.TimePointCount + 1);
    reports.RawDataBut().click();
    EXPECT_EQ(Report().gridColumnCount(), 97);  // x, then 96 wells
    EXPECT_EQ(Report().gridText(1, 0), "Sample1A1");

    reports.ShowResBut().click();
    form().PageControl1().setCurrentIndex(MainWindow::ReportsIndex);
    form().menu().Copy2->trigger();
    const std::string copied = ClipboardText();
    EXPECT_EQ(copied.find('\n'), std::string::npos);
    EXPECT_NE(copied.find("\rSample1A1\t"), std::string::npos);
    SetClipboardText("");
    reports.PopupMenu3().actions().at(0)->trigger();
    EXPECT_EQ(ClipboardText(), copied);

    reports.bt_ClearReport().click();
    EXPECT_EQ(Report().gridText(0, 1), "");
    ASSERT_TRUE(dialogs.errors.empty()) << dialogs.errors.front();
}

TEST_F(FitWiringTest, RedrawPaintsTheCurvesInTheirColours)
{
    PrepareDemoFit();
    form().resize(900, 700);
    form().show();
    form().PageControl1().setCurrentIndex(MainWindow::GraphViewIndex);
    QApplication::processEvents();
    graph().FitShownBut().click();
    form().menu().Legend1->setChecked(true);
    const QImage& picture = graph().PaintBox1().Image();
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.size(), graph().PaintBox1().size());
    int red = 0, blue = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb pixel = picture.pixel(x, y) & 0xFFFFFF;
            red += pixel == 0xFF0000 ? 1 : 0;   // curve 1
            blue += pixel == 0x0000FF ? 1 : 0;  // curve 2
        }
    EXPECT_GT(red, 20);
    EXPECT_GT(blue, 20);
}

} // namespace
} // namespace movra::test
