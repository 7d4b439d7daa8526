#pragma once
// The GraphView page: the white drawing panel PanelGraphix (residuals box
// PaintBox2, hidden at start, splitter SplitterResiduals, graph box PaintBox1,
// zoom bar Zoomler1), the side panel PageControl2 with the fitting tab, and
// the bottom bar PanelWavelengthCombination ("Fit shown", "Fit all", sample
// chooser, wavelength combination, summary Memo3, wavelength weighting).

#include <QWidget>

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QSlider;
class QSplitter;
class QTabWidget;

namespace movra {

class FittingPanel;
class GraphPaintBox;
class TZoomler;

class GraphPage final : public QWidget {
    Q_OBJECT
public:
    explicit GraphPage(QWidget* parent = nullptr);

    GraphPaintBox& PaintBox1() { return *paintBox1_; }
    GraphPaintBox& PaintBox2() { return *paintBox2_; }
    QSplitter& SplitterResiduals() { return *splitterResiduals_; }
    TZoomler& Zoomler1() { return *zoomler_; }
    QTabWidget& PageControl2() { return *pageControl2_; }
    FittingPanel& fitting() { return *fitting_; }

    QPushButton& FitShownBut() { return *fitShownBut_; }
    QPushButton& FitAllBut() { return *fitAllBut_; }  // "Fit all": the whole plate
    QComboBox& SelectSample() { return *selectSample_; }
    QComboBox& WaveLengthCombination() { return *waveLengthCombination_; }
    QPlainTextEdit& Memo3() { return *memo3_; }
    QComboBox& ComboBox1() { return *comboBox1_; }
    QComboBox& ComboBox2() { return *comboBox2_; }
    QSlider& TrackBar1() { return *trackBar1_; }
    QLabel& Label4() { return *label4_; }
    QLabel& Label5() { return *label5_; }

    // Residuals1Click: the residuals box is shown exactly when checked.
    void Residuals1Click(bool checked);

private:
    QWidget* buildDrawingPanel();
    QWidget* buildWavelengthBar();

    GraphPaintBox* paintBox1_;
    GraphPaintBox* paintBox2_;
    QSplitter* splitterResiduals_;
    TZoomler* zoomler_;
    QTabWidget* pageControl2_;
    FittingPanel* fitting_;
    QPushButton* fitShownBut_;
    QPushButton* fitAllBut_;
    QComboBox* selectSample_;
    QComboBox* waveLengthCombination_;
    QPlainTextEdit* memo3_;
    QComboBox* comboBox1_;
    QComboBox* comboBox2_;
    QSlider* trackBar1_;
    QLabel* label4_;
    QLabel* label5_;
};

} // namespace movra
