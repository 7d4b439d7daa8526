#pragma once
// Shared set-up of the tests of the program's windows: all five windows with
// scripted dialogs and a first start's settings, the demo plate imported on
// request, menu and box entries read as text, wells labelled through the
// layout grid's popup menu and samples chosen as the user does; movra-batch
// on the demo plate.

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "app/data_review_page.h"
#include "app/fit_all_command.h"
#include "app/fit_limits_dialog.h"
#include "app/fit_progress_form.h"
#include "app/fitting_panel.h"
#include "app/graph_page.h"
#include "app/grid_model.h"
#include "app/plate_layout_page.h"
#include "app/program_windows.h"
#include "app/reports_page.h"
#include "app/table_selection.h"
#include "app_test_environment.h"
#include "batch_cli.h"
#include "scripted_dialogs.h"
#include "shared/test_helpers.h"

namespace movra::test {

inline const std::filesystem::path kDemoData = MOVRA_DATA;
inline const std::filesystem::path kPlateTests = std::filesystem::path(MOVRA_TEST_DATA) / "plate";

// movra-batch's table for the demo plate and layout with formula 0 and the
// options given.
inline std::string DemoBatchTable(std::vector<std::string> options)
{
    options.insert(options.begin(), {(kDemoData / "demo-kinetic-96.txt").string(), "--layout",
                                     (kDemoData / "demo-layout.PLO").string(), "--formula-index", "0"});
    std::ostringstream out, err;
    EXPECT_EQ(RunBatch(options, out, err), 0) << err.str();
    return out.str();
}

class WiringTest : public ::testing::Test {
protected:

    MainWindow& form() { return windows.Form1(); }
    AppState& state() { return form().state(); }
    const PlateMeasurements& plate() { return state().plate; }
    const TMatrix& reduced() { return state().curves.ReducedData; }
    PlateLayoutPage& layoutPage() { return form().plateLayoutPage(); }
    GraphPage& graph() { return form().graphPage(); }
    std::string LayoutCell(int column, int row) { return layoutPage().layoutModel().gridText(column, row); }
    const GridModel& reviewGrid() { return form().dataReviewPage().reviewModel(); }
    std::string caption() { return form().windowTitle().toStdString(); }
    std::vector<int> ShownWells(int curves)  // of curves 1..curves
    {
        return {state().curves.ShownWells.begin() + 1, state().curves.ShownWells.begin() + 1 + curves};
    }
    double FitResult(int well, int column)
    {
        return state().fits.WellFitResults[static_cast<std::size_t>(well)][static_cast<std::size_t>(column)];
    }

    // The entries of a menu (separators as "-") or a combo box.
    static QStringList Captions(const QWidget& menuOrBox)
    {
        QStringList texts;
        if (auto* box = qobject_cast<const QComboBox*>(&menuOrBox))
            for (int i = 0; i < box->count(); ++i) texts.append(box->itemText(i));
        for (const QAction* item : menuOrBox.actions()) texts.append(item->isSeparator() ? "-" : item->text());
        return texts;
    }
    QStringList PopupCaptions() { return Captions(layoutPage().PopupMenu1()); }
    QStringList ChooserEntries() { return Captions(graph().SelectSample()); }

    // File > Import with `file` picked; `offset` answers the time offset question.
    void Import(const std::filesystem::path& file, std::optional<std::string> offset = "0")
    {
        dialogs.inputs.push_back(offset);
        dialogs.files.push_back(file);
        form().menu().Import1->trigger();
    }
    void ImportDemoPlate() { Import(kDemoData / "demo-kinetic-96.txt"); }
    void OpenLayout(const std::filesystem::path& file)
    {
        dialogs.files.push_back(file);
        form().menu().OpenPlateLayout1->trigger();
    }
    // Selects plate columns left..right, rows top..bottom and chooses the popup item.
    void Label(const GridSelection& cells, const QString& item)
    {
        SelectCells(layoutPage().PlateLayoutGrid(), cells);
        for (QAction* action : layoutPage().PopupMenu1().actions())
            if (action->text() == item) return action->trigger();
        FAIL() << "no popup item " << item.toStdString();
    }
    void ChooseSample(const QString& sample)
    {
        const int index = graph().SelectSample().findText(sample);
        ASSERT_GE(index, 0) << sample.toStdString();
        graph().SelectSample().setCurrentIndex(index);
        emit graph().SelectSample().activated(index);
    }
    void ShowPage(int index)
    {
        form().resize(900, 700);
        form().show();
        form().PageControl1().setCurrentIndex(index);
        QApplication::processEvents();
    }
    void FitAll()
    {
        form().menu().FitAll1->trigger();
        ASSERT_TRUE(QTest::qWaitFor([this] { return !form().fitAll().Running(); }, 60000));
    }
    // The demo plate with Sample1 chosen (column 1 of the demo layout, or
    // the cells given) and start values that suit its curves.
    void PrepareDemoFit(std::optional<GridSelection> cells = std::nullopt)
    {
        ImportDemoPlate();
        if (cells) Label(*cells, "Sample1");
        cells ? ChooseSample("Sample1") : OpenLayout(kDemoData / "demo-layout.PLO");
        graph().fitting().FitFormulaCB().setCurrentIndex(0);
        const char* const starts[] = {"0.1", "0.5", "0.01", "0.6", "0.1", "1", "1", "1"};
        for (int k = 1; k <= 8; ++k) graph().fitting().FitM(k).setText(starts[k - 1]);
    }

    // Errors a test expects it takes; any other fails the test, so the
    // helpers above need not check for errors themselves.
    std::vector<std::string> TakeErrors() { return std::exchange(dialogs.errors, {}); }
    void TearDown() override { EXPECT_EQ(dialogs.errors, std::vector<std::string>{}); }

    // The windows start as at a first start: the settings are cleared before
    // they are built (they restore the last session's).
    struct FirstStart {
        FirstStart() { ClearSettings(); }
    } firstStart;
    ScriptedDialogs dialogs;
    ProgramWindows windows{dialogs};
};

} // namespace movra::test
