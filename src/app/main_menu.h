#pragma once
// The main window's menu bar: File, Edit, View and Help with their items,
// separators and start states. The items are QActions named after their
// menu components; the main window connects them to its commands.

#include <QObject>

class QAction;
class QMenuBar;

namespace movra {

struct MainMenu {
    // Builds the menus into `bar`; the actions are owned by their menus.
    explicit MainMenu(QMenuBar& bar);

    QAction* New1;
    QAction* Save1;
    QAction* SaveAs1;
    QAction* OpenPlateLayout1;
    QAction* SavePlateLayout1;
    QAction* Import1;
    QAction* ImportTable1;  // File > Import Table...: a plain x/y table
    QAction* Exit1;
    QAction* Copy2;
    QAction* SelectAll1;
    QAction* Residuals1;
    QAction* Legend1;
    QAction* FitAll1;  // Fit > Fit all (Ctrl+Shift+F): every assigned well on worker threads
    QAction* About1;
};

} // namespace movra
