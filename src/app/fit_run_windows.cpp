#include "app/fit_run_windows.h"

#include <QApplication>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QTextCursor>

#include "app/fit_progress_form.h"
#include "app/text_encoding.h"
#include "app/window_placement.h"
#include "regression/fit_status.h"

namespace movra {

FitRunWindows::FitRunWindows(FitProgressForm& progress, QMainWindow& mainWindow, QLineEdit& marqStatus)
    : progress_(progress), mainWindow_(mainWindow), marqStatus_(marqStatus)
{
}

FitRunWindows::~FitRunWindows()
{
    SetMainWindowEnabled(true);
    if (busyCursor_)
        QApplication::restoreOverrideCursor();
}

void FitRunWindows::SetMainWindowEnabled(bool enabled)
{
    // The progress window is a child of the main window; disabling the main
    // window itself would disable its Cancel button too.
    if (QWidget* pages = mainWindow_.centralWidget())
        pages->setEnabled(enabled);
    mainWindow_.menuBar()->setEnabled(enabled);
}

void FitRunWindows::BeginCurveFit(const std::string& wellName)
{
    CentreOn(progress_, mainWindow_);
    progress_.setWindowTitle(QStringLiteral("Fitting data from well ") + DataText(wellName));
    if (!busyCursor_) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        busyCursor_ = true;
    }
    SetMainWindowEnabled(false);
    progress_.ClearCancel();
    progress_.show();
    progress_.Button1().setText(QStringLiteral("Cancel"));
    QApplication::processEvents();
}

bool FitRunWindows::Iteration(std::int32_t iteration, double objective, double lambda)
{
    int line = 0;
    for (const std::string& text : FitProgressLines(iteration, objective, lambda)) SetLine(line++, text);
    QApplication::processEvents();
    return !progress_.FitCancelled();
}

void FitRunWindows::EndCurveFit(std::int32_t status)
{
    SetMainWindowEnabled(true);
    const std::string_view name = FitStatusName(status);
    if (!name.empty())
        marqStatus_.setText(QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
    progress_.hide();
}

void FitRunWindows::SetLine(int line, const std::string& text)
{
    QPlainTextEdit& memo = progress_.Memo1();
    QTextDocument& document = *memo.document();
    while (document.blockCount() <= line)
        memo.appendPlainText(QString());
    QTextCursor cursor(document.findBlockByNumber(line));
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    cursor.insertText(DataText(text));
}

} // namespace movra
