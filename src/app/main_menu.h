#pragma once
// The main window's menu bar: File, Edit, View, Fit and Help with their
// items, separators, start states and shortcuts (the platform's standard
// keys where one exists). The items are QActions named after their menu
// components; the main window connects them to its commands.

#include <QObject>

class QAction;
class QMenu;
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
    QMenu* OpenRecent1;     // File > Open Recent: the files opened last
    QAction* SaveReportAs1; // File > Save Report As...: the report as TSV or CSV
    QAction* ExportGraph1;  // File > Export Graph...: the graph (or the plate map) as PNG, SVG or PDF
    QAction* Exit1;
    QAction* Copy2;
    QAction* SelectAll1;
    QAction* Residuals1;
    QAction* ScaleResiduals1;  // View > Scale Residuals: the residual axis fits the residuals on show
    QAction* Legend1;
    QAction* FitShown1;  // Fit > Fit shown, as the page's "Fit shown" button
    QAction* FitAll1;
    // Fit > Use result as start: the first shown fitted well's parameters as start values
    QAction* UseResultAsStart1;  // Fit > Fit all (Ctrl+Shift+F): every assigned well on worker threads
    QAction* About1;
};

} // namespace movra
