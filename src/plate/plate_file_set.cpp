#include "plate/plate_file_set.h"

namespace movra {

std::vector<NamedPlateFile> ExamplePlateFiles()
{
    std::vector<NamedPlateFile> files;

    SyntheticPlateOptions demo;
    demo.waveLengths = {340, 405};
    demo.reads = 61;
    demo.intervalSeconds = 120;
    demo.noise = 0.003;
    demo.seed = 20260418;
    files.push_back({"demo-kinetic-96.txt", demo});

    SyntheticPlateOptions special;
    special.version13 = true;
    special.waveLengths = {405};
    special.reads = 31;
    special.trailingEmptyReads = 4;
    special.intervalSeconds = 240;
    special.specialCells = true;
    special.exponentialLowerHalf = true;
    special.seed = 7;
    files.push_back({"kinetic-96-special-cells.txt", special});

    SyntheticPlateOptions comma;
    comma.waveLengths = {490};
    comma.reads = 21;
    comma.intervalSeconds = 360;
    comma.commaDecimal = true;
    comma.seed = 11;
    files.push_back({"kinetic-96-comma.txt", comma});

    SyntheticPlateOptions twoBlocks;
    twoBlocks.waveLengths = {340, 405};
    twoBlocks.reads = 11;
    twoBlocks.secondBlockReads = 6;
    twoBlocks.intervalSeconds = 600;
    twoBlocks.seed = 13;
    files.push_back({"kinetic-96-two-blocks.txt", twoBlocks});

    SyntheticPlateOptions spectrum;
    spectrum.mode = "Spectrum";
    spectrum.spectrumStart = 400;
    spectrum.spectrumEnd = 700;
    spectrum.spectrumStep = 10;
    spectrum.seed = 17;
    files.push_back({"spectrum-96.txt", spectrum});

    return files;
}

SyntheticPlateOptions LargeTwoBlockPlate(int readsPerBlock)
{
    SyntheticPlateOptions options;
    options.wellCount = 384;
    options.waveLengths = {340, 405, 450, 490};
    options.reads = readsPerBlock;
    options.secondBlockReads = readsPerBlock;
    options.intervalSeconds = 30;
    options.seed = 384;
    return options;
}

std::vector<SyntheticPlateOptions> CampaignPlates(int count, int wellCount, int reads)
{
    std::vector<SyntheticPlateOptions> plates;
    SyntheticPlateOptions options = ExamplePlateFiles().front().options;
    options.wellCount = wellCount;
    options.reads = reads;
    for (int k = 0; k < count; ++k) {
        options.seed = 1000 + static_cast<std::uint32_t>(k);
        plates.push_back(options);
    }
    return plates;
}

} // namespace movra
