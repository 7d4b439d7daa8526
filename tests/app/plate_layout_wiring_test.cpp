// The PlateLayout page's commands through the real widgets: the popup menu's
// sample items and Clear, the chooser that follows them, and saving and
// loading layout files (a failed save never loses the old file).

#include <QPlainTextEdit>

#include <sys/resource.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fstream>
#include <sstream>

#include "app/grid_model.h"
#include "app/plate_layout_commands.h"
#include "plate/synthetic_plate.h"
#include "wiring_fixture.h"

namespace movra::test {
namespace {

std::string FileText(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::filesystem::path Scratch(const std::string& name)
{
    return std::filesystem::path(SettingsFolder().toStdString()) / name;
}

using PlateLayoutWiringTest = WiringTest;

TEST_F(PlateLayoutWiringTest, Sample1ThenSample2OffersSample3OnTop)
{
    Label({1, 1, 2, 2}, QStringLiteral("Sample1"));
    EXPECT_EQ(PopupCaptions(), (QStringList{"Sample2", "Sample1", "Clear"}));
    EXPECT_EQ(ChooserEntries(), QStringList{"Sample1"});
    EXPECT_EQ(graph().SelectSample().currentIndex(), -1);

    Label({3, 1, 3, 1}, QStringLiteral("Sample2"));
    EXPECT_EQ(PopupCaptions(), (QStringList{"Sample3", "Sample2", "Sample1", "Clear"}));
    EXPECT_EQ(ChooserEntries(), (QStringList{"Sample1", "Sample2"}));
    EXPECT_EQ(layoutPage().layoutModel().gridText(2, 2), "Sample1");
    EXPECT_EQ(layoutPage().layoutModel().gridText(3, 1), "Sample2");
}

TEST_F(PlateLayoutWiringTest, ReusingALowerItemAddsNothing)
{
    Label({1, 1, 1, 1}, QStringLiteral("Sample1"));
    Label({2, 1, 2, 1}, QStringLiteral("Sample2"));
    Label({1, 1, 3, 1}, QStringLiteral("Sample1"));  // overwrites the only Sample2
    EXPECT_EQ(PopupCaptions(), (QStringList{"Sample3", "Sample2", "Sample1", "Clear"}));
    EXPECT_EQ(ChooserEntries(), (QStringList{"Sample1", "Sample2"}));
}

TEST_F(PlateLayoutWiringTest, ClearRemovesTheSampleFromTheChooser)
{
    Label({1, 1, 1, 2}, QStringLiteral("Sample1"));
    Label({4, 4, 4, 4}, QStringLiteral("Sample2"));
    Label({4, 4, 4, 4}, QStringLiteral("Clear"));
    EXPECT_EQ(ChooserEntries(), QStringList{"Sample1"});
    EXPECT_EQ(layoutPage().layoutModel().gridText(4, 4), "");
}

TEST_F(PlateLayoutWiringTest, GridIsNotEditableByTyping)
{
    const GridModel& model = layoutPage().layoutModel();
    EXPECT_FALSE(model.flags(model.index(0, 0)) & Qt::ItemIsEditable);
    EXPECT_EQ(layoutPage().PlateLayoutGrid().editTriggers(), QAbstractItemView::NoEditTriggers);
}

TEST_F(PlateLayoutWiringTest, SaveOfEmpty96WellLayoutWritesEightLinesOfTwelveTabs)
{
    ImportDemoPlate();
    const auto file = Scratch("empty.PLO");
    dialogs.files.push_back(file);
    form().menu().SavePlateLayout1->trigger();
    ASSERT_TRUE(dialogs.errors.empty()) << dialogs.errors.front();
    ASSERT_EQ(dialogs.saveRequests.size(), 1u);
    EXPECT_EQ(dialogs.saveRequests[0].title, "Save plate layout");
    EXPECT_EQ(dialogs.saveRequests[0].defaultExt, "*.PLO");
    EXPECT_EQ(dialogs.saveRequests[0].filter, "All Files|*.*|Plate Layout Files|*.PLO");
    EXPECT_EQ(dialogs.saveRequests[0].selectedFilter, 2);

    std::string expected;
    for (int row = 0; row < 8; ++row) expected += std::string(12, '\t') + "\r\n";
    EXPECT_EQ(FileText(file), expected);
    EXPECT_EQ(layoutPage().Memo1().document()->blockCount(), 8);
}

TEST_F(PlateLayoutWiringTest, CancelledSaveKeepsTheLayoutTextInMemo1)
{
    ImportDemoPlate();
    Label({2, 1, 2, 1}, QStringLiteral("Sample1"));
    form().menu().SavePlateLayout1->trigger();  // no file chosen
    EXPECT_TRUE(layoutPage().Memo1().toPlainText().startsWith(QStringLiteral("\tSample1\t\t")));
}

TEST_F(PlateLayoutWiringTest, SaveToAFullDeviceShowsAnErrorAndLeavesTheDevice)
{
    const std::filesystem::path full = "/dev/full";
    if (!std::filesystem::is_character_file(full)) GTEST_SKIP() << "no /dev/full on this system";
    ImportDemoPlate();
    dialogs.files.push_back(full);
    form().menu().SavePlateLayout1->trigger();
    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_EQ(dialogs.errors[0], "Cannot create file \"/dev/full\". No space left on device");
    EXPECT_TRUE(std::filesystem::is_character_file(full));
}

TEST_F(PlateLayoutWiringTest, SaveIntoAMissingFolderShowsAnError)
{
    ImportDemoPlate();
    dialogs.files.push_back(Scratch("no-such-folder") / "layout.PLO");
    form().menu().SavePlateLayout1->trigger();
    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_NE(dialogs.errors[0].find("Cannot create file"), std::string::npos);
}

// A write that fails half-way (here: the process may not write more than a
// few bytes into any file) must leave the previous file as it was.
TEST_F(PlateLayoutWiringTest, FailedWriteKeepsTheOldFile)
{
    ImportDemoPlate();
    const auto file = Scratch("old.PLO");
    std::ofstream(file, std::ios::binary) << "old layout\r\n";

    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 16;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    dialogs.files.push_back(file);
    form().menu().SavePlateLayout1->trigger();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    ASSERT_EQ(dialogs.errors.size(), 1u);
    // The system's reason, not "Unknown error".
    EXPECT_EQ(dialogs.errors[0], "Cannot create file \"" + file.string() + "\". " + std::strerror(EFBIG));
    EXPECT_EQ(FileText(file), "old layout\r\n");
    // No temporary file is left behind.
    int entries = 0;
    for (const auto& entry : std::filesystem::directory_iterator(file.parent_path()))
        entries += entry.path().filename().string().starts_with("old.PLO") ? 1 : 0;
    EXPECT_EQ(entries, 1);
}

TEST_F(PlateLayoutWiringTest, OpenLoadsTheDemoLayoutAndShowsTheFirstSample)
{
    ImportDemoPlate();
    dialogs.files.push_back(kDemoData / "demo-layout.PLO");
    form().menu().OpenPlateLayout1->trigger();
    ASSERT_TRUE(dialogs.errors.empty()) << dialogs.errors.front();
    ASSERT_EQ(dialogs.openRequests.size(), 2u);  // the import's, then the layout's
    EXPECT_EQ(dialogs.openRequests[1].title, "Load Plate Layout");
    EXPECT_EQ(dialogs.openRequests[1].defaultExt, "*.PLO");
    EXPECT_EQ(dialogs.openRequests[1].filter, "All Files|*.*|Plate Layout Files|*.PLO");
    EXPECT_EQ(dialogs.openRequests[1].selectedFilter, 2);

    EXPECT_EQ(graph().SelectSample().count(), 12);
    EXPECT_EQ(graph().SelectSample().itemText(9).toStdString(), "Sample10");  // numeric order
    EXPECT_EQ(graph().SelectSample().currentText().toStdString(), "Sample1");
    // Column 1's wells, A1 to H1, are the shown curves.
    for (int curve = 1; curve <= 8; ++curve)
        EXPECT_EQ(state().plate.ShownWells[static_cast<std::size_t>(curve)], (curve - 1) * 12);
    EXPECT_EQ(layoutPage().Memo1().document()->blockCount(), 8);
}

TEST_F(PlateLayoutWiringTest, A96WellLayoutOnA384WellPlateEmptiesTheOtherWells)
{
    SyntheticPlateOptions options;
    options.wellCount = 384;
    options.reads = 3;
    const auto plate384 = Scratch("plate384.txt");
    std::ofstream(plate384, std::ios::binary) << WriteSyntheticPlate(options);
    ImportFile(plate384);
    state().layout.SetCell(20, 14, "Sample3");

    dialogs.files.push_back(kDemoData / "demo-layout.PLO");
    form().menu().OpenPlateLayout1->trigger();
    ASSERT_TRUE(dialogs.errors.empty()) << dialogs.errors.front();
    const GridModel& model = layoutPage().layoutModel();
    EXPECT_EQ(model.gridText(12, 8), "Sample12");
    EXPECT_EQ(model.gridText(13, 1), "");
    EXPECT_EQ(model.gridText(1, 9), "");
    EXPECT_EQ(model.gridText(20, 14), "");
    EXPECT_EQ(graph().SelectSample().count(), 12);
}

// The desktop refuses what movra-batch refuses, with the same messages,
// and leaves the grid and the chooser as they were.
TEST_F(PlateLayoutWiringTest, LayoutWithABadLabelOrNoAssignedWellIsRefusedAndChangesNothing)
{
    ImportDemoPlate();
    Label({1, 1, 1, 1}, QStringLiteral("Sample1"));
    const auto file = Scratch("bad.PLO");
    for (const auto& [text, message] : std::vector<std::pair<std::string, std::string>>{
             {"Sample2\tSampleX\t\r\n", "Line 1, cell 2: 'SampleX' is not a sample label Sample1 to Sample384!"},
             {"hello\r\n", "The layout assigns no well of this 96-well plate!"},
         }) {
        std::ofstream(file, std::ios::binary) << text;
        dialogs.files.push_back(file);
        dialogs.errors.clear();
        form().menu().OpenPlateLayout1->trigger();
        ASSERT_EQ(dialogs.errors.size(), 1u);
        EXPECT_EQ(dialogs.errors[0], message);
        EXPECT_EQ(layoutPage().layoutModel().gridText(1, 1), "Sample1");
        EXPECT_EQ(ChooserEntries(), QStringList{"Sample1"});
    }
}

} // namespace
} // namespace movra::test
