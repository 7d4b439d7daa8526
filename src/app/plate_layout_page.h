#pragma once
// The PlateLayout page: the tool strip ControlBar1 with the sample chooser
// SampleChooser and its "Assign" and "Clear" buttons, the plate layout grid
// PlateLayoutGrid showing the shared PlateLayout (each sample on its own
// background colour, the label cut to a short form where the cell is too
// narrow, cells growing with the window; its popup menu PopupMenu1 lists the
// offered sample items, top first, then "Clear"), the legend SampleLegend
// beside it and the layout text box Memo1. A sample number typed on the
// grid and Enter label the selection; Delete clears it.

#include <QColor>
#include <QString>
#include <QWidget>

#include "plate/plate_layout.h"

class QAbstractProxyModel;
class QAction;
class QComboBox;
class QFontMetrics;
class QFrame;
class QLabel;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QPushButton;
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
    QComboBox& SampleChooser() { return *chooser_; }
    QPushButton& AssignBut() { return *assign_; }
    QPushButton& ClearBut() { return *clear_; }
    QListWidget& SampleLegend() { return *legend_; }
    QLabel& TypedSample() { return *typed_; }

    // The background of sample number n's cells (0: a label without a number):
    // neighbouring numbers get clearly different light hues.
    static QColor SampleColour(int number);
    // The label as a cell of `width` pixels shows it: whole when it fits,
    // else "S12", else "12".
    static QString FittingLabel(const QString& label, const QFontMetrics& metrics, int width);

    // The selected grid cells; the current cell alone when nothing is selected.
    GridSelection selection() const;

    // Shows the layout again after it changed (cells or geometry), legend included.
    void refresh();
    // Rebuilds the popup menu and the sample chooser from the layout's sample items.
    void rebuildPopupMenu();

    // The page's part of the New reset: the layout's Reset and an empty Memo1.
    void ResetLayout();

signals:
    // A sample item or "Assign" (tag = its sample number), or "Clear", was chosen.
    void sampleChosen(int tag);
    void clearChosen();
    // A sample number was typed on the grid and confirmed with Enter.
    void sampleTyped(int number);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showTypedNumber();
    void rebuildLegend();

    PlateLayout& layout_;
    QFrame* controlBar_;
    QComboBox* chooser_;
    QPushButton* assign_;
    QPushButton* clear_;
    QLabel* typed_;
    QTableView* grid_;
    GridModel* model_;
    QAbstractProxyModel* colours_;
    QListWidget* legend_;
    QPlainTextEdit* memo1_;
    QMenu* popup_;
    QString typedNumber_;  // digits typed on the grid, not yet confirmed
};

} // namespace movra
