#include "plate/text_lines.h"

#include <gtest/gtest.h>

#include "plate/import_errors.h"

namespace movra {
namespace {

TEST(TextLines, CrLfLfAndCrAloneAllEndLines)
{
    const TextLines lines("a\r\nb\nc\rd");
    ASSERT_EQ(lines.Count(), 4u);
    EXPECT_EQ(lines.Line(0), "a");
    EXPECT_EQ(lines.Line(1), "b");
    EXPECT_EQ(lines.Line(2), "c");
    EXPECT_EQ(lines.Line(3), "d");
}

TEST(TextLines, LastEmptyLineIsNotCounted)
{
    EXPECT_EQ(TextLines("a\r\nb\r\n").Count(), 2u);
    EXPECT_EQ(TextLines("a\n\n").Count(), 2u);
    EXPECT_EQ(TextLines("").Count(), 0u);
}

TEST(TextLines, LfCrIsTwoLineEnds)
{
    const TextLines lines("a\n\rb");
    ASSERT_EQ(lines.Count(), 3u);
    EXPECT_EQ(lines.Line(1), "");
    EXPECT_EQ(lines.Line(2), "b");
}

TEST(TextLines, LineBeyondTheEndIsEmpty)
{
    const TextLines lines("a\r\n");
    EXPECT_EQ(lines.Line(1), "");
    EXPECT_EQ(lines.Line(1000000), "");
}

TEST(TextLines, MissingFileIsAReadError)
{
    EXPECT_THROW(ReadFileBytes("/nonexistent/movra/plate.txt"), FileReadError);
}

} // namespace
} // namespace movra
