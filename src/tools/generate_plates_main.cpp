// movra-generate-plates: writes generated SpectraMax plate-format files with
// known curves: the example set (the bundled demo plate among them) into a
// folder, a campaign of numbered plates like the demo plate (each with its
// own noise) into a folder, or one large 384-well, 4-wavelength, two-block
// file.

#include <CLI/CLI.hpp>

#include <filesystem>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>

#include "plate/plate_file_set.h"

namespace {

bool WriteFile(const std::filesystem::path& path, const std::string& text)
{
    std::ofstream file(path, std::ios::binary);
    file << text;
    file.close();
    if (!file) {
        std::cerr << "Cannot write " << path.string() << "\n";
        return false;
    }
    std::cerr << "wrote " << path.string() << " (" << text.size() << " bytes)\n";
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    CLI::App app{"Write generated SpectraMax plate-format text files with known kinetics."};
    std::string folder = ".";
    std::string large;
    int readsPerBlock = 0;
    int plates = 0;
    int wells = 96;
    app.add_option("--out", folder, "Folder for the example set or the campaign")->capture_default_str();
    auto* largeOption = app.add_option("--large", large, "Write only the large 384-well two-block file to this path");
    auto* platesOption = app.add_option("--plates", plates,
                                        "Write this many plates plate-001.txt, ... like the demo plate (two "
                                        "wavelengths, each plate its own noise) instead of the example set")
                             ->check(CLI::Range(1, 99999));
    largeOption->excludes(platesOption);
    app.add_option("--wells", wells, "Wells of each --plates plate")
        ->check(CLI::IsMember({96, 384}))
        ->capture_default_str();
    app.add_option("--reads", readsPerBlock, "Reads per block (default: 250 for --large, 60 for --plates)")
        ->check(CLI::Range(1, 100000));
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e) == 0 ? 0 : 2;
    }

    if (!large.empty())
        return WriteFile(large, movra::WriteSyntheticPlate(movra::LargeTwoBlockPlate(readsPerBlock > 0 ? readsPerBlock
                                                                                                       : 250)))
                   ? 0
                   : 1;

    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (plates > 0) {
        const auto options = movra::CampaignPlates(plates, wells, readsPerBlock > 0 ? readsPerBlock : 60);
        for (std::size_t k = 0; k < options.size(); ++k) {
            char name[32];
            std::snprintf(name, sizeof name, "plate-%03zu.txt", k + 1);
            if (!WriteFile(std::filesystem::path(folder) / name, movra::WriteSyntheticPlate(options[k]))) return 1;
        }
        return 0;
    }
    for (const auto& named : movra::ExamplePlateFiles())
        if (!WriteFile(std::filesystem::path(folder) / named.fileName, movra::WriteSyntheticPlate(named.options)))
            return 1;
    return 0;
}
