// The import's questions go through the program's dialogs; its progress
// window is centred on the main window while shown.

#include <QMainWindow>
#include <QProgressBar>

#include <gtest/gtest.h>

#include "app/import_interaction_dialogs.h"
#include "app/import_progress_form.h"
#include "app/window_placement.h"
#include "scripted_dialogs.h"

namespace movra {
namespace {

TEST(WindowPlacementTest, CentresWithHalvesTruncated)
{
    EXPECT_EQ(CentredTopLeft(QRect(100, 50, 760, 595), QSize(354, 59)), QPoint(100 + 380 - 177, 50 + 297 - 29));
    EXPECT_EQ(CentredTopLeft(QRect(0, 0, 101, 101), QSize(51, 51)), QPoint(25, 25));
}

TEST(ImportInteractionTest, MergeQuestionMapsTheThreeAnswers)
{
    test::ScriptedDialogs dialogs;
    QMainWindow main;
    ImportProgressForm progress(&main);
    DialogImportInteraction interaction(dialogs, progress, main);
    dialogs.answers = {DialogAnswer::Yes, DialogAnswer::No, DialogAnswer::Cancel};
    EXPECT_EQ(interaction.AskMergeBlocks(kMergeBlocksQuestion), MergeAnswer::Yes);
    EXPECT_EQ(interaction.AskMergeBlocks(kMergeBlocksQuestion), MergeAnswer::No);
    EXPECT_EQ(interaction.AskMergeBlocks(kMergeBlocksQuestion), MergeAnswer::Cancel);
    EXPECT_EQ(dialogs.questions.size(), 3u);
}

TEST(ImportInteractionTest, ProgressWindowIsCentredShownAdvancedAndHidden)
{
    test::ScriptedDialogs dialogs;
    QMainWindow main;
    main.setGeometry(100, 50, 760, 595);
    ImportProgressForm progress(&main);
    DialogImportInteraction interaction(dialogs, progress, main);
    interaction.ShowProgress();
    EXPECT_TRUE(progress.isVisible());
    EXPECT_EQ(progress.ProgressBar1().value(), 0);
    const QRect frame = main.frameGeometry();
    EXPECT_EQ(progress.pos(), CentredTopLeft(frame, progress.frameGeometry().size()));
    interaction.SetProgress(42);
    EXPECT_EQ(progress.ProgressBar1().value(), 42);
    interaction.HideProgress();
    EXPECT_FALSE(progress.isVisible());
}

} // namespace
} // namespace movra
