// Inputs found by fuzzing the import that once broke one of its promises;
// each test keeps the promise it broke.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "mini_plate.h"
#include "plate/sm_import.h"
#include "scripted_interaction.h"

namespace movra {
namespace {

using test::MiniPlate;
using test::ScriptedInteraction;

TEST(ImportHardening, ProgressStaysWithinTheWindowWhenABlockBoundarySkipsPastTheEnd)
{
    // Two blocks announced, the first ends after one read and the file ends
    // before the next block would start: the skip lands beyond the last line.
    MiniPlate plate;
    plate.blockLine = "##BLOCKS= 2          ";
    plate.xTexts = {"0:00"};
    plate.tail = "Time(hh:mm:ss)\t\t\r\nNote\r\nNote\r\nNote\r\nNote\r\nNote\r\n";
    ScriptedInteraction answers;
    const auto imported = ImportSMText(TextLines(plate.Text()), answers);
    ASSERT_TRUE(imported.has_value());
    EXPECT_EQ(imported->plate.TimePointCount, 1);
    ASSERT_FALSE(answers.progress.empty());
    for (int percent : answers.progress) {
        EXPECT_GE(percent, 0);
        EXPECT_LE(percent, 100);
    }
    EXPECT_EQ(answers.hidden, 1);
}

} // namespace
} // namespace movra
