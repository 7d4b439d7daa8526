// movra-batch --table: a plain x/y table goes through the same fit and report
// as a plate file.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "batch_cli.h"
#include "plate/sm_import.h"
#include "plate/text_decoding.h"

namespace movra {
namespace {

const std::string kDemo = (std::filesystem::path(MOVRA_DATA) / "demo-kinetic-96.txt").string();

int RunTool(std::vector<std::string> args, std::string& out, std::string& err)
{
    std::ostringstream o, e;
    const int status = RunBatch(args, o, e, BatchConsole{false});
    out = o.str();
    err = e.str();
    return status;
}

std::string FirstResultRow(const std::string& table)
{
    const auto first = table.find('\n');
    const auto second = table.find('\n', first + 1);
    return table.substr(first + 1, second - first - 1);
}

// Writes well A1's "b-a" curve of the demo plate as a one-curve table, x with
// all its digits so that it reads back exactly.
std::filesystem::path WriteA1Table()
{
    SilentImportInteraction answers;
    auto imported = ImportSMText(LoadTextLines(kDemo), answers);
    const auto& plate = imported->plate;
    const auto path = std::filesystem::temp_directory_path() / "movra-batch-table-test.tsv";
    std::ofstream file(path, std::ios::binary);
    file << "x\tA1\n";
    char line[128];
    for (int t = 0; t < plate.TimePointCount; ++t) {
        std::snprintf(line, sizeof line, "%.17g\t%.17g\n", plate.PlateData[0][static_cast<std::size_t>(t)],
                      plate.Reading(0, 2, t) - plate.Reading(0, 1, t));
        file << line;
    }
    return path;
}

// A table has one wavelength: without --combination it is fitted as "a"
// (not 1 - y); a typed combination naming b is kept with a warning.
TEST(BatchTable, OneCurveTableFitsLikeTheSameCurveInAPlateFile)
{
    const auto table = WriteA1Table();
    const std::vector<std::string> fit = {"--formula-index", "0", "--start", "m1=0.1,m2=0.7,m3=0.01,m4=0.6,m5=0.1",
                                          "--combination", "b-a", "--threads", "1"};
    std::string tableOut, plateOut, err;
    auto args = std::vector<std::string>(fit.begin(), fit.begin() + 4);
    args.insert(args.end(), {"--table", table.string()});
    ASSERT_EQ(RunTool(args, tableOut, err), 0) << err;
    EXPECT_EQ(err, "1 of 1 wells fitted\n");
    EXPECT_NE(FirstResultRow(tableOut).find("\ta - m1+(m2"), std::string::npos) << tableOut;
    args = fit;
    args.insert(args.end(), {"--table", table.string()});
    std::string typedOut;
    EXPECT_EQ(RunTool(args, typedOut, err), 0);
    EXPECT_EQ(err.substr(0, err.find('\n')), "warning: The combination \"b-a\" uses wavelength b, but the plate has 1 "
                                              "wavelength: b reads as 1.");

    args = fit;
    args.push_back(kDemo);
    ASSERT_EQ(RunTool(args, plateOut, err), 0) << err;
    // Same well, same numbers; only the combination text in the last column differs.
    auto withoutStatus = [](const std::string& row) { return row.substr(0, row.rfind('\t')); };
    EXPECT_EQ(withoutStatus(FirstResultRow(tableOut)), withoutStatus(FirstResultRow(plateOut)));
    std::filesystem::remove(table);
}

TEST(BatchTable, TableAndPlateFileExcludeEachOther)
{
    std::string out, err;
    EXPECT_EQ(RunTool({kDemo, "--table", kDemo}, out, err), 2);
    EXPECT_EQ(RunTool({"--quiet"}, out, err), 2);
}

TEST(BatchTable, BadTableGivesItsMessageAndStatusOne)
{
    const auto path = std::filesystem::temp_directory_path() / "movra-batch-bad-table.csv";
    {
        std::ofstream file(path);
        file << "x,y\n1,2\n2,abc\n";
    }
    std::string out, err;
    EXPECT_EQ(RunTool({"--table", path.string()}, out, err), 1);
    EXPECT_NE(err.find("Row 3, column 2: 'abc' is not a number"), std::string::npos) << err;
    std::filesystem::remove(path);
}

} // namespace
} // namespace movra
