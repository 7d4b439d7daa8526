// The main window and its secondary windows at start-up (shortcuts
// included), the shell's commands (Edit > Copy by page, the inert items,
// Exit), the fit parser's slots, the limit boxes' tab order, the progress
// window's Cancel, the saved window position and session, recent files and
// dropped files.

#include <QDropEvent>
#include <QKeySequence>
#include <QMimeData>
#include <QSettings>
#include <QTabWidget>
#include <QUrl>

#include "app/form_position.h"
#include "app/plot/graph_paint_box.h"
#include "app/session_settings.h"
#include "wiring_fixture.h"

namespace movra::test {
namespace {

using MainWindowTest = WiringTest;

// The property as text: sizes as "WxH", rectangles as "x,y WxH", keys as "Ctrl+O".
QString Text(const QVariant& value)
{
    const QSize s = value.toSize();
    const QRect r = value.toRect();
    switch (value.typeId()) {
    case QMetaType::QKeySequence: return value.value<QKeySequence>().toString();
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
        "ScaleResiduals1.checked=false",
        "Fit_m1.text=4000", "Fit_m2.text=-3000", "Fit_m3.text=1", "Fit_m4.text=10", "Fit_m5.text=1",
        "Fit_m6.text=0.001", "fit_m7.text=0.001", "Fit_m8.text=1", "LE_Tol.text=0.000001", "leMAX_IT.text=500",
        "MarqStatus.text=", "LE_TolLabel.text=Tolerence", "Label1.text=Fit formular", "FitFormulaCB.editable=true",
        "FitFormulaCB.count=12", "FitFormulaCB.currentText=m1+m7*x+(m2+m6*x)/(1+abs(m5)*exp(-m3*(x-m4)))^(1/abs(m5))",
        "CheckBox4.text=Average Data", "CheckBox4.checked=false", "TabSheet1/Button1.text=Fit Shown",
        "TabSheet1/Button2.text=Set Limits", "FitShownBut.text=Fit shown", "SelectSample.count=0",
        "WaveLengthCombination.count=4", "WaveLengthCombination.currentText=b-a", "ComboBox1.currentText=A",
        "ComboBox2.currentText=B", "TrackBar1.minimum=0", "TrackBar1.maximum=200", "TrackBar1.value=100",
        "TrackBar1.tickInterval=10", "Label4.text=A 100 %", "Label5.text=B 100 %", "Memo3.plainText=",
        "Zoomler1.maximumHeight=14", "Zoomler1.Min=1", "Zoomler1.Max=100", "Zoomler1.Start=1", "Zoomler1.Finish=100",
        "Memo4.readOnly=true", "Memo4.plainText=", "PlateLayout/Memo1.plainText=", "ShowResBut.text=Show Results",
        "RepAverageBut.text=Average", "RawDataBut.text=Reduced Data", "bt_ClearReport.text=Clear Report",
        "FitLimits.windowTitle=Set Limits of fit", "AboutForm.windowTitle=About MOVRA", "AboutForm.size=571x236",
        "AboutForm/OpenWeb.text=Web-page", "AboutForm/CloseBut.text=Det fed'",
        "AboutForm/PaintBox1.geometry=0,8 185x193", "AboutForm/RichEdit1.geometry=192,8 377x193",
        "AboutForm/RichEdit1.enabled=false", "AboutForm/RichEdit1.readOnly=true",
        "Form2.windowTitle=Importing Spectramax Textfile", "Form2.size=354x59", "Form2/ProgressBar1.maximum=100",
        "Form3.size=226x91", "Form3/Memo1.plainText=Iter\nF\nLambda", "Form3/Button1.text=Cancel",
        "FitLimits.visible=false", "AboutForm.visible=false", "Form2.visible=false", "Form3.visible=false",
        "Import1.shortcut=Ctrl+O", "ImportTable1.shortcut=Ctrl+T", "OpenPlateLayout1.shortcut=Ctrl+L",
        "SavePlateLayout1.shortcut=Ctrl+S", "SaveReportAs1.shortcut=Ctrl+Shift+S", "ExportGraph1.shortcut=Ctrl+E",
        "Exit1.shortcut=Ctrl+Q",
        "Copy2.shortcut=Ctrl+C", "FitShown1.shortcut=F5", "About1.shortcut=F1"};
    for (int k = 1; k <= 16; ++k) rows.append(QStringLiteral("FitLimits/Edit%1.text=%2").arg(k).arg(k <= 8 ? "-1E20" : "1E20"));
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
              "New,Save,Save As,-,Open PlateLayout,Save PlateLayout,-,Import,Import Table...,Open Recent,-,"
              "Save Report As...,Export Graph...,-,Exit,|,Copy,-,Select All,|,Residuals,Scale Residuals,Legend,|,"
              "Fit shown,Fit all,Use result as start,|,About,|,Sample1,Clear,|,"
              "Copy,Copy All,|,Copy All,|");
    EXPECT_EQ(Captions(graph().fitting().FitFormulaCB()).front(), "m1+(m2+m3*x)/(1+exp((m4-x)/m5))");
    EXPECT_TRUE(graph().PaintBox2().isHidden());
    // A 1000-pixel-high screen at device pixel ratio 2 holds the window.
    form().menu().Residuals1->setChecked(true);
    EXPECT_LE(form().minimumSizeHint().height(), 500);
    form().menu().Residuals1->setChecked(false);

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
                                                 {MainWindow::PlateLayoutIndex, "unchanged"}};
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

// Dialogs start in the folder used last; opened files go to File > Open
// Recent (ten at most) and open from there; dropped files open by kind,
// plates and tables before layouts.
TEST_F(MainWindowTest, FilesOpenFromTheLastFolderTheRecentListAndDrops)
{
    const auto drop = [this](const std::vector<std::filesystem::path>& files) {
        QMimeData data;
        QList<QUrl> urls;
        for (const auto& file : files) urls.append(QUrl::fromLocalFile(QString::fromStdString(file.string())));
        data.setUrls(urls);
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&form(), &enter);
        QDropEvent event(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&form(), &event);
        QApplication::processEvents();  // the files open once the drop is over
    };
    const auto layout = kDemoData / "demo-layout.PLO";
    drop({layout});  // no plate yet
    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_EQ(dialogs.errors[0], "Import a plate before opening the plate layout \"demo-layout.PLO\".");
    dialogs.errors.clear();
    EXPECT_EQ(Captions(*form().menu().OpenRecent1), QStringList{"(none)"});

