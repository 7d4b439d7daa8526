// The desktop program: the application object titled "MOVRA version 0.9",
// the five windows in their order, an optional plate, table or layout file
// named on the command line opened as a dropped file would be, then the
// event loop until the main window closes.

#include <QApplication>
#include <QLocale>
#include <QStringList>

#include "app/command_guard.h"
#include "app/program_windows.h"
#include "app/qt_user_dialogs.h"
#include "shared/user_locale.h"

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("MOVRA version 0.9"));
    const QString separator = QLocale::system().decimalPoint();
    if (separator.size() == 1 && separator.front().unicode() < 128)
        movra::UserLocale::setDecimalSeparator(separator.front().toLatin1());

    movra::QtUserDialogs dialogs;
    movra::ProgramWindows windows(dialogs);
    dialogs.setParent(&windows.Form1());
    windows.Form1().show();

    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1)
        movra::RunCommand(dialogs, [&] { windows.Form1().OpenDataFile(arguments.at(1).toStdString()); });

    return QApplication::exec();
}
