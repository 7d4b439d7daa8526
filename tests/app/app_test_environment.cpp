// Entry point of the GUI tests: a QApplication on the offscreen platform and
// settings kept in a temporary folder, then every GoogleTest case.

#include "app_test_environment.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace movra::test {

namespace {

QTemporaryDir& Folder()
{
    static QTemporaryDir folder;
    return folder;
}

} // namespace

QString SettingsFolder()
{
    return Folder().path();
}

void ClearSettings()
{
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("MOVRA"));
    settings.clear();
    settings.sync();
}

std::string ClipboardText()
{
    return QGuiApplication::clipboard()->text().toStdString();
}

void SetClipboardText(const std::string& text)
{
    QGuiApplication::clipboard()->setText(QString::fromStdString(text));
}

} // namespace movra::test

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const QString folder = movra::test::SettingsFolder();
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
