#pragma once
// The PlateLayout page: an empty tool strip ControlBar1, the plate layout grid
// PlateLayoutGrid showing the shared PlateLayout (its popup menu PopupMenu1
// lists the offered sample items, top first, then "Clear") and the layout
// text box Memo1.

#include <QWidget>

#include "plate/plate_layout.h"

class QAction;
class QFrame;
class QMenu;
class QPlainTextEdit;
class QTableView;

namespace movra {

class GridModel;

class PlateLayoutPage final : public QWidget {
    Q_OBJECT
public:
    explicit PlateLayoutPage(PlateLayout& layout, QWidget* parent = nullptr);

    QTableView& PlateLayoutGrid() { return *grid_; }
    GridModel& layoutModel() { return *model_; }
    QPlainTextEdit& Memo1() { return *memo1_; }
    QMenu& PopupMenu1() { return *popup_; }

    // The selected grid cells; the current cell alone when nothing is selected.
    GridSelection selection() const;

    // Shows the layout again after it changed (cells or geometry).
    void refresh();
    // Rebuilds the popup menu from the layout's sample items.
    void rebuildPopupMenu();

    // The page's part of the New reset: the layout's Reset and an empty Memo1.
    void ResetLayout();

signals:
    // A sample item (tag = its sample number) or "Clear" was chosen.
    void sampleChosen(int tag);
    void clearChosen();

private:
    PlateLayout& layout_;
    QFrame* controlBar_;
    QTableView* grid_;
    GridModel* model_;
    QPlainTextEdit* memo1_;
    QMenu* popup_;
};

} // namespace movra
