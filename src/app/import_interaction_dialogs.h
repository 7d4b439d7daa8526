#pragma once
// The import's questions and progress answered by the desktop program: the
// merge question and the time offset through UserDialogs, the progress in
// the window TForm2, centred on the main window while the import reads.

#include "plate/import_interaction.h"

class QWidget;

namespace movra {

class ImportProgressForm;
class UserDialogs;

class DialogImportInteraction final : public ImportInteraction {
public:
    DialogImportInteraction(UserDialogs& dialogs, ImportProgressForm& progress, const QWidget& mainWindow)
        : dialogs_(dialogs), progress_(progress), mainWindow_(mainWindow)
    {
    }

    MergeAnswer AskMergeBlocks(std::string_view text) override;
    std::optional<std::string> AskTimeOffset(std::string_view caption, std::string_view prompt,
                                             std::string_view defaultText) override;
    void ShowProgress() override;
    void SetProgress(int percent) override;
    void HideProgress() override;

private:
    UserDialogs& dialogs_;
    ImportProgressForm& progress_;
    const QWidget& mainWindow_;
};

} // namespace movra
