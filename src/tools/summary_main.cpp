// movra-summary: imports a SpectraMax plate-format text file (or, with
// --table, a plain x/y table) and prints what it holds (mode, wells,
// wavelengths, reads, x range). Exit status 0 on success, 1 when the file is
// refused or unreadable, 2 on bad usage.

#include <CLI/CLI.hpp>

#include <iostream>
#include <string>

#include "plate/import_errors.h"
#include "plate/sm_import.h"
#include "plate/table_import.h"
#include "plate/text_decoding.h"

int main(int argc, char** argv)
{
    CLI::App app{"Import a SpectraMax plate-format text file and print its summary."};
    std::string file;
    std::string merge = "yes";
    std::string timeOffset = "0";
    bool table = false;
    app.add_option("file", file, "Plate-format text file exported by SoftMax Pro")->required();
    app.add_option("--merge", merge, "Answer to the merge question of files with several blocks")
        ->check(CLI::IsMember({"yes", "no", "cancel"}))
        ->capture_default_str();
    app.add_option("--time-offset", timeOffset, "Time offset in hours added to kinetic reads")
        ->capture_default_str();
    app.add_flag("--table", table, "The file is a plain x/y table (as movra-batch --table reads it)");
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e) == 0 ? 0 : 2;
    }

    const movra::MergeAnswer answer = merge == "yes"  ? movra::MergeAnswer::Yes
                                      : merge == "no" ? movra::MergeAnswer::No
                                                      : movra::MergeAnswer::Cancel;
    try {
        const movra::TextLines lines = movra::LoadTextLines(file);
        movra::SilentImportInteraction interaction(answer, timeOffset);
        const auto imported = table ? movra::ImportTable(lines) : movra::ImportSMText(lines, interaction);
        if (!imported) {
            std::cerr << "Import cancelled.\n";
            return 1;
        }
        std::cout << "file: " << file << "\n" << movra::DescribePlate(*imported);
        return 0;
    } catch (const std::exception& e) {
        std::cerr << file << ": " << e.what() << "\n";
        return 1;
    }
}
