#include "plate/review_table.h"

#include <gtest/gtest.h>

#include "plate/sm_import.h"
#include "scripted_interaction.h"
#include "mini_plate.h"
#include "shared/user_locale.h"

namespace movra {
namespace {

TEST(ReviewTable, BeforeAnyImportIs194By200EmptyCells)
{
    const ReviewTable table;
    const PlateMeasurements none;
    EXPECT_EQ(table.ColumnCount(), 194);
    EXPECT_EQ(table.RowCount(), 200);
    EXPECT_EQ(table.Cell(none, 1, 0), "");
    EXPECT_EQ(table.Cell(none, 193, 199), "");
}

TEST(ReviewTable, ShowsFileTextsAndFormattedReadings)
{
    test::MiniPlate file;
    file.cell = [](int t, int, int w) { return w == 0 ? std::string(t == 0 ? "0.1000" : "1E-5") : "2"; };
    test::ScriptedInteraction interaction;
    const auto imported = ImportSMText(TextLines(file.Text()), interaction);
    ASSERT_TRUE(imported);
    const ReviewTable& table = imported->review;
    const PlateMeasurements& plate = imported->plate;
    EXPECT_EQ(table.RowCount(), 3);
    EXPECT_EQ(table.Cell(plate, 0, 1), "");
    EXPECT_EQ(table.Cell(plate, 1, 0), "Time(hh:mm:ss)");
    EXPECT_EQ(table.Cell(plate, 2, 0), "Temperature(C)");
    EXPECT_EQ(table.Cell(plate, 1, 2), "1:00");
    EXPECT_EQ(table.Cell(plate, 2, 1), "37.00");
    EXPECT_EQ(table.Cell(plate, 3, 1), "0.1");
    EXPECT_EQ(table.Cell(plate, 3, 2), "1E-5");
    EXPECT_EQ(table.Cell(plate, 4, 2), "2");
    EXPECT_EQ(table.Cell(plate, 3, 0), "405A1");
}

TEST(ReviewTable, CellsOutsideTheTableAreEmpty)
{
    test::MiniPlate file;
    test::ScriptedInteraction interaction;
    const auto imported = ImportSMText(TextLines(file.Text()), interaction);
    ASSERT_TRUE(imported);
    EXPECT_EQ(imported->review.Cell(imported->plate, 99, 1), "");
    EXPECT_EQ(imported->review.Cell(imported->plate, 3, 3), "");
    EXPECT_EQ(imported->review.Cell(imported->plate, -1, 1), "");
}

TEST(ReviewTable, ReadingsUseTheLocaleDecimalSeparator)
{
    test::MiniPlate file;
    file.cell = [](int, int, int) { return std::string("0.25"); };
    test::ScriptedInteraction interaction;
    const auto imported = ImportSMText(TextLines(file.Text()), interaction);
    ASSERT_TRUE(imported);
    ScopedDecimalSeparator comma(',');
    EXPECT_EQ(imported->review.Cell(imported->plate, 3, 1), "0,25");
}

} // namespace
} // namespace movra
