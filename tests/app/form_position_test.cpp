// The saved main window position: key MOVRA, section Form, values Top and
// Left as decimal text; missing or non-integer values give 0.

#include <QSettings>

#include <gtest/gtest.h>

#include "app/form_position.h"
#include "app/main_window.h"
#include "app_test_environment.h"
#include "scripted_dialogs.h"

namespace movra {
namespace {

QSettings MovraKey()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("MOVRA"));
}

class FormPositionTest : public ::testing::Test {
protected:
    FormPositionTest() { test::ClearSettings(); }
    test::ScriptedDialogs dialogs;
};

TEST_F(FormPositionTest, FirstStartOpensAtTopLeftCorner)
{
    EXPECT_EQ(LoadFormPosition(), QPoint(0, 0));
    MainWindow form(dialogs);
    EXPECT_EQ(form.pos(), QPoint(0, 0));
}

TEST_F(FormPositionTest, ClosingSavesPositionAsDecimalTextAndNextStartRestoresIt)
{
    {
        MainWindow form(dialogs);
        form.move(123, 45);
    }
    QSettings settings = MovraKey();
    EXPECT_EQ(settings.value(QStringLiteral("Form/Left")).toString().toStdString(), "123");
    EXPECT_EQ(settings.value(QStringLiteral("Form/Top")).toString().toStdString(), "45");
    MainWindow next(dialogs);
    EXPECT_EQ(next.pos(), QPoint(123, 45));
}

TEST_F(FormPositionTest, NonIntegerOrMissingValueReadsAsZero)
{
    {
        QSettings settings = MovraKey();
        settings.setValue(QStringLiteral("Form/Top"), QStringLiteral("12.5"));
        settings.setValue(QStringLiteral("Form/Left"), QStringLiteral("77"));
    }
    EXPECT_EQ(LoadFormPosition(), QPoint(77, 0));
    {
        QSettings settings = MovraKey();
        settings.remove(QStringLiteral("Form/Left"));
        settings.setValue(QStringLiteral("Form/Top"), QStringLiteral(" 30"));
    }
    EXPECT_EQ(LoadFormPosition(), QPoint(0, 30));
}

TEST_F(FormPositionTest, NegativePositionsRoundTrip)
{
    SaveFormPosition({-8, -20});
    EXPECT_EQ(LoadFormPosition(), QPoint(-8, -20));
}

} // namespace
} // namespace movra
