// The main window and its secondary windows at start-up, the shell's
// commands (Edit > Copy by page, the inert items, Exit), the fit parser's
// slots, the limit boxes' tab order, the progress window's Cancel and the
// saved window position.

#include <QSettings>
#include <QTabWidget>

#include "app/form_position.h"
#include "app/plot/graph_paint_box.h"
#include "wiring_fixture.h"

namespace movra::test {
namespace {

using MainWindowTest = WiringTest;

// The property as text: sizes as "WxH", rectangles as "x,y WxH".
QString Text(const QVariant& value)
{
    const QSize s = value.toSize();
    const QRect r = value.toRect();
    switch (value.typeId()) {
    case QMetaType::QSize: return QStringLiteral("%1x%2").arg(s.width()).arg(s.height());
    case QMetaType::QRect: return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
    default: return value.toString();
    }
}

// What the constructors build, read back as "object path.property=value".
TEST_F(MainWindowTest, WindowsStartInTheStatesTheyAreBuiltWith)
{
    QStringList rows = {
        "Form1.windowTitle=MOVRA version 0.92 (build 060418)", "Form1.size=760x595", "Form1.minimumSize=760x320",
        "PageControl1.currentIndex=1", "PageControl1.count=6", "New1.enabled=false", "Save1.enabled=false",
        "SaveAs1.enabled=false", "OpenPlateLayout1.enabled=false", "SavePlateLayout1.enabled=false",
        "Import1.enabled=true", "Residuals1.checkable=true", "Residuals1.checked=false", "Legend1.checked=false",
        "Fit_m1.text=4000", "Fit_m2.text=-3000", "Fit_m3.text=1", "Fit_m4.text=10", "Fit_m5.text=1",
        "Fit_m6.text=0.001", "fit_m7.text=0.001", "Fit_m8.text=1", "LE_Tol.text=0.000001", "leMAX_IT.text=500",
        "MarqStatus.text=", "LE_TolLabel.text=Tolerence", "Label1.text=Fit formular", "FitFormulaCB.editable=true",
        "FitFormulaCB.count=12", "FitFormulaCB.currentText=m1+m7*x+(m2+m6*x)/(1+abs(m5)*exp(-m3*(x-m4)))^(1/abs(m5))",
        "CheckBox4.text=Average Data", "CheckBox4.checked=false", "TabSheet1/Button1.text=Fit Shown",
        "TabSheet1/Button2.text=Set Limits", "FitShownBut.text=Fit shown", "SelectSample.count=0",
        "WaveLengthCombination.count=4", "WaveLengthCombination.currentText=b-a", "ComboBox1.currentText=A",
        "ComboBox2.currentText=B", "TrackBar1.minimum=0", "TrackBar1.maximum=200", "TrackBar1.value=100",
        "TrackBar1.tickInterval=10", "Label4.text=100", "Label5.text=100", "Memo3.plainText=",
        "Zoomler1.maximumHeight=14", "Zoomler1.Min=1", "Zoomler1.Max=100", "Zoomler1.Start=1", "Zoomler1.Finish=100",
        "Memo4.readOnly=true", "Memo4.plainText=", "PlateLayout/Memo1.plainText=", "ShowResBut.text=Show Results",
        "RepAverageBut.text=Average", "RawDataBut.text=Reduced Data", "bt_ClearReport.text=Clear Report",
        "FitLimits.windowTitle=Set Limits of fit", "AboutForm.windowTitle=About MOVRA", "AboutForm.size=571x236",
        "AboutForm/OpenWeb.text=Web-page", "AboutForm/CloseBut.text=Det fed'",
        "AboutForm/PaintBox1.geometry=0,8 185x193", "AboutForm/RichEdit1.geometry=192,8 377x193",
        "AboutForm/RichEdit1.enabled=false", "AboutForm/RichEdit1.readOnly=true",
        "Form2.windowTitle=Importing Spectramax Textfile", "Form2.size=354x59", "Form2/ProgressBar1.maximum=100",
        "Form3.size=226x91", "Form3/Memo1.plainText=Iter\nF\nLambda", "Form3/Button1.text=Cancel",
        "FitLimits.visible=false", "AboutForm.visible=false", "Form2.visible=false", "Form3.visible=false"};
    for (int k = 1; k <= 16; ++k) rows.append(QStringLiteral("FitLimits/Edit%1.text=0").arg(k));
    for (const QString& row : rows) {
        const QString target = row.section('=', 0, 0);
        const QString actual = Text(Find(target.section('.', 0, -2)).property(target.section('.', -1).toLatin1()));
        EXPECT_EQ(target + "=" + actual, row);
    }

    QStringList tabs;
    for (int i : {0, 1, 2, 3, 5}) tabs.append(form().PageControl1().tabText(i));
    EXPECT_EQ(tabs, (QStringList{"PlateLayout", "DataReview", "GraphView", "Reports", "PlateMap"}));
    EXPECT_FALSE(form().PageControl1().isTabVisible(4));
    QStringList menus;
    for (const char* menu : {"File1", "Edit1", "View1", "Fit1", "Help1", "PopupMenu1", "PopupMenu2", "PopupMenu3"})
        menus += Captions(Find<QMenu>(menu)) << "|";
    EXPECT_EQ(menus.join(","),
              "New,Save,Save As,-,Open PlateLayout,Save PlateLayout,-,Import,Import Table...,-,Exit,|,Copy,-,"
              "Select All,|,Residuals,Legend,|,Fit all,|,About,|,Sample1,Clear,|,Copy,Copy All,|,Copy All,|");
    EXPECT_EQ(Captions(graph().fitting().FitFormulaCB()).front(), "m1+(m2+m3*x)/(1+exp((m4-x)/m5))");
    EXPECT_TRUE(graph().PaintBox2().isHidden());

    const GridModel& layout = layoutPage().layoutModel();
    EXPECT_EQ(std::tuple(layout.gridColumnCount(), layout.gridRowCount(), reviewGrid().gridColumnCount(),
                         reviewGrid().gridRowCount()), std::tuple(13, 9, 194, 200));
    EXPECT_EQ(layout.headerData(11, Qt::Horizontal).toString() + layout.headerData(7, Qt::Vertical).toString(), "12H");
    const AppState& shared = state();
    EXPECT_EQ(std::tuple(shared.samples.SampleCount, shared.view.GraphYMax, shared.curves.ShownWells[1],
                         shared.view.ParamBuffer.size(), shared.fits.WellFitResults[384][0], shared.WaveFactorA),
              std::tuple(1, 2.0, -1, std::size_t{9}, -1.0, 1.0));
}

TEST_F(MainWindowTest, FitParserSlotsAreTheParametersTheProgramEvaluates)
{
    for (int k = 1; k <= 8; ++k) {
        double* slot = state().ParamVars[static_cast<std::size_t>(k)];
        ASSERT_EQ(slot, state().Parser2.FindVariable("m" + std::to_string(k)));
        EXPECT_EQ(*slot, 1e-30);
        *slot = k == 1 ? 2.0 : 0.0;
    }
    *state().ParamVars[5] = 1.0;  // the start formula then gives m1
    EXPECT_DOUBLE_EQ(state().Parser2.Value(), 2.0);
}

TEST_F(MainWindowTest, LimitBoxesTabAcrossEachRowAndCancelIsReportedUntilShownAgain)
{
    const auto next = [](QWidget& widget) {
        QWidget* n = widget.nextInFocusChain();
        while (n != &widget && !(n->focusPolicy() & Qt::TabFocus)) n = n->nextInFocusChain();
        return n;
    };
    FitLimitsDialog& limits = windows.FitLimits();
    EXPECT_EQ(next(limits.MinEdit(1)), &limits.MaxEdit(1));
    EXPECT_EQ(next(limits.MaxEdit(1)), &limits.MinEdit(2));
    EXPECT_EQ(next(limits.MaxEdit(8)), &limits.Button1());
    EXPECT_EQ(next(limits.Button1()), &limits.Button2());

    FitProgressForm& progress = windows.Form3();
    progress.show();
    EXPECT_FALSE(progress.FitCancelled());
    progress.Button1().click();
    EXPECT_TRUE(progress.FitCancelled());
    progress.hide();
    progress.show();
    EXPECT_FALSE(progress.FitCancelled());
    progress.hide();
}

TEST_F(MainWindowTest, EditCopyFollowsThePageAndSaveSaveAsAndSelectAllDoNothing)
{
    StringTable& report = state().report;
    report.SetColCount(2);
    report.SetRowCount(2);
    for (int cell = 0; cell < 4; ++cell) report.SetCell(cell % 2, cell / 2, std::string(1, char('a' + cell)));
    const std::pair<int, const char*> pages[] = {{MainWindow::DataReviewIndex, "\t\r\t\r"},  // a 2 x 2 selection
                                                 {MainWindow::ReportsIndex, "a\tb\rc\td\r"},
                                                 {MainWindow::PlateLayoutIndex, "unchanged"},
                                                 {MainWindow::GraphViewIndex, "unchanged"}};
    form().dataReviewPage().selectCells({3, 1, 4, 2});
    for (const auto& [page, copied] : pages) {
        SetClipboardText("unchanged");
        form().PageControl1().setCurrentIndex(page);
        form().menu().Copy2->trigger();
        EXPECT_EQ(ClipboardText(), copied) << page;
    }
    for (QAction* inert : {form().menu().SelectAll1, form().menu().Save1, form().menu().SaveAs1}) inert->trigger();
    EXPECT_EQ(ClipboardText(), "unchanged");
    EXPECT_TRUE(dialogs.errors.empty() && dialogs.openRequests.empty() && dialogs.saveRequests.empty());

    form().show();
    form().menu().Exit1->trigger();
    EXPECT_FALSE(form().isVisible());
}

TEST_F(MainWindowTest, WindowPositionIsSavedAsDecimalTextAndRestoredAtTheNextStart)
{
    EXPECT_EQ(form().pos(), QPoint(0, 0));  // a first start
    ScriptedDialogs quiet;
    {
        MainWindow closing(quiet);
        closing.move(123, -45);
    }
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("MOVRA"));
    EXPECT_EQ(settings.value("Form/Left").toString() + settings.value("Form/Top").toString(), "123-45");
    EXPECT_EQ(MainWindow(quiet).pos(), QPoint(123, -45));
    // A value that is no integer, or none, reads as 0.
    settings.setValue("Form/Top", "12.5");
    settings.remove("Form/Left");
    settings.sync();
    EXPECT_EQ(LoadFormPosition(), QPoint(0, 0));
    settings.setValue("Form/Left", " 30");
    settings.sync();
    EXPECT_EQ(LoadFormPosition(), QPoint(30, 0));
}

} // namespace
} // namespace movra::test
