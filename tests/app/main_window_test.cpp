// The shell's commands (Edit > Copy by page, the inert items, Exit), the
// limit boxes' tab order, the progress window's Cancel, the saved window
// position and session, recent files and dropped files.

#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QSettings>
#include <QUrl>

#include "app/form_position.h"
#include "app/session_settings.h"
#include "wiring_fixture.h"

namespace movra::test {
namespace {

using MainWindowTest = WiringTest;

// The menus as built, and a window that fits a 1000-pixel-high screen at
// device pixel ratio 2 even with the residual panel on.
TEST_F(MainWindowTest, MenusHoldTheirCommandsAndTheWindowFitsASmallHighDpiScreen)
{
    QStringList menus;
    for (const char* menu : {"File1", "Edit1", "View1", "Fit1", "Help1", "PopupMenu1", "PopupMenu2", "PopupMenu3"})
        menus += Captions(*form().findChild<QMenu*>(menu)) << "|";
    EXPECT_EQ(menus.join(","),
              "New,Save,Save As,-,Open PlateLayout,Save PlateLayout,-,Import,Import Table...,Open Recent,-,"
              "Save Report As...,Export Graph...,-,Exit,|,Copy,-,Select All,|,Residuals,Scale Residuals,Legend,|,"
              "Fit shown,Fit all,Use result as start,|,About,|,Sample1,Clear,|,"
              "Copy,Copy All,|,Copy All,|");
    form().menu().Residuals1->setChecked(true);
    EXPECT_LE(form().minimumSizeHint().height(), 500);
}

TEST_F(MainWindowTest, EditCopyFollowsThePageAndNewSaveSaveAsAndSelectAllDoNothing)
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
    EXPECT_FALSE(form().menu().New1->isEnabled());
    for (QAction* inert : {form().menu().SelectAll1, form().menu().Save1, form().menu().SaveAs1}) inert->trigger();
    EXPECT_EQ(ClipboardText(), "unchanged");
    EXPECT_TRUE(dialogs.errors.empty() && dialogs.openRequests.empty() && dialogs.saveRequests.empty());

    form().show();
    form().menu().Exit1->trigger();
    EXPECT_FALSE(form().isVisible());
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

    FitProgressForm& progress = windows.Form3();
    progress.show();
    progress.Button1().click();
    EXPECT_TRUE(progress.FitCancelled());
    progress.hide();
    progress.show();
    EXPECT_FALSE(progress.FitCancelled());
    progress.hide();
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
    settings.setValue("Form/Left", " 30");
    settings.sync();
    EXPECT_EQ(LoadFormPosition(), QPoint(30, 0));
    settings.remove("Form/Left");
    settings.sync();
    EXPECT_EQ(LoadFormPosition(), QPoint(0, 0));
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
    const QString layoutPath = QString::fromStdString(layout.string());
    EXPECT_EQ(Captions(*form().menu().OpenRecent1), (QStringList{"&1 " + layoutPath, "&2 " + demo}));

    const auto table = kPlateTests / "tables" / "tab-point.tsv";
    drop({layout, table});
    EXPECT_EQ(std::tuple(plate().WaveLengthCount, layoutPage().layoutModel().gridText(12, 8)),
              std::tuple(1, "Sample12"));
    EXPECT_EQ(form().RecentFileEntries().first(), layoutPath);

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
