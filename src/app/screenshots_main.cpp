// movra_screenshots DIR [FILE [LAYOUT]]: starts the program's windows on
// whatever platform Qt is given (the offscreen one in scripts/screenshots),
// imports FILE when named, and writes one PNG per page of the main window
// plus the About window into DIR. With a plate LAYOUT file the layout is
// loaded (the layout page shows its samples in colour), its first sample
// shown, fitted with the first list formula, the graph page pictured with
// legend and residuals and the reports page with the fit results; then "Fit
// all" fits the whole plate with the same settings and the plate map is
// pictured coloured by m4; the graph is also exported through File > Export
// Graph... as 3-GraphView.svg and 3-GraphView.pdf. Questions get their
// default answers; errors go to stderr.

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QThread>
#include <QLineEdit>
#include <QPushButton>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <QTabWidget>

#include <cstdio>
#include <iostream>

#include "app/command_guard.h"
#include "app/fit_all_command.h"
#include "app/fitting_panel.h"
#include "app/graph_page.h"
#include "app/plate_map_page.h"
#include "app/program_windows.h"
#include "app/reports_page.h"
#include "app/user_dialogs.h"

namespace {

class DefaultAnswers final : public movra::UserDialogs {
public:
    void ShowError(const std::string& text) override { std::cerr << "error: " << text << '\n'; }
    movra::DialogAnswer AskYesNoCancel(const std::string&) override { return movra::DialogAnswer::Yes; }
    std::optional<std::string> InputBox(const std::string&, const std::string&, const std::string& text) override
    {
        return text;
    }
    std::optional<std::filesystem::path> OpenFile(const movra::FileDialogRequest&) override
    {
        auto answer = nextFile;
        nextFile.reset();
        return answer;
    }
    std::optional<std::filesystem::path> SaveFile(const movra::FileDialogRequest&) override
    {
        auto answer = nextSave;
        nextSave.reset();
        return answer;
    }

    std::optional<std::filesystem::path> nextFile;  // the next open dialog's answer
    std::optional<std::filesystem::path> nextSave;  // the next save dialog's answer
};

// Loads the layout, shows its first sample and fits it with start values
// that suit the demo plate's curves.
void ShowFittedSample(DefaultAnswers& dialogs, movra::MainWindow& form, const std::filesystem::path& layout)
{
    dialogs.nextFile = layout;
    form.menu().OpenPlateLayout1->trigger();
    movra::FittingPanel& fitting = form.graphPage().fitting();
    fitting.FitFormulaCB().setCurrentIndex(0);
    const char* const starts[] = {"0.1", "0.5", "0.01", "0.6", "0.1", "1", "1", "1"};
    for (int k = 1; k <= 8; ++k)
        fitting.FitM(k).setText(QString::fromLatin1(starts[k - 1]));
    form.menu().Legend1->setChecked(true);
    form.menu().Residuals1->setChecked(true);
    form.graphPage().FitShownBut().click();
    form.reportsPage().ShowResBut().click();
}

// "Fit all" with the settings on show, waited for.
void FitWholePlate(movra::MainWindow& form)
{
    form.menu().FitAll1->trigger();
    while (form.fitAll().Running()) {
        QApplication::processEvents();
        QThread::msleep(10);
    }
    form.plateMapPage().MapQuantity().setCurrentIndex(3);  // m4, the curves' midpoints
}

bool Save(const QPixmap& picture, const QDir& folder, const QString& name)
{
    const QString path = folder.filePath(name);
    if (!picture.save(path, "PNG")) {
        std::cerr << "cannot write " << path.toStdString() << '\n';
        return false;
    }
    std::cout << path.toStdString() << '\n';
    return true;
}

// Lets layouts that were just shown take their final sizes.
void Settle()
{
    for (int round = 0; round < 5; ++round) {
        QApplication::sendPostedEvents();
        QApplication::processEvents();
    }
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    // The windows save their position when they close: keep that out of the
    // user's own settings.
    QTemporaryDir settingsFolder;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsFolder.path());
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() < 2 || arguments.size() > 4) {
        std::cerr << "usage: movra_screenshots DIR [FILE [LAYOUT]]\n";
        return 2;
    }
    QDir folder(arguments.at(1));
    if (!folder.mkpath(QStringLiteral("."))) {
        std::cerr << "cannot create " << arguments.at(1).toStdString() << '\n';
        return 1;
    }

    DefaultAnswers dialogs;
    movra::ProgramWindows windows(dialogs);
    movra::MainWindow& form = windows.Form1();
    form.show();
    if (arguments.size() >= 3)
        movra::RunCommand(dialogs, [&] { form.ImportFile(arguments.at(2).toStdString()); });
    if (arguments.size() == 4) {
        form.PageControl1().setCurrentIndex(movra::MainWindow::GraphViewIndex);
        Settle();
        ShowFittedSample(dialogs, form, arguments.at(3).toStdString());
        FitWholePlate(form);
    }

    bool written = true;
    QTabWidget& pages = form.PageControl1();
    for (int page = 0; page < 4; ++page) {
        pages.setCurrentIndex(page);
        Settle();
        written &= Save(form.grab(), folder, QStringLiteral("%1-%2.png").arg(page + 1).arg(pages.tabText(page)));
    }
    if (arguments.size() == 4) {
        pages.setCurrentIndex(movra::MainWindow::PlateMapIndex);
        Settle();
        written &= Save(form.grab(), folder, QStringLiteral("6-PlateMap.png"));
    }
    if (arguments.size() == 4) {
        pages.setCurrentIndex(movra::MainWindow::GraphViewIndex);
        Settle();
        for (const char* name : {"3-GraphView.svg", "3-GraphView.pdf"}) {
            const QString path = folder.filePath(QString::fromLatin1(name));
            dialogs.nextSave = path.toStdString();
            form.menu().ExportGraph1->trigger();
            written &= QFileInfo::exists(path);
            std::cout << path.toStdString() << '\n';
        }
    }
    pages.setCurrentIndex(movra::MainWindow::DataReviewIndex);

    movra::AboutForm& about = windows.AboutBox();
    about.show();
    for (int tick = 0; tick < 60; ++tick)
        about.RotatePic();
    Settle();
    written &= Save(about.grab(), folder, QStringLiteral("5-About.png"));
    about.hide();
    return written ? 0 : 1;
}
