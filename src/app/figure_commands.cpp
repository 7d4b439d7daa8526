#include "app/figure_commands.h"

#include <QClipboard>
#include <QGuiApplication>

#include <stdexcept>

#include "app/atomic_file_save.h"
#include "app/graph_commands.h"
#include "app/plot/plate_map_view.h"
#include "app/session_settings.h"
#include "render/graph_figure.h"
#include "shared/conversion.h"
#include "shared/number_format.h"

namespace movra {

FigureCommands::FigureCommands(GraphCommands& graph, PlateMapView& map, UserDialogs& dialogs)
    : graph_(graph), map_(map), dialogs_(dialogs)
{
}

FileDialogRequest FigureCommands::ExportDialog()
{
    return {"Export Graph", "PNG picture|*.png|SVG drawing|*.svg|PDF document|*.pdf", 1, "*.png", {}};
}

FigureCommands::Figure FigureCommands::CurrentFigure(bool plateMap)
{
    if (plateMap) {
        const QSize size = map_.size();
        return {size, [this, size](QPainter& painter) {
                    DrawPlateMapFigure(painter, size, map_.MapData(), map_.Options());
                }};
    }
    const GraphFigureLayout layout = graph_.FigureLayout();
    return {layout.Size(), [this, layout](QPainter& painter) { graph_.DrawFigure(painter, layout); }};
}

void FigureCommands::ExportGraph1Click(bool plateMap)
{
    if (!plateMap && !graph_.HasGraph()) throw std::runtime_error(kNoGraphMessage);
    const auto file = AskSaveFile(dialogs_, ExportDialog());
    if (!file) return;
    const std::optional<FigureFormat> format = FigureFormatOfFile(*file);
    if (!format)
        throw std::runtime_error("Cannot export to \"" + file->filename().string() +
                                 "\": the name must end in .png, .svg or .pdf.");
    double dpi = kDefaultFigureDpi;
    if (*format == FigureFormat::Png) {
        const auto text = dialogs_.InputBox(kResolutionCaption, kResolutionPrompt, resolution_);
        if (!text) return;
        dpi = StrToInt(*text);
        if (dpi < kMinFigureDpi || dpi > kMaxFigureDpi)
            throw std::runtime_error("The resolution must be from " + FormatGeneral(kMinFigureDpi) + " to " +
                                     FormatGeneral(kMaxFigureDpi) + " dots per inch.");
        resolution_ = *text;
    }
    const Figure figure = CurrentFigure(plateMap);
    SaveFileAtomically(*file, FigureBytes(*format, figure.size, dpi, figure.draw));
}

void FigureCommands::CopyPicture(bool plateMap)
{
    const Figure figure = CurrentFigure(plateMap);
    QGuiApplication::clipboard()->setImage(FigureImage(figure.size, 2 * kScreenDpi, figure.draw));
}

} // namespace movra
