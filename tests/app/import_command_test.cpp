// File > Import and File > Import Table... through the commands with
// scripted answers: what an import fills in, the time offset and merge
// questions, the refusals and the all-or-nothing rule.

#include <QTextDocument>

#include <fstream>

#include "plate/synthetic_plate.h"
#include "wiring_fixture.h"

namespace movra::test {
namespace {

using ImportCommandTest = WiringTest;

const std::string kDemoCaption = "MOVRA version 0.92 (build 060418)- file loaded : demo-kinetic-96.txt";

TEST_F(ImportCommandTest, DemoPlateFillsGridRawTextSummaryCaptionAndLimits)
{
    form().menu().Import1->trigger();  // cancelled
    EXPECT_EQ(caption(), "MOVRA version 0.92 (build 060418)");
    ImportDemoPlate();
    ASSERT_EQ(dialogs.openRequests.size(), 2u);
    const FileDialogRequest& open = dialogs.openRequests[0];
    EXPECT_EQ(std::tuple(open.title, open.filter, open.selectedFilter),
              std::tuple("Import SpectraMax Gemini XS Text file", "All Files|*.*|SpectraMax Text File|*.txt", 2));
    ASSERT_EQ(dialogs.inputRequests.size(), 1u);
    const ScriptedDialogs::Input& offset = dialogs.inputRequests[0];
    EXPECT_EQ(std::tuple(offset.caption, offset.prompt, offset.defaultText),
              std::tuple("Time offset", "type time offset in hours", "0"));
    EXPECT_TRUE(dialogs.questions.empty());

    EXPECT_EQ(caption(), kDemoCaption);
    EXPECT_TRUE(form().dataReviewPage().Memo4().toPlainText().startsWith("##BLOCKS= 1"));
    EXPECT_EQ(graph().Memo3().toPlainText().toStdString(), "A:0 340 - B:0 405 - ");
    EXPECT_EQ(std::tuple(plate().WellCount, plate().TimePointCount), std::tuple(96, 61));
    const GridModel& grid = reviewGrid();
    EXPECT_EQ(std::tuple(grid.gridColumnCount(), grid.gridRowCount()), std::tuple(96 * 2 + 3, 62));
    const std::tuple<int, int, const char*> cells[] = {{1, 0, "Time(hh:mm:ss)"}, {3, 0, "340A1"}, {194, 0, "405H12"},
                                                       {1, 2, "2:00"}, {2, 1, "37.00"}, {3, 1, "0.0447"}};
    for (const auto& [column, row, text] : cells) EXPECT_EQ(grid.gridText(column, row), text) << column << "," << row;
    // The temperature caption's 0xA1 byte shows as itself.
    EXPECT_EQ(grid.headerData(1, Qt::Horizontal).toString(), QString::fromLatin1("Temperature(\xA1" "C)"));
    EXPECT_TRUE(form().menu().OpenPlateLayout1->isEnabled() && form().menu().SavePlateLayout1->isEnabled());
    EXPECT_EQ(windows.FitLimits().MinEdit(1).text(), "-1E20");  // the limits reset
    EXPECT_EQ(windows.FitLimits().MaxEdit(8).text(), "1E20");
    EXPECT_FALSE(windows.Form2().isVisible());

    // Copy All: the header row and one line per read, each ended by CR alone.
    form().dataReviewPage().CopytoExcel1Click();
    const std::string copied = ClipboardText();
    EXPECT_EQ(std::count(copied.begin(), copied.end(), '\r'), 62);
    EXPECT_EQ(copied.find('\n'), std::string::npos);
    EXPECT_EQ(copied.substr(0, 15), "Time(hh:mm:ss)\t");
}

TEST_F(ImportCommandTest, TypedTimeOffsetShiftsTheXValuesAndCancelMeansNone)
{
    Import(kDemoData / "demo-kinetic-96.txt", "2,5");
    EXPECT_DOUBLE_EQ(plate().PlateData[0][0], 2.5);
    EXPECT_EQ(reviewGrid().gridText(1, 1), "0:00");  // the grid keeps the file's text
    Import(kDemoData / "demo-kinetic-96.txt", std::nullopt);
    EXPECT_DOUBLE_EQ(plate().PlateData[0][0], 0.0);
    EXPECT_EQ(plate().TimePointCount, 61);
}

TEST_F(ImportCommandTest, MergeQuestionAndRefusalsKeepThePreviousPlateUnlessAnswered)
{
    ImportDemoPlate();
    const auto twoBlocks = kDemoData / "kinetic-96-two-blocks.txt";
    dialogs.answers = {DialogAnswer::Cancel};
    Import(twoBlocks);
    EXPECT_EQ(dialogs.questions.at(0), "File contains more than one block. Merge blocks?");
    Import(kPlateTests / "not-plate-format.txt");
    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_EQ(dialogs.errors[0], "File is not saved as plate format!");
    EXPECT_EQ(std::tuple(plate().TimePointCount, reviewGrid().gridRowCount(), caption()),
              std::tuple(61, 62, kDemoCaption));
    // The raw text box holds the refused file, not the demo plate's 563 lines.
    EXPECT_LT(form().dataReviewPage().Memo4().document()->blockCount(), 100);

    dialogs.answers = {DialogAnswer::No, DialogAnswer::Yes};
    Import(twoBlocks);
    EXPECT_EQ(plate().TimePointCount, 11);  // the first block
    Import(twoBlocks);
    EXPECT_EQ(std::tuple(plate().TimePointCount, reviewGrid().gridRowCount()), std::tuple(17, 18));
}

TEST_F(ImportCommandTest, UnreadableFilesShowTheirErrorAndLeaveThePlateEmpty)
{
    std::ofstream(Scratch("blank.txt")) << "blank line\n##BLOCKS= 1\n";
    // The file, a part of the error shown, the layout commands enabled, the raw text box's text.
    const std::tuple<std::filesystem::path, const char*, bool, const char*> cases[] = {
        {kPlateTests / "no-blocks-line.txt", "File is not at SpectraMax text file!", true, nullptr},
        {kPlateTests / "text-in-cell.txt", "is not a valid floating point value", true, nullptr},
        {Scratch("blank.txt"), nullptr, false, "blank line\n##BLOCKS= 1\n"},  // loaded but not read
        {kDemoData / "no-such-file.txt", "", false, "blank"},
    };
    for (const auto& [file, error, enabled, memo] : cases) {
        ScriptedDialogs answers;
        ProgramWindows fresh(answers);
        answers.files.push_back(file);
        fresh.Form1().menu().Import1->trigger();
        SCOPED_TRACE(file.filename().string());
        ASSERT_EQ(answers.errors.size(), error ? 1u : 0u);
        EXPECT_TRUE(!error || answers.errors[0].find(error) != std::string::npos) << answers.errors[0];
        EXPECT_EQ(fresh.Form1().menu().OpenPlateLayout1->isEnabled(), enabled);
        EXPECT_EQ(fresh.Form1().state().plate.WellCount, 0);
        EXPECT_EQ(fresh.Form1().dataReviewPage().reviewModel().gridColumnCount(), 194);
        EXPECT_TRUE(!memo || fresh.Form1().dataReviewPage().Memo4().toPlainText() == memo);
    }
}

TEST_F(ImportCommandTest, SpectrumPlateHeadsColumnsWithWellLabelsAndAsksNoOffset)
{
    dialogs.files.push_back(kDemoData / "spectrum-96.txt");
    form().menu().Import1->trigger();
    EXPECT_TRUE(dialogs.inputRequests.empty());
    EXPECT_EQ(reviewGrid().gridText(3, 0), "A1");
    EXPECT_EQ(reviewGrid().gridText(1, 1), "400");
    EXPECT_TRUE(graph().Memo3().toPlainText().startsWith("fix:"));
}

TEST_F(ImportCommandTest, TableBecomesAOneWavelengthKineticPlateOrIsRefusedWhole)
{
    ImportDemoPlate();
    std::ofstream(Scratch("bad.csv")) << "x,y\n1,2\n2,abc\n";
    dialogs.files = {Scratch("bad.csv"), kPlateTests / "tables" / "semicolon-comma.csv"};
    form().menu().ImportTable1->trigger();
    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_EQ(dialogs.errors[0], "Row 3, column 2: 'abc' is not a number");
    EXPECT_EQ(std::tuple(plate().TimePointCount, caption()), std::tuple(61, kDemoCaption));

    form().menu().ImportTable1->trigger();
    EXPECT_EQ(dialogs.openRequests.back().filter, "Tables|*.tsv *.csv *.txt");
    EXPECT_EQ(dialogs.errors.size(), 1u);
    EXPECT_EQ(std::tuple(plate().WellCount, plate().WaveLengthCount, plate().TimePointCount), std::tuple(96, 1, 4));
    EXPECT_EQ(plate().Reading(1, 1, 1), 2.5);
    EXPECT_EQ(graph().Memo3().toPlainText().toStdString(), "table: 3 curves");
    EXPECT_EQ(caption(), "MOVRA version 0.92 (build 060418)- file loaded : semicolon-comma.csv");
}

} // namespace
} // namespace movra::test
