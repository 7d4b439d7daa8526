// The PlateLayout page's commands through the real widgets: the popup
// menu's sample items and Clear, the sample chooser with its buttons, typed
// sample numbers, the colours and legend, the graph's chooser that follows
// them, and saving and loading layout files (a failed save never loses the
// old file).

#include <QListWidget>
#include <QPushButton>
#include <QTextDocument>
#include <QtTest/QTest>

#include <cerrno>
#include <cstring>

#include <gmock/gmock.h>

#include "plate/synthetic_plate.h"
#include "wiring_fixture.h"

namespace movra::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

using PlateLayoutWiringTest = WiringTest;

// The offers themselves are the layout's (see tests/plate): the popup and
// the chooser follow them, the chooser unchosen.
TEST_F(PlateLayoutWiringTest, SampleItemsOfferTheNextSampleAndTheChooserFollows)
{
    EXPECT_TRUE(layoutPage().PlateLayoutGrid().editTriggers() == QAbstractItemView::NoEditTriggers);
    Label({1, 1, 2, 2}, "Sample1");
    Label({3, 1, 3, 1}, "Sample2");
    // A lower item adds nothing, and the chooser is not rebuilt though no
    // well is Sample2 any more.
    Label({1, 1, 3, 1}, "Sample1");
    EXPECT_EQ(std::tuple(PopupCaptions(), ChooserEntries(), graph().SelectSample().currentIndex(), LayoutCell(2, 2)),
              std::tuple(QStringList{"Sample3", "Sample2", "Sample1", "Clear"}, QStringList{"Sample1", "Sample2"}, -1,
                         "Sample1"));
    Label({3, 1, 3, 1}, "Clear");
    EXPECT_EQ(std::tuple(ChooserEntries(), LayoutCell(3, 1)), std::tuple(QStringList{"Sample1"}, ""));
}

// Save writes the layout shown in Memo1; a save that cannot be written
// shows an error and keeps what was there.
TEST_F(PlateLayoutWiringTest, SaveWritesTheLayoutShownInMemo1OrSaysWhyNotAndKeepsTheOldFile)
{
    ImportDemoPlate();
    Label({2, 1, 2, 1}, "Sample1");
    form().menu().SavePlateLayout1->trigger();  // no file chosen: the text is shown all the same
    EXPECT_TRUE(layoutPage().Memo1().toPlainText().startsWith("\tSample1\t\t"));
    Label({2, 1, 2, 1}, "Clear");
    dialogs.files.push_back(Scratch("empty.PLO"));
    form().menu().SavePlateLayout1->trigger();
    const FileDialogRequest& save = dialogs.saveRequests.at(1);
    EXPECT_EQ(std::tuple(save.title, save.filter, save.selectedFilter, save.defaultExt),
              std::tuple("Save plate layout", "Layouts|*.PLO|All files|*", 1, "*.PLO"));
    std::string expected;
    for (int row = 0; row < 8; ++row) expected += std::string(12, '\t') + "\r\n";
    EXPECT_EQ(FileText(Scratch("empty.PLO")), expected);
    EXPECT_EQ(layoutPage().Memo1().document()->blockCount(), 8);

    std::filesystem::create_directory(Scratch("folder"));
    const auto file = WriteFile(Scratch("old.PLO"), "old layout\r\n");
    dialogs.files = {Scratch("no-such-folder") / "layout.PLO", Scratch("folder"), "/dev/full", file};
    for (int k = 0; k < 3; ++k) form().menu().SavePlateLayout1->trigger();
    // A write that fails half-way leaves the old file as it was and no other
    // behind, and says the system's reason, not "Unknown error".
    WithFileSizeLimit([this] { form().menu().SavePlateLayout1->trigger(); });
    EXPECT_THAT(TakeErrors(), ElementsAre(HasSubstr("Cannot create file"), HasSubstr("It is a folder."),
                                          "Cannot create file \"/dev/full\". No space left on device",
                                          "Cannot create file \"" + file.string() + "\". " + std::strerror(EFBIG)));
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/full") && std::filesystem::is_directory(Scratch("folder")));
    EXPECT_EQ(FileText(file), "old layout\r\n");
    const auto old = [](const auto& entry) { return entry.path().filename().string().starts_with("old.PLO"); };
    EXPECT_EQ(std::ranges::count_if(std::filesystem::directory_iterator(file.parent_path()), old), 1);
}

// After the 12-sample demo layout the menu offers all twelve and Sample13
// on top; the top item then offers Sample14 instead of merging into Sample1.
// A layout with a bad label is refused with movra-batch's message and
// changes nothing.
TEST_F(PlateLayoutWiringTest, OpenLoadsTheDemoLayoutOffersTheNextFreeNumberAndRefusesABadLabel)
{
    ImportDemoPlate();
    OpenLayout(kDemoData / "demo-layout.PLO");
    const FileDialogRequest& open = dialogs.openRequests.at(1);  // after the import's
    EXPECT_EQ(std::tuple(open.title, open.filter, open.selectedFilter, open.defaultExt),
              std::tuple("Load Plate Layout", "Layouts|*.PLO|All files|*", 1, "*.PLO"));
    // Sample10 tenth: numeric order.
    EXPECT_EQ(std::tuple(ChooserEntries().size(), ChooserEntries()[9], graph().SelectSample().currentText()),
              std::tuple(12, "Sample10", "Sample1"));
    EXPECT_EQ(layoutPage().Memo1().document()->blockCount(), 8);

    QStringList expected = {"Sample13"};
    for (int n = 12; n >= 1; --n) expected.append(QStringLiteral("Sample%1").arg(n));
    EXPECT_EQ(Captions(layoutPage().SampleChooser()), expected);
    Label({1, 1, 1, 1}, "Sample13");
    std::ofstream(Scratch("bad.PLO"), std::ios::binary) << "Sample2\tSampleX\t\r\n";
    OpenLayout(Scratch("bad.PLO"));
    EXPECT_EQ(TakeErrors(),
              std::vector<std::string>{"Line 1, cell 2: 'SampleX' is not a sample label Sample1 to Sample384!"});
    EXPECT_EQ(std::tuple(PopupCaptions().mid(0, 2), ChooserEntries().size(), LayoutCell(1, 1)),
              std::tuple(QStringList{"Sample14", "Sample13"}, 13, "Sample13"));
}

