#include "plate/text_lines.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "plate/import_errors.h"
#include "plate/text_decoding.h"

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

std::string ReadRefusal(const std::filesystem::path& path, std::uintmax_t maxBytes = kMaxTextFileBytes)
{
    try {
        LoadTextLines(path, maxBytes);
    } catch (const FileReadError& error) {
        return error.what();
    }
    return "(read)";
}

// A directory, or a file too large for any plate, is refused before its
// bytes are read (a 3 GB file would otherwise take gigabytes to refuse).
TEST(TextLines, DirectoriesAndFilesOverTheLimitAreRefused)
{
    const auto folder = std::filesystem::temp_directory_path();
    EXPECT_EQ(ReadRefusal(folder), "Cannot open file \"" + folder.string() + "\": it is a directory.");

    const auto huge = folder / (std::to_string(::getpid()) + "-movra-huge.txt");
    std::ofstream(huge, std::ios::binary) << "##BLOCKS= 1\r\n";
    std::filesystem::resize_file(huge, kMaxTextFileBytes + 1);  // sparse: costs no disk
    EXPECT_EQ(ReadRefusal(huge), "The file \"" + huge.string() + "\" is larger than 512 MiB, the most that is read.");
    std::filesystem::remove(huge);

    // A device has no size: it is read up to the limit.
    if (std::filesystem::is_character_file("/dev/zero"))
        EXPECT_EQ(ReadRefusal("/dev/zero", 100000), "The file \"/dev/zero\" is larger than 100000 bytes, the most "
                                                    "that is read.");
}

} // namespace
} // namespace movra
