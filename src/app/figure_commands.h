#pragma once
// The picture of the graph page or of the plate map leaving the program:
// File > Export Graph... writes it as PNG (at a resolution the user picks,
// 300 dpi at first), SVG or PDF by the file's extension, atomically; Edit >
// Copy puts it on the clipboard as an image. Both draw the picture afresh
// at its on-screen size through the render library, never from the screen.

#include <QSize>

#include <filesystem>
#include <string>

#include "app/user_dialogs.h"
#include "render/figure_file.h"

namespace movra {

class GraphCommands;
class PlateMapView;

class FigureCommands {
public:
    FigureCommands(GraphCommands& graph, PlateMapView& map, UserDialogs& dialogs);

    // Exports the plate map when `plateMap`, else the graph. Throws
    // FileSaveError, ConversionError (a resolution that is no number) or
    // std::runtime_error (no plate imported for the graph, a name without a
    // picture extension, a resolution out of range) for the error box; the
    // old file then stays as it was.
    void ExportGraph1Click(bool plateMap);
    // The same picture on the clipboard, at twice the on-screen pixels.
    void CopyPicture(bool plateMap);

    static FileDialogRequest ExportDialog();
    static constexpr const char* kResolutionCaption = "Export Graph";
    static constexpr const char* kResolutionPrompt = "Resolution of the PNG picture (dots per inch, 24 to 1200):";
    static constexpr const char* kNoGraphMessage = "There is no graph to export: import a plate first.";

private:
    struct Figure {
        QSize size;
        FigureDrawing draw;
    };
    Figure CurrentFigure(bool plateMap);

    GraphCommands& graph_;
    PlateMapView& map_;
    UserDialogs& dialogs_;
    std::string resolution_ = "300";  // the last resolution asked for
};

} // namespace movra