TEST_F(PlateLayoutWiringTest, A384WellPlateResizesTheGridAndTakesA96WellLayout)
{
    std::ofstream(Scratch("plate384.txt"), std::ios::binary) << WriteSyntheticPlate({.wellCount = 384, .reads = 3});
    state().layout.SetCell(2, 1, "Sample1");
    Import(Scratch("plate384.txt"));
    const GridModel& model = layoutPage().layoutModel();
    EXPECT_EQ(std::tuple(model.gridColumnCount(), model.gridRowCount()), std::tuple(25, 17));
    EXPECT_EQ(model.headerData(23, Qt::Horizontal).toString() + model.headerData(15, Qt::Vertical).toString(), "24P");
    // Labels stay; the review grid shows every well.
    EXPECT_EQ(std::tuple(model.gridText(2, 1), reviewGrid().gridColumnCount(), reviewGrid().gridText(3 + 383, 0)),
              std::tuple("Sample1", 384 + 3, "405P24"));

    OpenLayout(kDemoData / "demo-layout.PLO");
    EXPECT_EQ(std::tuple(model.gridText(12, 8), ChooserEntries().size()), std::tuple("Sample12", 12));
}

// Each sample on its own colour with a legend, labels cut to fit, and the
// chooser's buttons and typed numbers as ways to assign besides the popup.
TEST_F(PlateLayoutWiringTest, SamplesShowInColoursAndAreAssignedByChooserOrKeyboard)
{
    ImportDemoPlate();
    QTableView& grid = layoutPage().PlateLayoutGrid();
    layoutPage().SampleChooser().setCurrentIndex(0);  // Sample1, the top item
    SelectCells(grid, {1, 1, 2, 1});
    layoutPage().AssignBut().click();
    EXPECT_EQ(layoutPage().SampleChooser().currentText(), "Sample2");  // ready for the next sample
    SelectCells(grid, {1, 2, 1, 2});
    layoutPage().AssignBut().click();
    layoutPage().SampleChooser().setCurrentIndex(2);  // Sample1: not the top item, so it stays chosen
    SelectCells(grid, {3, 3, 4, 3});
    for (int key : {Qt::Key_2, Qt::Key_7, Qt::Key_Return}) QTest::keyClick(&grid, static_cast<Qt::Key>(key));
    EXPECT_EQ(std::tuple(LayoutCell(4, 3), layoutPage().SampleChooser().currentText()),
              std::tuple("Sample27", "Sample1"));
    EXPECT_EQ(PopupCaptions().mid(0, 4), (QStringList{"Sample28", "Sample27", "Sample3", "Sample2"}));
    EXPECT_EQ(ChooserEntries(), (QStringList{"Sample1", "Sample2", "Sample27"}));
    SelectCells(grid, {2, 1, 2, 1});
    QTest::keyClick(&grid, Qt::Key_Delete);
    EXPECT_EQ(LayoutCell(2, 1), "");

    const auto colour = [&grid](int column, int row) {
        return grid.model()->index(row - 1, column - 1).data(Qt::BackgroundRole).value<QColor>();
    };
    EXPECT_EQ(colour(1, 1), PlateLayoutPage::SampleColour(1));
    EXPECT_NE(colour(1, 1), colour(1, 2));
    EXPECT_FALSE(grid.model()->index(0, 1).data(Qt::BackgroundRole).isValid());  // an empty well
    QStringList legend;
    for (int i = 0; i < layoutPage().SampleLegend().count(); ++i) legend.append(layoutPage().SampleLegend().item(i)->text());
    EXPECT_EQ(legend, (QStringList{"Sample1 (1 well)", "Sample2 (1 well)", "Sample27 (2 wells)"}));
    // Samples up to 13 apart differ in hue by 15 degrees or in lightness.
    for (int n = 1; n <= 384; ++n)
        for (int m = n + 1; m <= std::min(n + 13, 384); ++m) {
            const QColor a = PlateLayoutPage::SampleColour(n), b = PlateLayoutPage::SampleColour(m);
            const int hues = std::abs(a.hue() - b.hue());
            ASSERT_TRUE(std::min(hues, 360 - hues) >= 15 || a.value() != b.value()) << n << " " << m;
        }

    const QFontMetrics metrics = grid.fontMetrics();
    const std::tuple<int, const char*> widths[] = {{metrics.horizontalAdvance("Sample27"), "Sample27"},
                                                   {metrics.horizontalAdvance("S27"), "S27"}, {4, "27"}};
    for (const auto& [width, shown] : widths) EXPECT_EQ(PlateLayoutPage::FittingLabel("Sample27", metrics, width), shown);
    // The grid fills the page as the window grows.
    ShowPage(MainWindow::PlateLayoutIndex);
    EXPECT_GE(grid.columnWidth(0) * 12, grid.viewport()->width() - 12);
}

} // namespace
} // namespace movra::test
