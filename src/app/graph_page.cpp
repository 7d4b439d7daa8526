#include "app/graph_page.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QSplitter>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/fitting_panel.h"
#include "app/plot/graph_paint_box.h"
#include "app/plot/zoomler_widget.h"

namespace movra {

namespace {

constexpr int kResidualsHeight = 150;
constexpr int kResidualsMinimumHeight = 40;
constexpr int kZoomBarHeight = 14;
constexpr int kSidePanelWidth = 215;
constexpr int kBottomBarHeight = 41;
constexpr int kStartGraphWidth = 540;
constexpr int kStartGraphHeight = 470;

template <typename Widget = QWidget>
Widget* WhiteBox(const QString& name)
{
    auto* box = new Widget;
    box->setObjectName(name);
    box->setAutoFillBackground(true);
    QPalette palette = box->palette();
    palette.setColor(QPalette::Window, Qt::white);
    box->setPalette(palette);
    return box;
}

QComboBox* WavelengthChooser(const QString& name, int selected)
{
    auto* chooser = new QComboBox;
    chooser->setObjectName(name);
    chooser->addItems({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("D")});
    chooser->setCurrentIndex(selected);
    return chooser;
}

} // namespace

GraphPage::GraphPage(QWidget* parent)
    : QWidget(parent),
      paintBox1_(WhiteBox<GraphPaintBox>(QStringLiteral("PaintBox1"))),
      paintBox2_(WhiteBox<GraphPaintBox>(QStringLiteral("PaintBox2"))),
      splitterResiduals_(new QSplitter(Qt::Vertical)),
      zoomler_(new TZoomler),
      pageControl2_(new QTabWidget),
      fitting_(new FittingPanel),
      fitShownBut_(new QPushButton(QStringLiteral("Fit shown"))),
      fitAllBut_(new QPushButton(QStringLiteral("Fit all"))),
      selectSample_(new QComboBox),
      waveLengthCombination_(new QComboBox),
      memo3_(new QPlainTextEdit),
      comboBox1_(WavelengthChooser(QStringLiteral("ComboBox1"), 0)),
      comboBox2_(WavelengthChooser(QStringLiteral("ComboBox2"), 1)),
      trackBar1_(new QSlider(Qt::Horizontal)),
      label4_(new QLabel(QStringLiteral("A 100 %"))),
      label5_(new QLabel(QStringLiteral("B 100 %")))
{
    setObjectName(QStringLiteral("GraphView"));

    pageControl2_->setObjectName(QStringLiteral("PageControl2"));
    // The fitting tab scrolls rather than setting the window's minimum
    // height: a 1000-pixel screen at device pixel ratio 2 is 500 high.
    auto* fittingScroll = new QScrollArea;
    fittingScroll->setObjectName(QStringLiteral("FittingScroll"));
    fittingScroll->setFrameShape(QFrame::NoFrame);
    fittingScroll->setWidgetResizable(true);
    fittingScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    fittingScroll->setWidget(fitting_);
    fittingScroll->setMinimumWidth(fitting_->minimumSizeHint().width() +
                                   fittingScroll->verticalScrollBar()->sizeHint().width());
    pageControl2_->addTab(fittingScroll, QStringLiteral("Fitting "));

    auto* upper = new QSplitter(Qt::Horizontal);
    upper->setObjectName(QStringLiteral("SplitterSidePanel"));
    upper->setHandleWidth(1);
    upper->addWidget(buildDrawingPanel());
    upper->addWidget(pageControl2_);
    upper->setStretchFactor(0, 1);
    upper->setStretchFactor(1, 0);
    // Start sizes; a splitter scales them to the space it gets.
    upper->setSizes({kStartGraphWidth, kSidePanelWidth});

    auto* outer = new QSplitter(Qt::Vertical);
    outer->setObjectName(QStringLiteral("SplitterBottomBar"));
    outer->addWidget(upper);
    outer->addWidget(buildWavelengthBar());
    outer->setStretchFactor(0, 1);
    outer->setStretchFactor(1, 0);
    outer->setSizes({kStartGraphHeight, kBottomBarHeight});

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(outer);
}

QWidget* GraphPage::buildDrawingPanel()
{
    QWidget* panel = WhiteBox(QStringLiteral("PanelGraphix"));

    paintBox2_->setMinimumHeight(kResidualsMinimumHeight);
    paintBox2_->resize(paintBox2_->width(), kResidualsHeight);
    paintBox2_->setVisible(false);
    splitterResiduals_->setObjectName(QStringLiteral("SplitterResiduals"));
    splitterResiduals_->setHandleWidth(3);
    splitterResiduals_->setChildrenCollapsible(false);
    splitterResiduals_->addWidget(paintBox2_);
    splitterResiduals_->addWidget(paintBox1_);
    splitterResiduals_->setStretchFactor(0, 0);
    splitterResiduals_->setStretchFactor(1, 1);

    zoomler_->setObjectName(QStringLiteral("Zoomler1"));
    zoomler_->setFixedHeight(kZoomBarHeight);
    zoomler_->SetMin(1);
    zoomler_->SetMax(100);
    zoomler_->SetStart(1);
    zoomler_->SetFinish(100);

    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(splitterResiduals_, 1);
    layout->addWidget(zoomler_);
    return panel;
}

QWidget* GraphPage::buildWavelengthBar()
{
    auto* bar = new QWidget;
    bar->setObjectName(QStringLiteral("PanelWavelengthCombination"));
    bar->setMinimumHeight(kBottomBarHeight);

    fitShownBut_->setObjectName(QStringLiteral("FitShownBut"));
    fitAllBut_->setObjectName(QStringLiteral("FitAllBut"));
    fitAllBut_->setToolTip(QStringLiteral("Fit every assigned well of the plate (Ctrl+Shift+F)"));
    selectSample_->setObjectName(QStringLiteral("SelectSample"));
    selectSample_->setMinimumContentsLength(8);
    waveLengthCombination_->setObjectName(QStringLiteral("WaveLengthCombination"));
    waveLengthCombination_->setEditable(true);
    waveLengthCombination_->setInsertPolicy(QComboBox::NoInsert);
    waveLengthCombination_->addItems(
        {QStringLiteral("b-a"), QStringLiteral("b-0.5*a"), QStringLiteral("c"), QStringLiteral("a/b")});
    waveLengthCombination_->setCurrentIndex(0);
    // A typed "b" stays "b": no completion from the list entries.
    waveLengthCombination_->setCompleter(nullptr);
    memo3_->setObjectName(QStringLiteral("Memo3"));
    memo3_->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo3_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    trackBar1_->setObjectName(QStringLiteral("TrackBar1"));
    trackBar1_->setRange(0, 200);
    trackBar1_->setValue(100);
    trackBar1_->setTickInterval(10);
    trackBar1_->setTickPosition(QSlider::TicksBelow);
    trackBar1_->setToolTip(QStringLiteral("A 100 % / B 100 %"));
    label4_->setObjectName(QStringLiteral("Label4"));
    label5_->setObjectName(QStringLiteral("Label5"));

    auto* layout = new QHBoxLayout(bar);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->addWidget(fitShownBut_);
    layout->addWidget(fitAllBut_);
    layout->addWidget(selectSample_);
    layout->addWidget(waveLengthCombination_);
    layout->addWidget(memo3_, 1);
    layout->addWidget(comboBox1_);
    layout->addWidget(label4_);
    layout->addWidget(trackBar1_);
    layout->addWidget(label5_);
    layout->addWidget(comboBox2_);
    return bar;
}

void GraphPage::Residuals1Click(bool checked)
{
    paintBox2_->setVisible(checked);
}

} // namespace movra
