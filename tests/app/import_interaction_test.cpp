// The import's progress window is centred on the main window while shown.

#include <QMainWindow>
#include <QProgressBar>

#include <gtest/gtest.h>

#include "app/import_interaction_dialogs.h"
#include "app/import_progress_form.h"
#include "app/window_placement.h"
#include "scripted_dialogs.h"

namespace movra {
namespace {

TEST(ImportInteractionTest, ProgressWindowIsCentredWithHalvesTruncatedShownAdvancedAndHidden)
{
    EXPECT_EQ(CentredTopLeft(QRect(0, 0, 100, 100), QSize(51, 51)), QPoint(25, 25));
    test::ScriptedDialogs dialogs;
    QMainWindow main;
    main.setGeometry(100, 50, 760, 595);
    ImportProgressForm progress(&main);
    DialogImportInteraction interaction(dialogs, progress, main);
    interaction.ShowProgress();
    EXPECT_TRUE(progress.isVisible());
    EXPECT_EQ(progress.pos(), CentredTopLeft(main.frameGeometry(), progress.frameGeometry().size()));
    interaction.SetProgress(42);
    EXPECT_EQ(progress.ProgressBar1().value(), 42);
    interaction.HideProgress();
    EXPECT_FALSE(progress.isVisible());
    interaction.ShowProgress();  // the next import starts from 0
    EXPECT_EQ(progress.ProgressBar1().value(), 0);
}

} // namespace
} // namespace movra
