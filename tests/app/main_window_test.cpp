// The main window at start-up: captions, pages, controls with their start
// texts and states, menus, the secondary windows, Edit > Copy by page, Exit.

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QTableView>

#include <gtest/gtest.h>

#include "app/data_review_page.h"
#include "app/fitting_panel.h"
#include "app/graph_page.h"
#include "app/grid_model.h"
#include "app/plate_layout_page.h"
#include "app/plot/graph_paint_box.h"
#include "app/plot/zoomler_widget.h"
#include "app/program_windows.h"
#include "app/reports_page.h"
#include "app_test_environment.h"
#include "scripted_dialogs.h"

namespace movra {
namespace {

class MainWindowTest : public ::testing::Test {
protected:
    MainWindowTest() { test::ClearSettings(); }

    template <typename T>
    T& Find(const char* name)
    {
        T* widget = form().findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return *widget;
    }

    QAction& Item(const char* name) { return Find<QAction>(name); }
    MainWindow& form() { return windows.Form1(); }

    test::ScriptedDialogs dialogs;
    ProgramWindows windows{dialogs};
};

TEST_F(MainWindowTest, StartsWithCaptionSizeAndDataReviewInFront)
{
    EXPECT_EQ(form().windowTitle().toStdString(), "MOVRA version 0.92 (build 060418)");
    EXPECT_EQ(form().size(), QSize(760, 595));
    EXPECT_EQ(form().minimumSize(), QSize(760, 320));
    QTabWidget& pages = form().PageControl1();
    EXPECT_EQ(pages.objectName().toStdString(), "PageControl1");
    ASSERT_EQ(pages.count(), 5);
    EXPECT_EQ(pages.tabText(0).toStdString(), "PlateLayout");
    EXPECT_EQ(pages.tabText(1).toStdString(), "DataReview");
    EXPECT_EQ(pages.tabText(2).toStdString(), "GraphView");
    EXPECT_EQ(pages.tabText(3).toStdString(), "Reports");
    EXPECT_FALSE(pages.isTabEnabled(4));
    EXPECT_FALSE(pages.isTabVisible(4));
    EXPECT_EQ(pages.currentIndex(), MainWindow::DataReviewIndex);
    EXPECT_EQ(pages.widget(4)->objectName().toStdString(), "TabSheet2");
}

TEST_F(MainWindowTest, MenuItemsStartInTheirStates)
{
    EXPECT_FALSE(Item("New1").isEnabled());
    EXPECT_FALSE(Item("Save1").isEnabled());
    EXPECT_FALSE(Item("SaveAs1").isEnabled());
    EXPECT_FALSE(Item("OpenPlateLayout1").isEnabled());
    EXPECT_FALSE(Item("SavePlateLayout1").isEnabled());
    EXPECT_TRUE(Item("Import1").isEnabled());
    EXPECT_TRUE(Item("Exit1").isEnabled());
    EXPECT_TRUE(Item("Copy2").isEnabled());
    EXPECT_TRUE(Item("SelectAll1").isEnabled());
    EXPECT_TRUE(Item("About1").isEnabled());
    for (const char* check : {"Residuals1", "Legend1"}) {
        EXPECT_TRUE(Item(check).isCheckable()) << check;
        EXPECT_FALSE(Item(check).isChecked()) << check;
    }
}

TEST_F(MainWindowTest, MenusListTheirItemsWithSeparators)
{
    auto captions = [](const QMenu& menu) {
        std::vector<std::string> texts;
        for (const QAction* action : menu.actions())
            texts.push_back(action->isSeparator() ? "-" : action->text().toStdString());
        return texts;
    };
    EXPECT_EQ(captions(Find<QMenu>("File1")),
              (std::vector<std::string>{"New", "Save", "Save As", "-", "Open PlateLayout", "Save PlateLayout", "-",
                                        "Import", "Import Table...", "-", "Exit"}));
    EXPECT_EQ(captions(Find<QMenu>("Edit1")), (std::vector<std::string>{"Copy", "-", "Select All"}));
    EXPECT_EQ(captions(Find<QMenu>("View1")), (std::vector<std::string>{"Residuals", "Legend"}));
    EXPECT_EQ(captions(Find<QMenu>("Help1")), (std::vector<std::string>{"About"}));
}

TEST_F(MainWindowTest, FittingTabHoldsStartValuesAndFormulas)
{
    const std::pair<const char*, const char*> startTexts[] = {
        {"Fit_m1", "4000"}, {"Fit_m2", "-3000"}, {"Fit_m3", "1"},     {"Fit_m4", "10"},
        {"Fit_m5", "1"},    {"Fit_m6", "0.001"}, {"fit_m7", "0.001"}, {"Fit_m8", "1"},
        {"LE_Tol", "0.000001"}, {"leMAX_IT", "500"}, {"MarqStatus", ""},
    };
    for (const auto& [name, text] : startTexts)
        EXPECT_EQ(Find<QLineEdit>(name).text().toStdString(), text) << name;
    EXPECT_EQ(Find<QLabel>("LE_TolLabel").text().toStdString(), "Tolerence");
    EXPECT_EQ(Find<QLabel>("Label1").text().toStdString(), "Fit formular");
    QComboBox& formula = Find<QComboBox>("FitFormulaCB");
    EXPECT_TRUE(formula.isEditable());
    ASSERT_EQ(formula.count(), 12);
    EXPECT_EQ(formula.itemText(0).toStdString(), "m1+(m2+m3*x)/(1+exp((m4-x)/m5))");
    EXPECT_EQ(formula.currentText().toStdString(),
              "m1+m7*x+(m2+m6*x)/(1+abs(m5)*exp(-m3*(x-m4)))^(1/abs(m5))");
    EXPECT_FALSE(Find<QCheckBox>("CheckBox4").isChecked());
    EXPECT_EQ(Find<QCheckBox>("CheckBox4").text().toStdString(), "Average Data");
    EXPECT_EQ(Find<QPushButton>("Button1").text().toStdString(), "Fit Shown");
    EXPECT_EQ(Find<QPushButton>("Button2").text().toStdString(), "Set Limits");
    EXPECT_EQ(form().graphPage().PageControl2().tabText(0).toStdString(), "Fitting ");
}

TEST_F(MainWindowTest, GraphPageBarStartsWithItsDefaults)
{
    GraphPage& graph = form().graphPage();
    EXPECT_EQ(graph.FitShownBut().text().toStdString(), "Fit shown");
    EXPECT_EQ(graph.SelectSample().count(), 0);
    EXPECT_EQ(graph.WaveLengthCombination().currentText().toStdString(), "b-a");
    EXPECT_EQ(graph.WaveLengthCombination().count(), 4);
    EXPECT_EQ(graph.WaveLengthCombination().itemText(1).toStdString(), "b-0.5*a");
    EXPECT_EQ(graph.ComboBox1().currentText().toStdString(), "A");
    EXPECT_EQ(graph.ComboBox2().currentText().toStdString(), "B");
    EXPECT_EQ(graph.TrackBar1().minimum(), 0);
    EXPECT_EQ(graph.TrackBar1().maximum(), 200);
    EXPECT_EQ(graph.TrackBar1().value(), 100);
    EXPECT_EQ(graph.TrackBar1().tickInterval(), 10);
    EXPECT_EQ(graph.Label4().text().toStdString(), "100");
    EXPECT_EQ(graph.Label5().text().toStdString(), "100");
    EXPECT_TRUE(graph.Memo3().toPlainText().isEmpty());
    EXPECT_TRUE(graph.PaintBox2().isHidden());
    EXPECT_EQ(graph.Zoomler1().height(), 14);
    EXPECT_EQ(graph.Zoomler1().Min(), 1.0);
    EXPECT_EQ(graph.Zoomler1().Max(), 100.0);
    EXPECT_EQ(graph.Zoomler1().Start(), 1.0);
    EXPECT_EQ(graph.Zoomler1().Finish(), 100.0);
}

TEST_F(MainWindowTest, ResidualsItemShowsAndHidesTheResidualsBox)
{
    Item("Residuals1").trigger();
    EXPECT_TRUE(Item("Residuals1").isChecked());
    EXPECT_FALSE(form().graphPage().PaintBox2().isHidden());
    Item("Residuals1").trigger();
    EXPECT_TRUE(form().graphPage().PaintBox2().isHidden());
}

TEST_F(MainWindowTest, PlateLayoutGridStartsAsEmpty96WellPlate)
{
    PlateLayoutPage& page = form().plateLayoutPage();
    const GridModel& model = page.layoutModel();
    EXPECT_EQ(model.gridColumnCount(), 13);
    EXPECT_EQ(model.gridRowCount(), 9);
    EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString().toStdString(), "1");
    EXPECT_EQ(model.headerData(11, Qt::Horizontal).toString().toStdString(), "12");
    EXPECT_EQ(model.headerData(7, Qt::Vertical).toString().toStdString(), "H");
    EXPECT_EQ(model.gridText(5, 5), "");
    const QList<QAction*> items = page.PopupMenu1().actions();
    ASSERT_EQ(items.size(), 2);
    EXPECT_EQ(items[0]->text().toStdString(), "Sample1");
    EXPECT_EQ(items[0]->data().toInt(), 1);
    EXPECT_EQ(items[1]->text().toStdString(), "Clear");
    EXPECT_TRUE(page.Memo1().toPlainText().isEmpty());
}

TEST_F(MainWindowTest, ReviewGridStartsWith194ColumnsAnd200EmptyRows)
{
    DataReviewPage& page = form().dataReviewPage();
    EXPECT_EQ(page.reviewModel().gridColumnCount(), 194);
    EXPECT_EQ(page.reviewModel().gridRowCount(), 200);
    EXPECT_EQ(page.StringGrid1().model()->columnCount(), 193);  // without the fixed column
    EXPECT_EQ(page.StringGrid1().verticalHeader()->defaultSectionSize(), 24);
    EXPECT_TRUE(page.Memo4().isReadOnly());
    EXPECT_TRUE(page.Memo4().toPlainText().isEmpty());
    const QList<QAction*> items = page.PopupMenu2().actions();
    ASSERT_EQ(items.size(), 2);
    EXPECT_EQ(items[0]->text().toStdString(), "Copy");
    EXPECT_EQ(items[1]->text().toStdString(), "Copy All");
}

TEST_F(MainWindowTest, ReportsPageHoldsBuilderButtonsAndCopyAll)
{
    ReportsPage& page = form().reportsPage();
    EXPECT_EQ(page.ShowResBut().text().toStdString(), "Show Results");
    EXPECT_EQ(page.RepAverageBut().text().toStdString(), "Average");
    EXPECT_EQ(page.RawDataBut().text().toStdString(), "Reduced Data");
    EXPECT_EQ(page.bt_ClearReport().text().toStdString(), "Clear Report");
    ASSERT_EQ(page.PopupMenu3().actions().size(), 1);
    EXPECT_EQ(page.PopupMenu3().actions()[0]->text().toStdString(), "Copy All");
}

TEST_F(MainWindowTest, StartUpResetsTheSharedState)
{
    const PlateState& state = form().state().plate;
    EXPECT_EQ(state.SampleCount, 1);
    EXPECT_EQ(state.GraphYMax, 2.0);
    EXPECT_EQ(state.ShownWells[1], -1);
    EXPECT_EQ(state.ParamBuffer.size(), 9u);
    EXPECT_EQ(state.plate.WellCount, 0);
}

TEST_F(MainWindowTest, FitParserHoldsTheParametersAndTheStartFormula)
{
    AppState& state = form().state();
    for (int k = 1; k <= 8; ++k) {
        double* slot = state.plate.ParamVars[static_cast<std::size_t>(k)];
        ASSERT_NE(slot, nullptr);
        EXPECT_EQ(slot, state.Parser2.FindVariable("m" + std::to_string(k)));
        EXPECT_EQ(*slot, 1e-30);
    }
    EXPECT_EQ(state.Parser2.Expression(), "m1+m7*x+(m2+m6*x)/(1+abs(m5)*exp(-m3*(x-m4)))^(1/abs(m5))");
    EXPECT_TRUE(state.Parser2.HasProgram());
    *state.plate.ParamVars[1] = 2.0;  // the slots are the ones the program evaluates
    *state.plate.ParamVars[7] = 0.0;
    *state.plate.ParamVars[2] = 0.0;
    *state.plate.ParamVars[6] = 0.0;
    EXPECT_DOUBLE_EQ(state.Parser2.Value(), 2.0);
}

TEST_F(MainWindowTest, SecondaryWindowsAreCreatedHiddenWithTheirCaptions)
{
    EXPECT_EQ(windows.FitLimits().windowTitle().toStdString(), "Set Limits of fit");
    EXPECT_EQ(windows.AboutBox().windowTitle().toStdString(), "About MOVRA");
    EXPECT_EQ(windows.Form2().windowTitle().toStdString(), "Importing Spectramax Textfile");
    EXPECT_EQ(windows.Form2().size(), QSize(354, 59));
    EXPECT_EQ(windows.Form2().ProgressBar1().maximum(), 100);
    EXPECT_EQ(windows.Form3().Memo1().toPlainText().toStdString(), "Iter\nF\nLambda");
    EXPECT_EQ(windows.Form3().size(), QSize(226, 91));
    for (QWidget* window : {static_cast<QWidget*>(&windows.FitLimits()), static_cast<QWidget*>(&windows.AboutBox()),
                            static_cast<QWidget*>(&windows.Form2()), static_cast<QWidget*>(&windows.Form3())}) {
        EXPECT_FALSE(window->isVisible()) << window->objectName().toStdString();
        EXPECT_TRUE(window->isWindow());
    }
}

// The next widget the Tab key reaches from `widget`.
QWidget* NextTabStop(QWidget& widget)
{
    QWidget* next = widget.nextInFocusChain();
    while (next != &widget && !(next->focusPolicy() & Qt::TabFocus))
        next = next->nextInFocusChain();
    return next;
}

TEST_F(MainWindowTest, FitLimitBoxesStartAtZeroAndTabAcrossEachRow)
{
    FitLimitsDialog& limits = windows.FitLimits();
    for (int k = 1; k <= 8; ++k) {
        EXPECT_EQ(limits.MinEdit(k).text().toStdString(), "0");
        EXPECT_EQ(limits.MaxEdit(k).text().toStdString(), "0");
        EXPECT_EQ(limits.MinEdit(k).objectName().toStdString(), "Edit" + std::to_string(k));
        EXPECT_EQ(limits.MaxEdit(k).objectName().toStdString(), "Edit" + std::to_string(k + 8));
    }
    EXPECT_EQ(NextTabStop(limits.MinEdit(1)), &limits.MaxEdit(1));
    EXPECT_EQ(NextTabStop(limits.MaxEdit(1)), &limits.MinEdit(2));
    EXPECT_EQ(NextTabStop(limits.MaxEdit(8)), &limits.Button1());
    EXPECT_EQ(NextTabStop(limits.Button1()), &limits.Button2());
    limits.ResetLimits(-1e20, 1e20);
    EXPECT_EQ(limits.MinEdit(3).text().toStdString(), "-1E20");
    EXPECT_EQ(limits.MaxEdit(3).text().toStdString(), "1E20");
}

TEST_F(MainWindowTest, FitProgressCancelRaisesTheRequestUntilShownAgain)
{
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

TEST_F(MainWindowTest, EditCopyOnDataReviewCopiesTheGridSelection)
{
    test::SetClipboardText("unchanged");
    form().dataReviewPage().selectCells({3, 1, 4, 2});
    Item("Copy2").trigger();
    EXPECT_EQ(test::ClipboardText(), "\t\r\t\r");
}

TEST_F(MainWindowTest, EditCopyOnReportsCopiesTheWholeReport)
{
    StringTable& report = form().state().report;
    report.SetColCount(3);
    report.SetRowCount(2);
    const char* texts[2][3] = {{"a", "b", "c"}, {"d", "e", "f"}};
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 3; ++c)
            report.SetCell(c, r, texts[r][c]);
    form().PageControl1().setCurrentIndex(MainWindow::ReportsIndex);
    Item("Copy2").trigger();
    EXPECT_EQ(test::ClipboardText(), "a\tb\tc\rd\te\tf\r");
}

TEST_F(MainWindowTest, EditCopyOnPlateLayoutOrGraphLeavesTheClipboard)
{
    for (int page : {MainWindow::PlateLayoutIndex, MainWindow::GraphViewIndex}) {
        test::SetClipboardText("unchanged");
        form().PageControl1().setCurrentIndex(page);
        Item("Copy2").trigger();
        EXPECT_EQ(test::ClipboardText(), "unchanged") << page;
    }
}

TEST_F(MainWindowTest, SaveSaveAsAndSelectAllDoNothing)
{
    test::SetClipboardText("unchanged");
    Item("SelectAll1").trigger();
    Item("Save1").trigger();
    Item("SaveAs1").trigger();
    EXPECT_EQ(test::ClipboardText(), "unchanged");
    EXPECT_TRUE(dialogs.errors.empty());
    EXPECT_TRUE(dialogs.openRequests.empty());
    EXPECT_TRUE(dialogs.saveRequests.empty());
}

TEST_F(MainWindowTest, ExitClosesTheMainWindow)
{
    form().show();
    ASSERT_TRUE(form().isVisible());
    Item("Exit1").trigger();
    EXPECT_FALSE(form().isVisible());
}

} // namespace
} // namespace movra
