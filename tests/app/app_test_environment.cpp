// Entry point of the GUI tests: a QApplication on the offscreen platform and
// settings kept in a temporary folder, then every GoogleTest case.

#include "app_test_environment.h"

#include <QApplication>
#include <QClipboard>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace movra::test {

void ClearSettings()
{
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("MOVRA"));
    settings.clear();
    settings.sync();
}

std::string ClipboardText() { return QGuiApplication::clipboard()->text().toStdString(); }
void SetClipboardText(const std::string& text) { QGuiApplication::clipboard()->setText(QString::fromStdString(text)); }

} // namespace movra::test

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    const QTemporaryDir settingsFolder;  // outlives the application, which may still write settings
    QApplication application(argc, argv);
    for (auto format : {QSettings::NativeFormat, QSettings::IniFormat})
        QSettings::setPath(format, QSettings::UserScope, settingsFolder.path());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
