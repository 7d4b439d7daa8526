// The graph page's behaviour through the real widgets: the sample chooser
// and the wavelength controls rebuild the curves, leaving the formula boxes
// compiles them, and the residual panel follows View > Residuals. The
// picture leaving the program: File > Export Graph... writes the graph page
// (or the plate map when its page is current) in the format of the file's
// extension, a PNG at the resolution asked for; a save that fails keeps the
// old file; Edit > Copy puts the picture on the clipboard; View > Scale
// Residuals redraws the residual panel.

#include <QAbstractItemView>
#include <QCheckBox>
#include <QClipboard>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QImage>
#include <QMimeData>
#include <QMenuBar>
#include <QLabel>
#include <QSlider>
#include <QSplitter>

#include <gmock/gmock.h>

#include <cstring>

#include "app/figure_commands.h"
#include "app/graph_commands.h"
#include "app/main_menu.h"
#include "app/plate_map_page.h"
#include "app/plot/graph_paint_box.h"
#include "app/plot/plate_map_view.h"
#include "reduction/sample_wells.h"
#include "wiring_fixture.h"

namespace movra::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using GraphWiringTest = WiringTest;

// A sample chosen before the import is shown once the plate is in.
TEST_F(GraphWiringTest, ChosenSampleShowsAtMostEightWellsAndCombinesTheirWavelengthsOrSaysWhy)
{
    Label({1, 1, 1, 8}, "Sample1");
    Label({2, 1, 2, 1}, "Sample1");
    graph().SelectSample().setCurrentIndex(0);
    Import(kDemoData / "demo-kinetic-96.txt");
    EXPECT_EQ(TakeErrors(), std::vector<std::string>{kTooManyCurvesMessage});  // once, for the ninth well
    EXPECT_EQ(ShownWells(9), (std::vector<int>{0, 12, 24, 36, 48, 60, 72, 84, -1}));

    // "Average Data" puts the mean into curve 1.
    Label({5, 1, 5, 3}, "Sample2");
    ChooseSample("Sample2");
    const double mean = (reduced()[1][2] + reduced()[2][2] + reduced()[3][2]) / 3;
    graph().fitting().CheckBox4().click();
    EXPECT_NEAR(reduced()[1][2], mean, 1e-12);

    // A rejected combination shows its message; the wells are taken all the same.
    graph().WaveLengthCombination().setEditText("(b-a");
    ChooseSample("Sample1");
    EXPECT_EQ(TakeErrors(), (std::vector<std::string>{kTooManyCurvesMessage, "Missing brackets in expression"}));
    EXPECT_EQ(ShownWells(9), (std::vector<int>{0, 12, 24, 36, 48, 60, 72, 84, -1}));
}

TEST_F(GraphWiringTest, TrackBarSetsFactorsLabelsAndCurvesWithTheLastCombination)
{
    ImportDemoPlate();
    Label({1, 1, 1, 1}, "Sample1");
    ChooseSample("Sample1");
    graph().WaveLengthCombination().setEditText("a");  // typed, not yet left
    graph().TrackBar1().setValue(0);
    EXPECT_EQ(graph().Label4().text() + "/" + graph().Label5().text(), "A 0 %/B 100 %");
    EXPECT_DOUBLE_EQ(reduced()[1][3], plate().Reading(0, 2, 2));  // "b-a" with a weighted by 0
    graph().TrackBar1().setValue(150);
    EXPECT_EQ(std::tuple(graph().TrackBar1().toolTip(), state().WaveFactorB), std::tuple("A 100 % / B 50 %", 0.5));
    EXPECT_DOUBLE_EQ(reduced()[1][3], 0.5 * plate().Reading(0, 2, 2) - plate().Reading(0, 1, 2));
    graph().ComboBox1().setCurrentIndex(1);  // the labels name the wavelengths chosen
    EXPECT_EQ(graph().Label4().text(), "B 100 %");
}

