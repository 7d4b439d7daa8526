#include "render/painting_application.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QtGlobal>

namespace movra {

namespace {

// Qt's notices about the platform it runs on (no runtime folder, no
// display) say nothing about the figures; only its errors are passed on.
void PassOnErrorsOnly(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg) qt_message_output(type, context, message);
}

} // namespace

void EnsurePaintingApplication()
{
    if (QCoreApplication::instance() != nullptr) return;
    qInstallMessageHandler(PassOnErrorsOnly);
    // The application keeps references to its arguments for its whole life.
    static int argc = 3;
    static char program[] = "movra";
    static char option[] = "-platform";
    static char platform[] = "offscreen";
    static char* argv[] = {program, option, platform, nullptr};
    static QGuiApplication* application = new QGuiApplication(argc, argv);
    (void)application;
}

} // namespace movra