    ImportDemoPlate();
    OpenLayout(layout);
    EXPECT_EQ(dialogs.openRequests.at(0).directory, std::filesystem::path());
    EXPECT_EQ(dialogs.openRequests.at(1).directory, kDemoData);
    const QString demo = QString::fromStdString((kDemoData / "demo-kinetic-96.txt").string());
    EXPECT_EQ(form().RecentFileEntries(), (QStringList{QString::fromStdString(layout.string()), demo}));

    const auto table = kPlateTests / "tables" / "tab-point.tsv";
    drop({layout, table});
    EXPECT_EQ(std::tuple(plate().WaveLengthCount, layoutPage().layoutModel().gridText(12, 8)),
              std::tuple(1, "Sample12"));
    EXPECT_EQ(form().RecentFileEntries().first(), QString::fromStdString(layout.string()));

    dialogs.inputs.push_back("0");
    form().menu().OpenRecent1->actions().at(2)->trigger();  // the demo plate, third now
    EXPECT_EQ(std::tuple(plate().WaveLengthCount, plate().TimePointCount), std::tuple(2, 61));
    for (int k = 0; k < 12; ++k) AddRecentFile(Scratch(std::to_string(k)));
    EXPECT_EQ(RecentFiles().size(), 10);
    EXPECT_TRUE(dialogs.errors.empty());
}

// The fit controls and limits of the last session come back at the next
// start, and an import keeps the limits.
TEST_F(MainWindowTest, FitSettingsAreRememberedBetweenSessions)
{
    ScriptedDialogs quiet;
    {
        ProgramWindows last(quiet);
        FittingPanel& fitting = last.Form1().graphPage().fitting();
        fitting.FitFormulaCB().setEditText("m1*x+m2");
        fitting.FitM(2).setText("7");
        fitting.LE_Tol().setText("1E-9");
        fitting.leMAX_IT().setText("99");
        last.FitLimits().MinEdit(3).setText("-5");
        last.FitLimits().Button1().click();
    }
    ProgramWindows next(quiet);
    FittingPanel& fitting = next.Form1().graphPage().fitting();
    EXPECT_EQ(std::tuple(fitting.FitFormulaCB().currentText(), fitting.FitM(2).text(), fitting.FitM(3).text(),
                         fitting.LE_Tol().text(), fitting.leMAX_IT().text()),
              std::tuple("m1*x+m2", "7", "1", "1E-9", "99"));
    EXPECT_EQ(next.Form1().state().Parser2.Expression(), "m1*x+m2");
    quiet.inputs.push_back("0");
    quiet.files.push_back(kDemoData / "demo-kinetic-96.txt");
    next.Form1().menu().Import1->trigger();
    EXPECT_EQ(std::tuple(next.FitLimits().LimitMin[3], next.FitLimits().MinEdit(3).text(), next.FitLimits().LimitMax[3]),
              std::tuple(-5.0, "-5", 1e20));
    EXPECT_TRUE(quiet.errors.empty());
}

} // namespace
} // namespace movra::test
