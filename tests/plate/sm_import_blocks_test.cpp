// Files with more than one block: the merge question and the "Time" boundary.
#include "plate/sm_import.h"

#include <gtest/gtest.h>

#include "plate/plate_file_set.h"
#include "scripted_interaction.h"

namespace movra {
namespace {

using test::ScriptedInteraction;

SyntheticPlateOptions TwoBlocks()
{
    for (const auto& file : ExamplePlateFiles())
        if (file.fileName == "kinetic-96-two-blocks.txt") return file.options;
    throw std::runtime_error("no two-block example");
}

TEST(ImportTwoBlocks, MergeYesReadsBothBlocksSecondOneFrom48Hours)
{
    const SyntheticPlateOptions options = TwoBlocks();
    ScriptedInteraction interaction;
    interaction.mergeAnswer = MergeAnswer::Yes;
    const auto imported = ImportSMText(TextLines(WriteSyntheticPlate(options)), interaction);
    ASSERT_TRUE(imported);
    const PlateMeasurements& plate = imported->plate;
    EXPECT_EQ(interaction.mergeQuestions, 1);
    EXPECT_EQ(interaction.mergeText, "File contains more than one block. Merge blocks?");
    EXPECT_EQ(plate.TimePointCount, options.reads + options.secondBlockReads);
    const auto firstOfSecond = static_cast<std::size_t>(options.reads);
    EXPECT_DOUBLE_EQ(plate.PlateData[0][firstOfSecond - 1], (options.reads - 1) * options.intervalSeconds / 3600.0);
    EXPECT_DOUBLE_EQ(plate.PlateData[0][firstOfSecond], 48.0);
    EXPECT_DOUBLE_EQ(plate.LastXValue, 48.0 + (options.secondBlockReads - 1) * options.intervalSeconds / 3600.0);
    EXPECT_EQ(plate.TimeVector.size(), static_cast<std::size_t>(plate.TimePointCount) + 1);
    EXPECT_EQ(imported->review.Cell(plate, 1, options.reads + 1), "0:00");
}

TEST(ImportTwoBlocks, TheBoundaryReplacesTheTypedOffset)
{
    ScriptedInteraction interaction;
    interaction.timeOffsetAnswer = "5";
    const auto imported = ImportSMText(TextLines(WriteSyntheticPlate(TwoBlocks())), interaction);
    ASSERT_TRUE(imported);
    EXPECT_DOUBLE_EQ(imported->plate.PlateData[0][0], 5.0);
    EXPECT_DOUBLE_EQ(imported->plate.PlateData[0][static_cast<std::size_t>(TwoBlocks().reads)], 48.0);
}

TEST(ImportTwoBlocks, MergeNoReadsTheFirstBlockOnly)
{
    ScriptedInteraction interaction;
    interaction.mergeAnswer = MergeAnswer::No;
    const auto imported = ImportSMText(TextLines(WriteSyntheticPlate(TwoBlocks())), interaction);
    ASSERT_TRUE(imported);
    EXPECT_EQ(imported->plate.TimePointCount, TwoBlocks().reads);
}

TEST(ImportTwoBlocks, CancelReturnsNothingAndShowsNoProgress)
{
    ScriptedInteraction interaction;
    interaction.mergeAnswer = MergeAnswer::Cancel;
    EXPECT_FALSE(ImportSMText(TextLines(WriteSyntheticPlate(TwoBlocks())), interaction));
    EXPECT_EQ(interaction.timeOffsetQuestions, 0);
    EXPECT_EQ(interaction.shown, 0);
}

TEST(ImportTwoBlocks, NoQuestionWhenTheSecondHeaderLineIsEmpty)
{
    SyntheticPlateOptions options = TwoBlocks();
    std::string text = WriteSyntheticPlate(options);
    // Keep "##BLOCKS= 2" but cut the file after the first block's reads.
    const TextLines full(text);
    std::string firstBlock;
    for (std::size_t i = 0; i < 3 + 9 * static_cast<std::size_t>(options.reads); ++i)
        firstBlock += std::string(full.Line(i)) + "\r\n";
    ScriptedInteraction interaction;
    const auto imported = ImportSMText(TextLines(firstBlock), interaction);
    ASSERT_TRUE(imported);
    EXPECT_EQ(interaction.mergeQuestions, 0);
    EXPECT_EQ(imported->plate.TimePointCount, options.reads);
}

TEST(ImportTwoBlocks, LargeFourWavelengthPlateMergesToTheSumOfBothCounts)
{
    const SyntheticPlateOptions options = LargeTwoBlockPlate(4);
    ScriptedInteraction interaction;
    const auto imported = ImportSMText(TextLines(WriteSyntheticPlate(options)), interaction);
    ASSERT_TRUE(imported);
    EXPECT_EQ(interaction.mergeQuestions, 1);
    EXPECT_EQ(imported->plate.TimePointCount, 8);
    EXPECT_DOUBLE_EQ(imported->plate.PlateData[0][4], 48.0);
}

} // namespace
} // namespace movra
