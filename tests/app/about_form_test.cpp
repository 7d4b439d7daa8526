// The About window: caption, layout, buttons, and the animation timer that
// runs only while the window is shown and continues where it stopped.

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "app/about_form.h"

namespace movra {
namespace {

TEST(AboutFormTest, HasCaptionSizeAndButtons)
{
    AboutForm about;
    EXPECT_EQ(about.windowTitle().toStdString(), "About MOVRA");
    EXPECT_EQ(about.size(), QSize(571, 236));
    EXPECT_EQ(about.OpenWeb().text().toStdString(), "Web-page");
    EXPECT_EQ(about.CloseBut().text().toStdString(), "Det fed'");
    EXPECT_EQ(about.PaintBox1().geometry(), QRect(0, 8, 185, 193));
    EXPECT_EQ(about.RichEdit1().geometry(), QRect(192, 8, 377, 193));
    EXPECT_FALSE(about.RichEdit1().isEnabled());
    EXPECT_TRUE(about.RichEdit1().isReadOnly());
    EXPECT_TRUE(about.RichEdit1().toPlainText().startsWith(QStringLiteral("MOVRA version 0.92\n\n")));
    EXPECT_EQ(about.frame().format(), QImage::Format_Indexed8);
    EXPECT_EQ(about.frame().size(), QSize(185, 193));
}

TEST(AboutFormTest, TextHasTitleDescriptionCreditsAndContactBlocks)
{
    AboutForm about;
    const QStringList lines = about.RichEdit1().toPlainText().split(QLatin1Char('\n'));
    ASSERT_GE(lines.size(), 13);
    EXPECT_TRUE(lines[0].contains(QStringLiteral("MOVRA")));
    for (int empty : {1, 5, 10})
        EXPECT_TRUE(lines[empty].isEmpty()) << empty;
    for (int text : {2, 3, 4, 6, 7, 8, 9, 11, 12})
        EXPECT_FALSE(lines[text].isEmpty()) << text;
    EXPECT_TRUE(lines[12].contains(QLatin1Char('@')));
    EXPECT_TRUE(AboutForm::WebPage().isValid());
}

TEST(AboutFormTest, TimerRunsOnlyWhileShown)
{
    AboutForm about;
    EXPECT_FALSE(about.Timer1().isActive());
    about.show();
    EXPECT_TRUE(about.Timer1().isActive());
    EXPECT_EQ(about.Timer1().interval(), 10);
    about.CloseBut().click();
    EXPECT_FALSE(about.isVisible());
    EXPECT_FALSE(about.Timer1().isActive());
}

TEST(AboutFormTest, EscapeClosesLikeTheCloseButton)
{
    AboutForm about;
    about.show();
    QTest::keyClick(&about, Qt::Key_Escape);
    EXPECT_FALSE(about.isVisible());
    EXPECT_FALSE(about.Timer1().isActive());
}

TEST(AboutFormTest, AnimationContinuesWhereItStoppedWhenShownAgain)
{
    AboutForm about;
    about.show();
    EXPECT_TRUE(QTest::qWaitFor([&about] { return about.animation().a1() > 0.03; }, 5000));  // two ticks
    about.CloseBut().click();
    const double stoppedAt = about.animation().a1();
    QTest::qWait(30);
    EXPECT_EQ(about.animation().a1(), stoppedAt);  // nothing moves while closed
    about.show();
    about.RotatePic();
    EXPECT_NEAR(about.animation().a1(), stoppedAt + 0.02, 1e-9);
    about.CloseBut().click();
}

} // namespace
} // namespace movra
