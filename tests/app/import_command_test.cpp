// File > Import and File > Import Table... through the commands with
// scripted answers: what an import fills in, the time offset and merge
// questions, the refusals and the all-or-nothing rule, what an import says
// and clears, the combination following a one-wavelength plate, and the
// progress window.

#include <QMainWindow>
#include <QProgressBar>
#include <QStatusBar>
#include <QTextDocument>

#include <fstream>

#include "app/import_interaction_dialogs.h"
#include "app/import_progress_form.h"
#include "app/window_placement.h"
#include "wiring_fixture.h"

namespace movra::test {
namespace {

using ImportCommandTest = WiringTest;

const std::string kDemoCaption = "MOVRA version 0.92 (build 060418)- file loaded : demo-kinetic-96.txt";

TEST_F(ImportCommandTest, DemoPlateFillsGridRawTextSummaryAndCaptionShiftedByTheTypedTimeOffset)
{
    form().menu().Import1->trigger();  // cancelled
    EXPECT_EQ(caption(), "MOVRA version 0.92 (build 060418)");
    ImportDemoPlate();
    ASSERT_EQ(std::tuple(dialogs.openRequests.size(), dialogs.inputRequests.size()), std::tuple(2u, 1u));
    const FileDialogRequest& open = dialogs.openRequests[0];
    const ScriptedDialogs::Input& offset = dialogs.inputRequests[0];
    EXPECT_EQ(std::tuple(open.title, open.filter, open.selectedFilter, offset.caption, offset.prompt,
                         offset.defaultText),
              std::tuple("Import SpectraMax Gemini XS Text file", "SpectraMax text|*.txt *.text|All files|*", 1,
                         "Time offset", "type time offset in hours", "0"));

    EXPECT_EQ(std::tuple(caption(), form().dataReviewPage().Memo4().toPlainText().startsWith("##BLOCKS= 1"),
                         graph().Memo3().toPlainText(), plate().WellCount, plate().TimePointCount),
              std::tuple(kDemoCaption, true, "A:0 340 - B:0 405 - ", 96, 61));
    // The grid shows the import's review table (its cells are checked in
    // tests/plate); the temperature caption's 0xA1 byte shows as itself.
    const GridModel& grid = reviewGrid();
    EXPECT_EQ(std::tuple(grid.gridColumnCount(), grid.gridRowCount(), grid.gridText(194, 0), grid.gridText(3, 1)),
              std::tuple(96 * 2 + 3, 62, "405H12", "0.0447"));
    EXPECT_EQ(grid.headerData(1, Qt::Horizontal).toString(), QString::fromLatin1("Temperature(\xA1" "C)"));
    EXPECT_FALSE(windows.Form2().isVisible());

    // A typed time offset shifts the x values; Cancel means none.
    Import(kDemoData / "demo-kinetic-96.txt", "2,5");
    // The grid keeps the file's text.
    EXPECT_EQ(std::tuple(plate().PlateData[0][0], reviewGrid().gridText(1, 1)), std::tuple(2.5, "0:00"));
    Import(kDemoData / "demo-kinetic-96.txt", std::nullopt);
    EXPECT_EQ(std::tuple(plate().PlateData[0][0], plate().TimePointCount), std::tuple(0.0, 61));
}

TEST_F(ImportCommandTest, MergeQuestionAndRefusalsKeepThePreviousPlateUnlessAnswered)
{
    ImportDemoPlate();
    const auto twoBlocks = kDemoData / "kinetic-96-two-blocks.txt";
    dialogs.answers = {DialogAnswer::Cancel};
    Import(twoBlocks);
    EXPECT_EQ(dialogs.questions.at(0), "File contains more than one block. Merge blocks?");
    Import(kPlateTests / "not-plate-format.txt");
    EXPECT_EQ(TakeErrors(), std::vector<std::string>{"File is not saved as plate format!"});
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
        EXPECT_EQ(std::tuple(fresh.Form1().menu().OpenPlateLayout1->isEnabled(), fresh.Form1().state().plate.WellCount,
                             fresh.Form1().dataReviewPage().reviewModel().gridColumnCount()),
                  std::tuple(enabled, 0, 194));
        EXPECT_TRUE(!memo || fresh.Form1().dataReviewPage().Memo4().toPlainText() == memo);
    }
}

TEST_F(ImportCommandTest, TableBecomesAOneWavelengthKineticPlateOrIsRefusedWhole)
{
    ImportDemoPlate();
    std::ofstream(Scratch("bad.csv")) << "x,y\n1,2\n2,abc\n";
    dialogs.files = {Scratch("bad.csv"), kPlateTests / "tables" / "semicolon-comma.csv"};
    form().menu().ImportTable1->trigger();
    EXPECT_EQ(TakeErrors(), std::vector<std::string>{"Row 3, column 2: 'abc' is not a number"});
    EXPECT_EQ(std::tuple(plate().TimePointCount, caption()), std::tuple(61, kDemoCaption));
    EXPECT_TRUE(form().dataReviewPage().Memo4().toPlainText().startsWith("##BLOCKS= 1"));

    form().menu().ImportTable1->trigger();
    EXPECT_EQ(dialogs.openRequests.back().filter, "Tables|*.tsv *.csv *.txt|All files|*");
    EXPECT_EQ(std::tuple(plate().WellCount, plate().WaveLengthCount, plate().TimePointCount, plate().Reading(1, 1, 1),
                         graph().Memo3().toPlainText().toStdString(), caption()),
              std::tuple(96, 1, 4, 2.5, "table: 3 curves",
                         "MOVRA version 0.92 (build 060418)- file loaded : semicolon-comma.csv"));
}

// One wavelength (the file also ends after 1 of its 3 announced reads): the
// untouched "b-a" follows the plate, a typed combination stays with a warning.
TEST_F(ImportCommandTest, CombinationFollowsTheWavelengthsUntilTypedAndShortFilesSaySo)
{
    const auto oneWavelength = kPlateTests / "truncated-mid-read.txt";
    const std::string warning = "The combination \"b/a\" uses wavelength b, but the plate has 1 wavelength: b reads as 1.";
    struct Step { std::filesystem::path file; const char* typed; const char* combination; std::string status, memo; };
    const Step steps[] = {
        {oneWavelength, nullptr, "a",
         "Only 1 of the 3 reads the file announces could be read.  The combination is now \"a\": the plate has 1 "
         "wavelength.", "A:0 405 - "},
        {kDemoData / "demo-kinetic-96.txt", nullptr, "b-a",
         "Imported 61 reads.  The combination is now \"b-a\": the plate has 2 wavelengths.", "A:0 340 - B:0 405 - "},
        {oneWavelength, "b/a", "b/a", "Only 1 of the 3 reads the file announces could be read.  " + warning,
         "A:0 405 -   " + warning},
    };
    for (const Step& step : steps) {
        if (step.typed) graph().WaveLengthCombination().setEditText(step.typed);
        Import(step.file);
        EXPECT_EQ(std::tuple(graph().WaveLengthCombination().currentText(), form().statusBar()->currentMessage(),
                             graph().Memo3().toPlainText()),
                  std::tuple(step.combination, QString::fromStdString(step.status), QString::fromStdString(step.memo)));
    }
}

TEST(ImportInteractionTest, ProgressWindowIsCentredWithHalvesTruncatedShownAdvancedAndHidden)
{
    EXPECT_EQ(CentredTopLeft(QRect(0, 0, 100, 100), QSize(51, 51)), QPoint(25, 25));
    ScriptedDialogs dialogs;
    QMainWindow main;
    main.setGeometry(100, 50, 760, 595);
    ImportProgressForm progress(&main);
    DialogImportInteraction interaction(dialogs, progress, main);
    interaction.ShowProgress();
    interaction.SetProgress(42);
    EXPECT_EQ(std::tuple(progress.isVisible(), progress.pos(), progress.ProgressBar1().value()),
              std::tuple(true, CentredTopLeft(main.frameGeometry(), progress.frameGeometry().size()), 42));
    interaction.HideProgress();
    EXPECT_FALSE(progress.isVisible());
    interaction.ShowProgress();  // the next import starts from 0
    EXPECT_EQ(progress.ProgressBar1().value(), 0);
}

} // namespace
} // namespace movra::test
