#pragma once
// The PlateLayout page's commands: the popup menu's sample items and "Clear"
// on the grid's selection, and File > Save PlateLayout / Open PlateLayout
// through the layout text box Memo1. The sample chooser of the graph page
// follows every change that can add or remove a label.

#include <filesystem>
#include <optional>

#include "app/user_dialogs.h"

namespace movra {

struct AppState;
class GraphCommands;
class PlateLayoutPage;

class PlateLayoutCommands {
public:
    // Connects the page's popup menu.
    PlateLayoutCommands(AppState& state, PlateLayoutPage& page, GraphCommands& graph, UserDialogs& dialogs);

    // A sample item: labels the selection; using the top item offers the
    // next number on top of the menu and rebuilds the chooser.
    void Sample11Click(int tag);
    // "Clear": empties the selection and rebuilds the chooser.
    void Clear1Click();
    // A sample number typed on the grid: labels the selection, the number
    // gets its menu item if it had none, and the chooser is rebuilt.
    // Numbers outside 1..384 are refused with a message.
    void SampleTyped(int number);

    // The layout's lines into Memo1, then, when a name is confirmed, the file
    // (written whole or not at all; the old file survives a failed write).
    void SavePlateLayout1Click();
    // A layout file into Memo1 and the grid, the menu offering its samples
    // and the next free number, the chooser rebuilt with its first entry
    // chosen, and the shown curves rebuilt. Returns the file opened.
    std::optional<std::filesystem::path> OpenPlateLayout1Click();
    void OpenPlateLayoutFile(const std::filesystem::path& file);

    static FileDialogRequest SaveDialog();
    static FileDialogRequest OpenDialog();

private:
    AppState& state_;
    PlateLayoutPage& page_;
    GraphCommands& graph_;
    UserDialogs& dialogs_;
};

} // namespace movra
