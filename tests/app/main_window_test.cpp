// The shell's commands (Edit > Copy by page, the inert items, Exit), the
// limit boxes' tab order, the progress window's Cancel, the saved window
// position and session, recent files and dropped files, the file dialogs'
// filters; the review grid's copy commands (TAB-separated rows ended by CR
// alone).

#include <QCheckBox>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QSettings>
#include <QUrl>

#include "app/file_filter.h"
#include "app/form_position.h"
#include "app/session_settings.h"
#include "wiring_fixture.h"

namespace movra::test {
namespace {

using MainWindowTest = WiringTest;

TEST(FileFilterTest, PairsBecomeEntriesWithTheirPatterns)
{
    EXPECT_EQ(QtFilterEntries("All Files|*.*|SpectraMax Text File|*.txt"),
              (std::vector<std::string>{"All Files (*.*)", "SpectraMax Text File (*.txt)"}));
    EXPECT_EQ(QtFilterEntries("Texts|*.txt;*.csv"), (std::vector<std::string>{"Texts (*.txt *.csv)"}));
    EXPECT_TRUE(QtFilterEntries("").empty());
}

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
    EXPECT_TRUE(dialogs.openRequests.empty() && dialogs.saveRequests.empty());

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
    EXPECT_EQ(std::tuple(next(limits.MinEdit(1)), next(limits.MaxEdit(1)), next(limits.MaxEdit(8))),
              std::tuple(&limits.MaxEdit(1), &limits.MinEdit(2), &limits.Button1()));

    FitProgressForm& progress = windows.Form3();
    progress.show();
    progress.Button1().click();
    EXPECT_TRUE(progress.FitCancelled());
    progress.hide();
    progress.show();
    EXPECT_FALSE(progress.FitCancelled());
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
    EXPECT_EQ(TakeErrors(),
              std::vector<std::string>{"Import a plate before opening the plate layout \"demo-layout.PLO\"."});
    EXPECT_EQ(Captions(*form().menu().OpenRecent1), QStringList{"(none)"});

    ImportDemoPlate();
    OpenLayout(layout);
    EXPECT_EQ(std::tuple(dialogs.openRequests.at(0).directory, dialogs.openRequests.at(1).directory),
              std::tuple(std::filesystem::path(), kDemoData));
    const QString demo = QString::fromStdString((kDemoData / "demo-kinetic-96.txt").string());
    const QString layoutPath = QString::fromStdString(layout.string());
    EXPECT_EQ(Captions(*form().menu().OpenRecent1), (QStringList{"&1 " + layoutPath, "&2 " + demo}));

    drop({layout, kPlateTests / "tables" / "tab-point.tsv"});
    EXPECT_EQ(std::tuple(plate().WaveLengthCount, LayoutCell(12, 8), form().RecentFileEntries().first()),
              std::tuple(1, "Sample12", layoutPath));

    dialogs.inputs.push_back("0");
    form().menu().OpenRecent1->actions().at(2)->trigger();  // the demo plate, third now
    EXPECT_EQ(std::tuple(plate().WaveLengthCount, plate().TimePointCount), std::tuple(2, 61));
    QStringList added;  // what the menu is rebuilt from
    for (int k = 0; k < 12; ++k) added = AddRecentFile(Scratch(std::to_string(k)));
    EXPECT_EQ(std::tuple(added.size(), RecentFiles().size()), std::tuple(10, 10));
}

// The window's position (saved as decimal text), the fit controls (with
// the "fixed" ticks) and the limits of the last session come back at the
// next start, and an import keeps the limits.
TEST_F(MainWindowTest, WindowPositionAndFitSettingsAreRememberedBetweenSessions)
{
    EXPECT_EQ(form().pos(), QPoint(0, 0));  // a first start
    {
        ProgramWindows last(dialogs);
        last.Form1().move(123, -45);
        FittingPanel& fitting = last.Form1().graphPage().fitting();
        fitting.FitFormulaCB().setEditText("m1*x+m2");
        fitting.FitM(2).setText("7");
        fitting.FixM(2).setChecked(true);
        fitting.LE_Tol().setText("1E-9");
        fitting.leMAX_IT().setText("99");
        last.FitLimits().MinEdit(3).setText("-5");
        last.FitLimits().Button1().click();
    }
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("MOVRA"));
    EXPECT_EQ(settings.value("Form/Left").toString() + settings.value("Form/Top").toString(), "123-45");
    ProgramWindows next(dialogs);
    FittingPanel& fitting = next.Form1().graphPage().fitting();
    EXPECT_EQ(std::tuple(next.Form1().pos(), fitting.FitFormulaCB().currentText(), fitting.FitM(2).text(),
                         fitting.FitM(3).text(), fitting.LE_Tol().text(), fitting.leMAX_IT().text(),
                         fitting.FixM(2).isChecked(), fitting.FixM(3).isChecked()),
              std::tuple(QPoint(123, -45), "m1*x+m2", "7", "1", "1E-9", "99", true, false));
    EXPECT_EQ(next.Form1().state().Parser2.Expression(), "m1*x+m2");
    dialogs.inputs.push_back("0");
    dialogs.files.push_back(kDemoData / "demo-kinetic-96.txt");
    next.Form1().menu().Import1->trigger();
    EXPECT_EQ(std::tuple(next.FitLimits().LimitMin[3], next.FitLimits().MinEdit(3).text(), next.FitLimits().LimitMax[3]),
              std::tuple(-5.0, "-5", 1e20));

    // A value that is no integer, or none, reads as 0.
    settings.setValue("Form/Top", "12.5");
    settings.setValue("Form/Left", " 30");
    settings.sync();
    EXPECT_EQ(LoadFormPosition(), QPoint(30, 0));
}

// A grid of 4 x 3 cells, each holding "c,r".
struct NumberedCells final : GridCells {
    int columnCount() const override { return 4; }
    int rowCount() const override { return 3; }
    std::string text(int column, int row) const override { return std::to_string(column) + "," + std::to_string(row); }
};

TEST(ReviewGridTest, CopyGivesTheSelectionOrTheCurrentCellAndCopyAllAllButColumnZero)
{
    DataReviewPage page;
    page.setReviewCells(std::make_unique<NumberedCells>());
    const GridModel& model = page.reviewModel();
    // The fixed row and column are the headers.
    EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString() + " " + model.data(model.index(1, 2)).toString(),
              "1,0 3,2");
    page.CopySRaw();
    EXPECT_EQ(ClipboardText(), "1,1\r");
    page.selectCells({2, 1, 3, 2});
    page.PopupMenu2().actions()[0]->trigger();
    EXPECT_EQ(ClipboardText(), "2,1\t3,1\r2,2\t3,2\r");
    page.PopupMenu2().actions()[1]->trigger();
    EXPECT_EQ(ClipboardText(), "1,0\t2,0\t3,0\r1,1\t2,1\t3,1\r1,2\t2,2\t3,2\r");

    page.ClearCells();  // only the fixed row and column stay
    EXPECT_EQ(model.gridText(2, 0) + model.gridText(0, 2) + "|" + model.gridText(2, 1), "2,00,2|");

    DataReviewPage start;  // before any import: 194 x 200 empty cells
    start.CopytoExcel1Click();
    std::string expected;
    for (int r = 0; r < 200; ++r) expected += std::string(192, '\t') + '\r';
    EXPECT_EQ(ClipboardText(), expected);
}

} // namespace
} // namespace movra::test
