// The graph page's behaviour through the real widgets: the sample chooser
// and the wavelength controls rebuild the curves, the redraw paints the
// curves in their colours, and the residual panel follows View > Residuals.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QSplitter>

#include "app/fitting_panel.h"
#include "app/plot/graph_paint_box.h"
#include "reduction/sample_wells.h"
#include "wiring_fixture.h"

namespace movra::test {
namespace {

using GraphWiringTest = WiringTest;

std::int32_t Shown(AppState& state, int slot)
{
    return state.plate.ShownWells[static_cast<std::size_t>(slot)];
}

TEST_F(GraphWiringTest, NineWellsOfOneSampleShowTheMessageOnceAndTheFirstEight)
{
    ImportDemoPlate();
    Label({1, 1, 1, 8}, QStringLiteral("Sample1"));
    Label({2, 1, 2, 1}, QStringLiteral("Sample1"));
    ChooseSample(QStringLiteral("Sample1"));
    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_EQ(dialogs.errors[0], kTooManyCurvesMessage);
    for (int curve = 1; curve <= 8; ++curve) EXPECT_EQ(Shown(state(), curve), (curve - 1) * 12);
    EXPECT_EQ(Shown(state(), 9), -1);
}

TEST_F(GraphWiringTest, RejectedCombinationShowsItsMessageWithTheWellsAlreadyTaken)
{
    ImportDemoPlate();
    Label({3, 2, 3, 3}, QStringLiteral("Sample1"));
    graph().WaveLengthCombination().setEditText(QStringLiteral("(b-a"));
    ChooseSample(QStringLiteral("Sample1"));
    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_EQ(dialogs.errors[0], "Missing brackets in expression");
    EXPECT_EQ(Shown(state(), 1), 14);  // C2
    EXPECT_EQ(Shown(state(), 2), 26);  // C3
    EXPECT_EQ(Shown(state(), 3), -1);
}

TEST_F(GraphWiringTest, SampleChangeCombinesTheWavelengthsOfTheShownWells)
{
    ImportDemoPlate();
    Label({1, 1, 1, 1}, QStringLiteral("Sample1"));
    ChooseSample(QStringLiteral("Sample1"));
    ASSERT_TRUE(dialogs.errors.empty()) << dialogs.errors.front();
    const PlateMeasurements& plate = state().plate.plate;
    EXPECT_DOUBLE_EQ(plate.ReducedData[1][5], plate.Reading(0, 2, 4) - plate.Reading(0, 1, 4));
}

TEST_F(GraphWiringTest, TrackBarSetsFactorsLabelsAndCurvesWithTheLastCombination)
{
    ImportDemoPlate();
    Label({1, 1, 1, 1}, QStringLiteral("Sample1"));
    ChooseSample(QStringLiteral("Sample1"));
    graph().WaveLengthCombination().setEditText(QStringLiteral("a"));  // typed, not yet left

    graph().TrackBar1().setValue(0);
    EXPECT_EQ(graph().Label4().text().toStdString(), "0");
    EXPECT_EQ(graph().Label5().text().toStdString(), "100");
    const PlateMeasurements& plate = state().plate.plate;
    // "b-a" with a weighted by 0 is b.
    EXPECT_DOUBLE_EQ(plate.ReducedData[1][3], plate.Reading(0, 2, 2));

    graph().TrackBar1().setValue(150);
    EXPECT_EQ(graph().Label4().text().toStdString(), "100");
    EXPECT_EQ(graph().Label5().text().toStdString(), "50");
    EXPECT_DOUBLE_EQ(state().plate.WaveFactorB, 0.5);
    EXPECT_DOUBLE_EQ(plate.ReducedData[1][3], 0.5 * plate.Reading(0, 2, 2) - plate.Reading(0, 1, 2));
    EXPECT_TRUE(dialogs.errors.empty());
}

TEST_F(GraphWiringTest, AverageDataPutsTheMeanIntoCurveOne)
{
    ImportDemoPlate();
    Label({1, 1, 1, 3}, QStringLiteral("Sample1"));
    ChooseSample(QStringLiteral("Sample1"));
    const PlateMeasurements& plate = state().plate.plate;
    const double mean = (plate.ReducedData[1][2] + plate.ReducedData[2][2] + plate.ReducedData[3][2]) / 3;
    graph().fitting().CheckBox4().click();
    EXPECT_NEAR(plate.ReducedData[1][2], mean, 1e-12);
}

TEST_F(GraphWiringTest, ImportRebuildsTheCurvesOfTheChosenSample)
{
    Label({1, 1, 1, 2}, QStringLiteral("Sample1"));
    graph().SelectSample().setCurrentIndex(0);
    ImportDemoPlate();
    EXPECT_EQ(Shown(state(), 1), 0);
    EXPECT_EQ(Shown(state(), 2), 12);
    EXPECT_NE(state().plate.plate.ReducedData[2][1], 0.0);
}

TEST_F(GraphWiringTest, ResidualsItemAndSplitterAtItsMinimum)
{
    form().show();
    form().PageControl1().setCurrentIndex(MainWindow::GraphViewIndex);
    QApplication::processEvents();
    form().menu().Residuals1->setChecked(true);
    QApplication::processEvents();
    EXPECT_TRUE(graph().PaintBox2().isVisible());

    // Dragged down to the residual panel's minimum height: residuals off.
    QSplitter& splitter = graph().SplitterResiduals();
    const int total = splitter.sizes().at(0) + splitter.sizes().at(1);
    splitter.setSizes({40, total - 40});
    emit splitter.splitterMoved(40, 1);
    EXPECT_FALSE(form().menu().Residuals1->isChecked());
    EXPECT_FALSE(graph().PaintBox2().isVisible());
}

TEST_F(GraphWiringTest, LeavingTheFormulaBoxCompilesItIntoTheFitParser)
{
    form().show();
    form().PageControl1().setCurrentIndex(MainWindow::GraphViewIndex);
    QApplication::setActiveWindow(&form());
    QApplication::processEvents();
    QComboBox& formula = graph().fitting().FitFormulaCB();
    formula.setFocus(Qt::MouseFocusReason);
    formula.setEditText(QStringLiteral("m1*x"));
    graph().fitting().FitM(1).setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    EXPECT_EQ(state().Parser2.Expression(), "m1*x");

    // Leaving the combination box rebuilds the curves with its text.
    ImportDemoPlate();
    Label({1, 1, 1, 1}, QStringLiteral("Sample1"));
    ChooseSample(QStringLiteral("Sample1"));
    QApplication::setActiveWindow(&form());  // the import's progress window took it
    QApplication::processEvents();
    graph().WaveLengthCombination().setFocus(Qt::MouseFocusReason);
    graph().WaveLengthCombination().setEditText(QStringLiteral("a"));
    graph().fitting().FitM(2).setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    EXPECT_EQ(state().Parser1.Expression(), "a");
    EXPECT_DOUBLE_EQ(state().plate.plate.ReducedData[1][1], state().plate.plate.Reading(0, 1, 0));
}

} // namespace
} // namespace movra::test
