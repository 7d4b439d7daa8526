// The campaign workflow on three generated plates with two cores: its merged
// results and status tables are those one movra-batch call over the same
// files (as named in the workflow's folder) writes, a plate's .PLO beside it
// being its layout.
#include <gtest/gtest.h>

#include <cstdlib>

#include "shared/test_helpers.h"

namespace {

namespace fs = std::filesystem;
using movra::test::FileText;

int Shell(const fs::path& folder, const std::string& command)
{
    return std::system(("cd '" + folder.string() + "' && " + command).c_str());
}

TEST(CampaignWorkflow, MergedTablesAreThoseOfOneRunOverAllPlates)
{
    if (std::system("command -v snakemake > /dev/null 2>&1") != 0)
        GTEST_SKIP() << "snakemake is not installed (scripts/deps installs it): the workflow is not tested";
    const movra::test::ScratchFolder scratch("campaign");
    const fs::path& folder = scratch.path;
    const std::string generate = std::string(MOVRA_GENERATE_PROGRAM) + " --plates 3 --reads 30 --out plates";
    ASSERT_EQ(Shell(folder, generate + " 2> /dev/null"), 0);
    fs::copy_file(fs::path(MOVRA_DATA) / "demo-layout.PLO", folder / "plates" / "plate-002.PLO");
    const std::string start = "m1=0.1,m2=0.7,m3=10,m4=0.8,m5=1,m6=0.01,m7=0.01";
    std::ofstream(folder / "campaign.yaml")
        << "movra_batch: " << MOVRA_BATCH_PROGRAM << "\nsettings:\n  start: " << start << "\n";

    const int status = Shell(folder, "snakemake -s " + std::string(MOVRA_SNAKEFILE) +
                                         " --cores 2 --configfile campaign.yaml > snakemake.log 2>&1");
    ASSERT_EQ(status, 0) << FileText(folder / "snakemake.log");
    // The pictures of each plate, the laid-out one per sample.
    EXPECT_TRUE(fs::exists(folder / "campaign" / "plots" / "plate-002" / "Sample12.png"));
    EXPECT_TRUE(fs::exists(folder / "campaign" / "plots" / "plate-001" / "Sample1-12.png"));

    const std::string plates = "plates/plate-001.txt plates/plate-002.txt=plates/plate-002.PLO plates/plate-003.txt";
    for (const std::string report : {"results", "status"}) {
        ASSERT_EQ(Shell(folder, std::string(MOVRA_BATCH_PROGRAM) + " " + plates + " --start " + start + " --report " +
                                    report + " > one-run.tsv 2> /dev/null"),
                  0);
        const std::string merged = FileText(folder / "campaign" / (report + ".tsv"));
        EXPECT_EQ(merged, FileText(folder / "one-run.tsv")) << report;
        EXPECT_NE(merged.find("\nplates/plate-003.txt\tSample1"), std::string::npos) << report;
    }
}

} // namespace
