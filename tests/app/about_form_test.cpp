// The About window: its text's blocks, and the animation timer that runs only
// while the window is shown and continues where it stopped.

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "app/about_form.h"

namespace movra {
namespace {

TEST(AboutFormTest, TextHasTitleDescriptionCreditsAndContactBlocks)
{
    AboutForm about;
    const QStringList lines = about.RichEdit1().toPlainText().split(QLatin1Char('\n'));
    ASSERT_GE(lines.size(), 13);
    EXPECT_EQ(lines[0], "MOVRA version 0.92");
    for (int line = 1; line <= 12; ++line)
        EXPECT_EQ(lines[line].isEmpty(), line == 1 || line == 5 || line == 10) << line;
    EXPECT_TRUE(lines[12].contains(QLatin1Char('@')));
    EXPECT_TRUE(AboutForm::WebPage().isValid());
    EXPECT_EQ(about.frame().format(), QImage::Format_Indexed8);
    EXPECT_EQ(about.frame().size(), QSize(185, 193));
}

TEST(AboutFormTest, AnimationRunsOnlyWhileShownAndContinuesWhereItStopped)
{
    AboutForm about;
    EXPECT_FALSE(about.Timer1().isActive());
    about.show();
    EXPECT_TRUE(about.Timer1().isActive());
    EXPECT_EQ(about.Timer1().interval(), 10);
    EXPECT_TRUE(QTest::qWaitFor([&about] { return about.animation().a1() > 0.03; }, 5000));  // two ticks
    QTest::keyClick(&about, Qt::Key_Escape);  // closes like "Det fed'"
    EXPECT_FALSE(about.isVisible());
    EXPECT_FALSE(about.Timer1().isActive());
    const double stoppedAt = about.animation().a1();
    QTest::qWait(30);
    EXPECT_EQ(about.animation().a1(), stoppedAt);  // nothing moves while closed
    about.show();
    about.RotatePic();
    EXPECT_NEAR(about.animation().a1(), stoppedAt + 0.02, 1e-9);
    about.CloseBut().click();
    EXPECT_FALSE(about.isVisible() || about.Timer1().isActive());
}

} // namespace
} // namespace movra
