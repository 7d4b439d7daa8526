// File > Import driven through the command with scripted answers: the open
// dialog, Memo4, the review grid, the summary, the caption, the merge
// question and the time offset, the refusals, and the all-or-nothing rule.

#include <QAction>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextDocument>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "app/data_review_page.h"
#include "app/graph_page.h"
#include "app/grid_model.h"
#include "app/plate_layout_page.h"
#include "app/program_windows.h"
#include "app_test_environment.h"
#include "plate/synthetic_plate.h"
#include "scripted_dialogs.h"

namespace movra {
namespace {

const std::filesystem::path kData = MOVRA_DATA;
const std::filesystem::path kPlateTests = std::filesystem::path(MOVRA_TEST_DATA) / "plate";

class ImportCommandTest : public ::testing::Test {
protected:
    ImportCommandTest() { test::ClearSettings(); }

    // Chooses File > Import with `file` picked in the open dialog.
    void Import(const std::filesystem::path& file)
    {
        dialogs.files.push_back(file);
        form().menu().Import1->trigger();
    }

    MainWindow& form() { return windows.Form1(); }
    const PlateMeasurements& plate() { return form().state().plate.plate; }
    const GridModel& grid() { return form().dataReviewPage().reviewModel(); }
    std::string caption() { return form().windowTitle().toStdString(); }

