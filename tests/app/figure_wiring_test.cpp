// The picture leaving the program: File > Export Graph... writes the graph
// page (or the plate map when its page is current) in the format of the
// file's extension, a PNG at the resolution asked for; a save that fails
// keeps the old file; Edit > Copy puts the picture on the clipboard; View >
// Scale Residuals redraws the residual panel.

#include <QClipboard>
#include <QImage>
#include <QMimeData>

#include <cstring>

#include "app/figure_commands.h"
#include "app/graph_commands.h"
#include "app/plot/graph_paint_box.h"
#include "app/plot/plate_map_view.h"
#include "app/plate_map_page.h"
#include "wiring_fixture.h"

namespace movra::test {
namespace {

class FigureWiringTest : public WiringTest {
protected:
    // Sample1 of the demo plate fitted, residuals on, the graph page shown.
    void FitSample1()
    {
        PrepareDemoFit();
        form().menu().Residuals1->trigger();
        form().menu().FitShown1->trigger();
        ShowPage(MainWindow::GraphViewIndex);
        ASSERT_TRUE(dialogs.errors.empty()) << dialogs.errors.front();
    }
    // File > Export Graph... answered with file and, for a PNG, resolution.
    void Export(const std::filesystem::path& file, std::optional<std::string> resolution = std::nullopt)
    {
        dialogs.files.push_back(file);
        if (resolution) dialogs.inputs.push_back(resolution);
        form().menu().ExportGraph1->trigger();
    }
};

TEST_F(FigureWiringTest, ExportWritesTheGraphOrThePlateMapInTheFormatOfTheExtension)
{
    FitSample1();
    const GraphFigureLayout layout = form().graphCommands().FigureLayout();
    EXPECT_EQ(layout.Data, graph().PaintBox1().size());
    EXPECT_EQ(layout.ResidualHeight, graph().PaintBox2().height());

    Export(Scratch("graph.png"), "192");
    QImage png(QString::fromStdString(Scratch("graph.png").string()));
    EXPECT_EQ(png.size(), layout.Size() * 2);
    const FileDialogRequest& request = dialogs.saveRequests.back();
    EXPECT_EQ(std::tuple(request.title, request.filter, request.defaultExt),
              std::tuple("Export Graph", "PNG picture|*.png|SVG drawing|*.svg|PDF document|*.pdf", "*.png"));
    EXPECT_EQ(dialogs.inputRequests.back().defaultText, "300");

    Export(Scratch("graph.svg"));
    const std::string svg = FileBytes(Scratch("graph.svg"));
    for (const char* text : {">OD</text>", ">Time (h)</text>", ">Residuals</text>", ">H1</text>", "<polyline"})
        EXPECT_NE(svg.find(text), std::string::npos) << text;
    EXPECT_EQ(svg.find("<image"), std::string::npos);
    Export(Scratch("graph.pdf"));
    EXPECT_EQ(FileBytes(Scratch("graph.pdf")).substr(0, 5), "%PDF-");

    form().PageControl1().setCurrentIndex(MainWindow::PlateMapIndex);
    QApplication::processEvents();
    Export(Scratch("map.svg"));
    const std::string map = FileBytes(Scratch("map.svg"));
    EXPECT_NE(map.find(">H</text>"), std::string::npos);
    EXPECT_EQ(map.find(">Residuals</text>"), std::string::npos);
    EXPECT_TRUE(dialogs.errors.empty()) << dialogs.errors.front();
}

TEST_F(FigureWiringTest, RefusedNamesAndResolutionsAndFailedWritesKeepTheOldFile)
{
    form().menu().ExportGraph1->trigger();  // nothing imported: no dialog
    ASSERT_EQ(dialogs.errors, std::vector<std::string>{FigureCommands::kNoGraphMessage});
    EXPECT_TRUE(dialogs.saveRequests.empty());
    dialogs.errors.clear();
    FitSample1();
    const auto file = Scratch("old.png");
    std::ofstream(file, std::ios::binary) << "old picture";
    Export(Scratch("graph.bmp"));
    Export(file, "5000");
    Export(file, "abc");
    WithFileSizeLimit([&] { Export(file, "300"); });
    ASSERT_EQ(dialogs.errors.size(), 4u);
    EXPECT_EQ(dialogs.errors[0], "Cannot export to \"graph.bmp\": the name must end in .png, .svg or .pdf.");
    EXPECT_EQ(dialogs.errors[1], "The resolution must be from 24 to 1200 dots per inch.");
    EXPECT_NE(dialogs.errors[2].find("abc"), std::string::npos) << dialogs.errors[2];
    EXPECT_EQ(dialogs.errors[3], "Cannot create file \"" + file.string() + "\". " + std::strerror(EFBIG));
    EXPECT_EQ(FileBytes(file), "old picture");
    EXPECT_FALSE(std::filesystem::exists(Scratch("graph.bmp")));
}

// Edit > Copy on the graph page and the plate map: an image of twice the
// picture's on-screen pixels (other pages copy text, see the main window's
// tests).
TEST_F(FigureWiringTest, CopyPutsThePictureOnTheClipboard)
{
    FitSample1();
    for (const int page : {MainWindow::GraphViewIndex, MainWindow::PlateMapIndex}) {
        SetClipboardText("unchanged");
        form().PageControl1().setCurrentIndex(page);
        QApplication::processEvents();
        form().menu().Copy2->trigger();
        const QSize size = page == MainWindow::PlateMapIndex ? form().plateMapPage().MapView().size()
                                                             : form().graphCommands().FigureLayout().Size();
        const QMimeData* copied = QGuiApplication::clipboard()->mimeData();
        ASSERT_TRUE(copied->hasImage()) << page;
        EXPECT_EQ(qvariant_cast<QImage>(copied->imageData()).size(), size * 2) << page;
    }
}

TEST_F(FigureWiringTest, ScaleResidualsRedrawsTheResidualPanel)
{
    FitSample1();
    const QImage usual = graph().PaintBox2().Image();
    ASSERT_FALSE(usual.isNull());
    form().menu().ScaleResiduals1->trigger();
    QApplication::processEvents();
    EXPECT_NE(graph().PaintBox2().Image(), usual);
}

} // namespace
} // namespace movra::test
