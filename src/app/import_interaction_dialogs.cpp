#include "app/import_interaction_dialogs.h"

#include <QCoreApplication>
#include <QProgressBar>

#include <string>

#include "app/import_progress_form.h"
#include "app/user_dialogs.h"
#include "app/window_placement.h"

namespace movra {

namespace {

// Lets the progress window paint while the import keeps the event loop busy;
// the user's input waits until the import is done.
void PaintNow()
{
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

} // namespace

MergeAnswer DialogImportInteraction::AskMergeBlocks(std::string_view text)
{
    switch (dialogs_.AskYesNoCancel(std::string(text))) {
    case DialogAnswer::Yes:
        return MergeAnswer::Yes;
    case DialogAnswer::No:
        return MergeAnswer::No;
    case DialogAnswer::Cancel:
        break;
    }
    return MergeAnswer::Cancel;
}

std::optional<std::string> DialogImportInteraction::AskTimeOffset(std::string_view caption, std::string_view prompt,
                                                                  std::string_view defaultText)
{
    return dialogs_.InputBox(std::string(caption), std::string(prompt), std::string(defaultText));
}

void DialogImportInteraction::ShowProgress()
{
    progress_.ProgressBar1().setValue(0);
    progress_.show();
    // Placed once shown, when the outer frame and so the outer size are known.
    CentreOn(progress_, mainWindow_);
    PaintNow();
}

void DialogImportInteraction::SetProgress(int percent)
{
    if (progress_.ProgressBar1().value() == percent)
        return;
    progress_.ProgressBar1().setValue(percent);
    PaintNow();
}

void DialogImportInteraction::HideProgress()
{
    progress_.hide();
}

} // namespace movra
