#pragma once
// The named set of generated plate files: the bundled demo plate, the small
// example files shipped under data/, and the large file the import benchmark
// reads. One place defines them so the generator tool, tests and benchmark
// agree on what each file holds.

#include <string>
#include <vector>

#include "plate/synthetic_plate.h"

namespace movra {

struct NamedPlateFile {
    std::string fileName;
    SyntheticPlateOptions options;
};

// demo-kinetic-96.txt and the other small example files.
std::vector<NamedPlateFile> ExamplePlateFiles();

// A 384-well, 4-wavelength, two-block kinetic file of about readsPerBlock x
// 2 x 11 kB.
SyntheticPlateOptions LargeTwoBlockPlate(int readsPerBlock);

// A screening campaign: count plates with the demo plate's wavelengths,
// curves and read interval, wellCount wells and reads reads, each seeded
// differently so that no two plates hold the same readings.
std::vector<SyntheticPlateOptions> CampaignPlates(int count, int wellCount, int reads);

} // namespace movra