    test::ScriptedDialogs dialogs;
    ProgramWindows windows{dialogs};
};

TEST_F(ImportCommandTest, OpenDialogHasTitleFiltersAndSecondFilterSelected)
{
    form().menu().Import1->trigger();  // cancelled
    ASSERT_EQ(dialogs.openRequests.size(), 1u);
    EXPECT_EQ(dialogs.openRequests[0].title, "Import SpectraMax Gemini XS Text file");
    EXPECT_EQ(dialogs.openRequests[0].filter, "All Files|*.*|SpectraMax Text File|*.txt");
    EXPECT_EQ(dialogs.openRequests[0].selectedFilter, 2);
    EXPECT_EQ(caption(), "MOVRA version 0.92 (build 060418)");
    EXPECT_TRUE(form().dataReviewPage().Memo4().toPlainText().isEmpty());
}

TEST_F(ImportCommandTest, DemoPlateFillsGridRawTextSummaryAndCaption)
{
    dialogs.inputs.push_back("0");
    Import(kData / "demo-kinetic-96.txt");
    EXPECT_TRUE(dialogs.errors.empty()) << dialogs.errors.front();
    ASSERT_EQ(dialogs.inputRequests.size(), 1u);
    EXPECT_EQ(dialogs.inputRequests[0].caption, "Time offset");
    EXPECT_EQ(dialogs.inputRequests[0].prompt, "type time offset in hours");
    EXPECT_EQ(dialogs.inputRequests[0].defaultText, "0");
    EXPECT_TRUE(dialogs.questions.empty());

    EXPECT_EQ(caption(), "MOVRA version 0.92 (build 060418)- file loaded : demo-kinetic-96.txt");
    EXPECT_TRUE(form().dataReviewPage().Memo4().toPlainText().startsWith(QStringLiteral("##BLOCKS= 1")));
    EXPECT_EQ(form().graphPage().Memo3().toPlainText().toStdString(), "A:0 340 - B:0 405 - ");
    EXPECT_EQ(plate().WellCount, 96);
    EXPECT_EQ(plate().TimePointCount, 61);

    EXPECT_EQ(grid().gridColumnCount(), 96 * 2 + 3);
    EXPECT_EQ(grid().gridRowCount(), 62);
    EXPECT_EQ(grid().gridText(1, 0), "Time(hh:mm:ss)");
    EXPECT_EQ(grid().gridText(3, 0), "340A1");
    EXPECT_EQ(grid().gridText(3 + 96 + 95, 0), "405H12");
    EXPECT_EQ(grid().gridText(1, 2), "2:00");
    EXPECT_EQ(grid().gridText(2, 1), "37.00");
    EXPECT_EQ(grid().gridText(3, 1), "0.0447");
    EXPECT_EQ(grid().headerData(2, Qt::Horizontal).toString().toStdString(), "340A1");
    // The temperature caption's 0xA1 byte shows as itself.
    EXPECT_EQ(grid().headerData(1, Qt::Horizontal).toString(), QString::fromLatin1("Temperature(\xA1" "C)"));

    EXPECT_TRUE(form().menu().OpenPlateLayout1->isEnabled());
    EXPECT_TRUE(form().menu().SavePlateLayout1->isEnabled());
    EXPECT_EQ(windows.FitLimits().MinEdit(1).text().toStdString(), "-1E20");
    EXPECT_EQ(windows.FitLimits().MaxEdit(8).text().toStdString(), "1E20");
    EXPECT_FALSE(windows.Form2().isVisible());
}

TEST_F(ImportCommandTest, TypedTimeOffsetShiftsTheXValues)
{
    dialogs.inputs.push_back("2,5");
    Import(kData / "demo-kinetic-96.txt");
    EXPECT_DOUBLE_EQ(plate().PlateData[0][0], 2.5);
    EXPECT_EQ(grid().gridText(1, 1), "0:00");  // the grid keeps the file's text
}

TEST_F(ImportCommandTest, CancelledTimeOffsetUsesTheDefault)
{
    dialogs.inputs.push_back(std::nullopt);
    Import(kData / "demo-kinetic-96.txt");
    EXPECT_DOUBLE_EQ(plate().PlateData[0][0], 0.0);
    EXPECT_EQ(plate().TimePointCount, 61);
}

TEST_F(ImportCommandTest, MergeYesReadsBothBlocks)
{
    dialogs.answers.push_back(DialogAnswer::Yes);
    Import(kData / "kinetic-96-two-blocks.txt");
    ASSERT_EQ(dialogs.questions.size(), 1u);
    EXPECT_EQ(dialogs.questions[0], "File contains more than one block. Merge blocks?");
    EXPECT_EQ(plate().TimePointCount, 17);
    EXPECT_EQ(grid().gridRowCount(), 18);
}

TEST_F(ImportCommandTest, MergeNoReadsTheFirstBlockOnly)
{
    dialogs.answers.push_back(DialogAnswer::No);
    Import(kData / "kinetic-96-two-blocks.txt");
    EXPECT_EQ(plate().TimePointCount, 11);
}

TEST_F(ImportCommandTest, MergeCancelKeepsThePreviousPlate)
{
    Import(kData / "demo-kinetic-96.txt");
    dialogs.answers.push_back(DialogAnswer::Cancel);
    Import(kData / "kinetic-96-two-blocks.txt");
    EXPECT_EQ(plate().TimePointCount, 61);
    EXPECT_EQ(grid().gridRowCount(), 62);
    EXPECT_EQ(caption(), "MOVRA version 0.92 (build 060418)- file loaded : demo-kinetic-96.txt");
    EXPECT_TRUE(dialogs.errors.empty());
}

TEST_F(ImportCommandTest, RefusedFileShowsItsMessageAndKeepsThePlate)
{
    Import(kData / "demo-kinetic-96.txt");
    Import(kPlateTests / "not-plate-format.txt");
    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_EQ(dialogs.errors[0], "File is not saved as plate format!");
    EXPECT_EQ(plate().TimePointCount, 61);
    EXPECT_EQ(grid().gridText(3, 0), "340A1");
    EXPECT_EQ(caption(), "MOVRA version 0.92 (build 060418)- file loaded : demo-kinetic-96.txt");
    // The raw text box holds the refused file, not the demo plate's 563 lines.
    EXPECT_LT(form().dataReviewPage().Memo4().document()->blockCount(), 100);
    EXPECT_FALSE(windows.Form2().isVisible());
}

TEST_F(ImportCommandTest, FileWithoutBlocksLineIsRefusedButEnablesLayoutCommands)
{
    Import(kPlateTests / "no-blocks-line.txt");
    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_EQ(dialogs.errors[0], "File is not at SpectraMax text file!");
    EXPECT_TRUE(form().menu().OpenPlateLayout1->isEnabled());
    EXPECT_EQ(plate().WellCount, 0);
    EXPECT_EQ(grid().gridColumnCount(), 194);
}

TEST_F(ImportCommandTest, CellThatIsNotANumberShowsTheConversionError)
{
    Import(kPlateTests / "text-in-cell.txt");
    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_NE(dialogs.errors[0].find("is not a valid floating point value"), std::string::npos) << dialogs.errors[0];
    EXPECT_EQ(plate().WellCount, 0);
}

TEST_F(ImportCommandTest, FileBeginningWithBlankIsLoadedButNotRead)
{
    const auto file = std::filesystem::path(test::SettingsFolder().toStdString()) / "blank.txt";
    std::ofstream(file) << "blank line\n##BLOCKS= 1\n";
    Import(file);
    EXPECT_EQ(form().dataReviewPage().Memo4().toPlainText().toStdString(), "blank line\n##BLOCKS= 1\n");
    EXPECT_TRUE(dialogs.errors.empty());
    EXPECT_FALSE(form().menu().OpenPlateLayout1->isEnabled());
}

TEST_F(ImportCommandTest, MissingFileShowsAnErrorAndLeavesBlankInTheRawTextBox)
{
    Import(kData / "no-such-file.txt");
    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_EQ(form().dataReviewPage().Memo4().toPlainText().toStdString(), "blank");
    EXPECT_FALSE(form().menu().OpenPlateLayout1->isEnabled());
}

TEST_F(ImportCommandTest, CopyAllAfterImportGivesHeaderAndOneLinePerRead)
{
    dialogs.answers.push_back(DialogAnswer::No);
    Import(kData / "kinetic-96-two-blocks.txt");
    form().dataReviewPage().CopytoExcel1Click();
    const std::string text = test::ClipboardText();
    EXPECT_EQ(std::count(text.begin(), text.end(), '\r'), 12);
    EXPECT_EQ(text.find('\n'), std::string::npos);
    EXPECT_EQ(text.substr(0, 15), "Time(hh:mm:ss)\t");
}

TEST_F(ImportCommandTest, Plate384ResizesTheLayoutGridAndKeepsItsLabels)
{
    SyntheticPlateOptions options;
    options.wellCount = 384;
    options.reads = 3;
    const auto file = std::filesystem::path(test::SettingsFolder().toStdString()) / "plate384.txt";
    std::ofstream(file, std::ios::binary) << WriteSyntheticPlate(options);
    form().state().layout.SetCell(2, 1, "Sample1");
    Import(file);
    ASSERT_TRUE(dialogs.errors.empty()) << dialogs.errors.front();
    const GridModel& layout = form().plateLayoutPage().layoutModel();
    EXPECT_EQ(layout.gridColumnCount(), 25);
    EXPECT_EQ(layout.gridRowCount(), 17);
    EXPECT_EQ(layout.headerData(23, Qt::Horizontal).toString().toStdString(), "24");
    EXPECT_EQ(layout.headerData(15, Qt::Vertical).toString().toStdString(), "P");
    EXPECT_EQ(layout.gridText(2, 1), "Sample1");
    EXPECT_EQ(grid().gridColumnCount(), 384 + 3);
    EXPECT_EQ(grid().gridText(3 + 383, 0), "405P24");
}

TEST_F(ImportCommandTest, SpectrumPlateHeadsColumnsWithWellLabels)
{
    Import(kData / "spectrum-96.txt");
    EXPECT_TRUE(dialogs.inputRequests.empty());  // no time offset for a spectrum
    EXPECT_EQ(grid().gridText(3, 0), "A1");
    EXPECT_EQ(grid().gridText(1, 1), "400");
    EXPECT_EQ(form().graphPage().Memo3().toPlainText().left(4).toStdString(), "fix:");
}

} // namespace
} // namespace movra

