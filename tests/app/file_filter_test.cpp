// File dialog filters written "Name|pattern|..." become Qt's filter entries.

#include <gtest/gtest.h>

#include "app/file_filter.h"

namespace movra {
namespace {

TEST(FileFilterTest, PairsBecomeEntriesWithTheirPatterns)
{
    EXPECT_EQ(QtFilterEntries("All Files|*.*|SpectraMax Text File|*.txt"),
              (std::vector<std::string>{"All Files (*.*)", "SpectraMax Text File (*.txt)"}));
    EXPECT_EQ(QtFilterEntries("Texts|*.txt;*.csv"), (std::vector<std::string>{"Texts (*.txt *.csv)"}));
    EXPECT_TRUE(QtFilterEntries("").empty());
}

} // namespace
} // namespace movra
