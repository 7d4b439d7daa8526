#pragma once
// The PlateMap page: the plate map of the fit results (PlateMapView) under a
// bar with the quantity the wells are coloured by, the scale's range (found
// from the values, or typed), what the marks mean, and "Fit all". A click on
// a well is passed on (the main window shows the well on the graph page).

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace movra {

struct FitResults;
class PlateLayout;
class PlateMapView;

class PlateMapPage final : public QWidget {
    Q_OBJECT
public:
    PlateMapPage(const PlateLayout& layout, const FitResults& fits, QWidget* parent = nullptr);

    PlateMapView& MapView() { return *view_; }
    QComboBox& MapQuantity() { return *quantity_; }
    QLineEdit& MapRangeMin() { return *rangeMin_; }
    QLineEdit& MapRangeMax() { return *rangeMax_; }
    QCheckBox& MapAutoRange() { return *autoRange_; }
    QPushButton& FitAllBut() { return *fitAll_; }

    // Repaints the map from the results of the moment.
    void Refresh();

private:
    void applyOptions();
    void showRange();

    PlateMapView* view_;
    QComboBox* quantity_;
    QLineEdit* rangeMin_;
    QLineEdit* rangeMax_;
    QCheckBox* autoRange_;
    QLabel* flagHelp_;
    QPushButton* fitAll_;
};

} // namespace movra