namespace movra {
namespace {

const std::filesystem::path kTables = std::filesystem::path(MOVRA_TEST_DATA) / "plate" / "tables";

class ImportTableCommandTest : public ImportCommandTest {
protected:
    void ImportTable(const std::filesystem::path& file)
    {
        dialogs.files.push_back(file);
        form().menu().ImportTable1->trigger();
    }
};

TEST_F(ImportTableCommandTest, TableBecomesAOneWavelengthKineticPlate)
{
    ASSERT_TRUE(form().menu().ImportTable1->isEnabled());
    ImportTable(kTables / "semicolon-comma.csv");
    ASSERT_EQ(dialogs.openRequests.size(), 1u);
    EXPECT_EQ(dialogs.openRequests[0].filter, "Tables|*.tsv *.csv *.txt");
    EXPECT_TRUE(dialogs.errors.empty()) << dialogs.errors.front();
    EXPECT_EQ(plate().WellCount, 96);
    EXPECT_EQ(plate().WaveLengthCount, 1);
    EXPECT_EQ(plate().TimePointCount, 4);
    EXPECT_EQ(plate().Reading(1, 1, 1), 2.5);
    EXPECT_EQ(form().graphPage().Memo3().toPlainText().toStdString(), "table: 3 curves");
    EXPECT_EQ(caption(), "MOVRA version 0.92 (build 060418)- file loaded : semicolon-comma.csv");
    EXPECT_TRUE(form().menu().OpenPlateLayout1->isEnabled());
}

TEST_F(ImportTableCommandTest, BadTableIsRefusedAndThePlateStays)
{
    dialogs.inputs.push_back("0");
    Import(kData / "demo-kinetic-96.txt");
    const auto path = std::filesystem::temp_directory_path() / "movra-bad-table.csv";
    {
        std::ofstream file(path);
        file << "x,y\n1,2\n2,abc\n";
    }
    ImportTable(path);
    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_EQ(dialogs.errors[0], "Row 3, column 2: 'abc' is not a number");
    EXPECT_EQ(plate().TimePointCount, 61);
    EXPECT_EQ(caption(), "MOVRA version 0.92 (build 060418)- file loaded : demo-kinetic-96.txt");
    std::filesystem::remove(path);
}

} // namespace
} // namespace movra