TEST_F(GraphWiringTest, LeavingTheFormulaBoxesCompilesThem)
{
    ShowPage(MainWindow::GraphViewIndex);
    const auto typeAndLeave = [this](QComboBox& box, const QString& text) {
        QApplication::setActiveWindow(&form());
        QApplication::processEvents();
        box.setFocus(Qt::MouseFocusReason);
        box.setEditText(text);
        graph().fitting().FitM(1).setFocus(Qt::TabFocusReason);
        QApplication::processEvents();
    };
    typeAndLeave(graph().fitting().FitFormulaCB(), "m1*x");
    EXPECT_EQ(state().Parser2.Expression(), "m1*x");

    ImportDemoPlate();
    Label({1, 1, 1, 1}, "Sample1");
    ChooseSample("Sample1");
    typeAndLeave(graph().WaveLengthCombination(), "a");  // rebuilds the curves with it
    EXPECT_DOUBLE_EQ(reduced()[1][1], plate().Reading(0, 1, 0));
}

// Whole texts where the side panel is narrow: the status box, the formula
// list and the box's tooltip; and no completion of a typed combination.
// Then the residual panel: shown at its height, turned off when dragged to its minimum.
TEST_F(GraphWiringTest, TextsShowWholeAndTheResidualPanelFollowsItsMenuItemAndSplitter)
{
    ShowPage(MainWindow::GraphViewIndex);
    QLineEdit& status = graph().fitting().MarqStatus();
    status.setText("OPT_NON_CONV");
    EXPECT_GT(status.width(), status.fontMetrics().horizontalAdvance("OPT_NON_CONV") + 8);
    QComboBox& formula = graph().fitting().FitFormulaCB();
    for (int i = 0; i < formula.count(); ++i)
        EXPECT_GT(formula.view()->minimumWidth(), formula.view()->fontMetrics().horizontalAdvance(formula.itemText(i)));
    formula.setCurrentIndex(3);
    EXPECT_EQ(std::tuple(formula.toolTip(), graph().WaveLengthCombination().completer()),
              std::tuple(formula.itemText(3), nullptr));

    for (const bool on : {true, false, true}) {
        form().menu().Residuals1->trigger();
        QApplication::processEvents();
        EXPECT_EQ(graph().PaintBox2().isVisible(), on);
    }
    QSplitter& splitter = graph().SplitterResiduals();
    EXPECT_EQ(splitter.sizes().at(0), 150);
    const int total = splitter.sizes().at(0) + splitter.sizes().at(1);
    splitter.setSizes({40, total - 40});
    emit splitter.splitterMoved(40, 1);
    EXPECT_FALSE(form().menu().Residuals1->isChecked() || graph().PaintBox2().isVisible());
}

// The page outlives its commands while a window is torn down: its last
// focus-out and repaint must reach nothing of them (AddressSanitizer tells).
TEST(GraphCommandsLifetime, ThePageOutlivesItsCommands)
{
    AppState state;
    GraphPage page;
    QMenuBar bar;
    MainMenu menu(bar);
    ScriptedDialogs dialogs;
    auto commands = std::make_unique<GraphCommands>(state, page, menu, dialogs);
    commands.reset();
    int reached = 0;
    for (QWidget* box : std::initializer_list<QWidget*>{&page.fitting().FitFormulaCB(), &page.fitting().FitM(1),
                                                        &page.WaveLengthCombination()}) {
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QCoreApplication::sendEvent(box, &out);
        ++reached;
    }
    page.PaintBox1().resize(50, 50);
    page.PaintBox1().repaint();
    EXPECT_EQ(reached, 3);
}

