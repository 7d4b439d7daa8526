// movra-generate-plates: writes generated SpectraMax plate-format files with
// known curves: the example set (the bundled demo plate among them) into a
// folder, or one large 384-well, 4-wavelength, two-block file.

#include <CLI/CLI.hpp>

#include <filesystem>
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
    int readsPerBlock = 250;
    app.add_option("--out", folder, "Folder for the example set")->capture_default_str();
    app.add_option("--large", large, "Write only the large 384-well two-block file to this path");
    app.add_option("--reads", readsPerBlock, "Reads per block of the large file")
        ->check(CLI::Range(1, 100000))
        ->capture_default_str();
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e) == 0 ? 0 : 2;
    }

    if (!large.empty())
        return WriteFile(large, movra::WriteSyntheticPlate(movra::LargeTwoBlockPlate(readsPerBlock))) ? 0 : 1;

    std::error_code error;
    std::filesystem::create_directories(folder, error);
    for (const auto& named : movra::ExamplePlateFiles())
        if (!WriteFile(std::filesystem::path(folder) / named.fileName, movra::WriteSyntheticPlate(named.options)))
            return 1;
    return 0;
}