// View > Scale Residuals redraws the residual panel. Edit > Copy on the
// graph page and the plate map gives an image of twice the picture's
// on-screen pixels (other pages copy text, see the main window's tests).
// Refused names and resolutions and failed writes keep the old file.
TEST_F(GraphWiringTest, CopyAndExportGiveTheGraphOrThePlateMapInTheFormatOfTheExtensionOrKeepTheOldFile)
{
    // File > Export Graph... answered with file and, for a PNG, resolution.
    const auto Export = [this](const std::filesystem::path& file, std::optional<std::string> resolution = {}) {
        dialogs.files.push_back(file);
        if (resolution) dialogs.inputs.push_back(resolution);
        form().menu().ExportGraph1->trigger();
    };
    form().menu().ExportGraph1->trigger();  // nothing imported: no dialog
    ASSERT_EQ(TakeErrors(), std::vector<std::string>{FigureCommands::kNoGraphMessage});
    EXPECT_TRUE(dialogs.saveRequests.empty());
    PrepareDemoFit();  // Sample1 fitted, residuals on
    form().menu().Residuals1->trigger();
    form().menu().FitShown1->trigger();
    ShowPage(MainWindow::GraphViewIndex);
    const QImage usual = graph().PaintBox2().Image();
    ASSERT_FALSE(usual.isNull());
    form().menu().ScaleResiduals1->trigger();
    QApplication::processEvents();
    EXPECT_NE(graph().PaintBox2().Image(), usual);
    for (const int page : {MainWindow::PlateMapIndex, MainWindow::GraphViewIndex}) {
        SetClipboardText("unchanged");
        ShowPage(page);
        form().menu().Copy2->trigger();
        const QSize size = page == MainWindow::PlateMapIndex ? form().plateMapPage().MapView().size()
                                                             : form().graphCommands().FigureLayout().Size();
        const QMimeData* copied = QGuiApplication::clipboard()->mimeData();
        ASSERT_TRUE(copied->hasImage()) << page;
        EXPECT_EQ(qvariant_cast<QImage>(copied->imageData()).size(), size * 2) << page;
    }

    const GraphFigureLayout layout = form().graphCommands().FigureLayout();
    EXPECT_EQ(std::tuple(layout.Data, layout.ResidualHeight),
              std::tuple(graph().PaintBox1().size(), graph().PaintBox2().height()));

    Export(Scratch("graph.png"), "192");
    QImage png(QString::fromStdString(Scratch("graph.png").string()));
    EXPECT_EQ(png.size(), layout.Size() * 2);
    const FileDialogRequest& request = dialogs.saveRequests.back();
    EXPECT_EQ(std::tuple(request.title, request.filter, request.defaultExt, dialogs.inputRequests.back().defaultText),
              std::tuple("Export Graph", "PNG picture|*.png|SVG drawing|*.svg|PDF document|*.pdf", "*.png", "300"));

    Export(Scratch("graph.svg"));
    const std::string svg = FileText(Scratch("graph.svg"));  // the shown sample's graph with residuals
    EXPECT_TRUE(svg.find(">H1</text>") != std::string::npos && svg.find(">Residuals</text>") != std::string::npos);

    ShowPage(MainWindow::PlateMapIndex);
    Export(Scratch("map.svg"));
    const std::string map = FileText(Scratch("map.svg"));
    EXPECT_TRUE(map.find(">H</text>") != std::string::npos && map.find(">Residuals</text>") == std::string::npos);

    const auto file = WriteFile(Scratch("old.png"), "old picture");
    Export(Scratch("graph.bmp"));
    Export(file, "5000");
    Export(file, "abc");
    WithFileSizeLimit([&] { Export(file, "300"); });
    EXPECT_THAT(TakeErrors(), ElementsAre("Cannot export to \"graph.bmp\": the name must end in .png, .svg or .pdf.",
                                          "The resolution must be from 24 to 1200 dots per inch.", HasSubstr("abc"),
                                          "Cannot create file \"" + file.string() + "\". " + std::strerror(EFBIG)));
    EXPECT_EQ(FileText(file), "old picture");
    EXPECT_FALSE(std::filesystem::exists(Scratch("graph.bmp")));
}

} // namespace
} // namespace movra::test
