// Files the import refuses: each ends in the exact message the user sees (a
// field that does not convert names its text, a number too large names its
// cell), never in a plate, and never with the progress window left open.
#include <gtest/gtest.h>

#include "import_fixture.h"

namespace movra {
namespace {

using test::DataFile;
using test::MiniPlate;

// Rows written for one plate under a header announcing another.
std::string Mismatched(MiniPlate rows, const char* wellCount)
{
    MiniPlate announced = rows;
    announced.wellCount = wellCount;
    announced.waves = {405};
    rows.headerOverride = announced.Header();
    return rows.Text();
}

// A two-wavelength plate whose cell (read, wavelength k from 0, well) holds text.
std::string WithCell(const std::string& text, int read, int k, int well)
{
    const auto cell = [=](int t, int kk, int w) { return t == read && kk == k && w == well ? text : "0.5"; };
    return MiniPlate{.waves = {340, 405}, .cell = cell}.Text();
}

// The first three lines of a file: its header without any read.
std::string HeaderOnly(const std::string& text)
{
    std::size_t end = 0;
    for (int line = 0; line < 3; ++line) end = text.find('\n', end) + 1;
    return text.substr(0, end);
}

TEST(ImportSMText, RefusesBadFilesWithTheirExactMessageAndLeavesTheLoadedPlate)
{
    const std::string notSpectraMax = "ImportError: File is not at SpectraMax text file!";
    const std::string notPlateFormat = "ImportError: File is not saved as plate format!";
    const std::string notKinetic = "ImportError: The file is not a kinetic/spectrum assay!";
    const std::string announces = "ImportError: The plate header announces ";
    const std::string reading = "ImportError: The reading ";
    const std::string digits(320, '9');
    struct Case {
        std::string text;
        std::string message;
        std::string offset = "0";  // the typed time offset
    };
    const std::vector<Case> cases = {
        {DataFile("empty.txt"), notSpectraMax},
        {DataFile("binary-garbage.bin"), notSpectraMax},
        {DataFile("no-blocks-line.txt"), notSpectraMax},
        {DataFile("not-plate-format.txt"), notPlateFormat},
        {DataFile("block-line-only.txt"), notPlateFormat},
        {DataFile("endpoint.txt"), notKinetic},
        {"##BLOCKS= 2\r\nNote:\r\n~End\r\nPlate:\tOD\t1.3\tPlateFormat\tEndpoint\tAbsorbance\r\n", notKinetic},
        {DataFile("wells-48.txt"),
         "ImportError: The file describes a plate of 48 wells; only 96-well and 384-well plates can be read!"},
        {DataFile("wavelengths-0.txt"), "ImportError: The file announces 0 wavelengths; only 1 to 6 can be read!"},
        {Mismatched(MiniPlate{}, "384"),
         announces + "384 wells (24 columns) at 1 wavelength, but the column header names 12 columns at 1 wavelength!"},
        {Mismatched(MiniPlate{.wellCount = "384"}, "96"),
         announces + "96 wells (12 columns) at 1 wavelength, but the column header names 24 columns at 1 wavelength!"},
        {Mismatched(MiniPlate{.waves = {340, 405}}, "96"),
         announces + "96 wells (12 columns) at 1 wavelength, but the column header names 12 columns at 2 wavelengths!"},
        {MiniPlate{.columnHeader = "Time\tTemperature\t1\t2\tthree"}.Text(),
         announces + "96 wells (12 columns) at 1 wavelength, but the column header names 'three' where column 3 of "
                     "wavelength 1 should be!"},
        // A header without a complete read would replace the loaded plate by nothing.
        {DataFile("negative-read-count.txt"), "ImportError: The file holds no complete read (0 announced)!"},
        {HeaderOnly(DataFile("truncated-mid-read.txt")), "ImportError: The file holds no complete read (3 announced)!"},
        {DataFile("missing-fields.txt"), "ConversionError: '' is not a valid integer value"},
        {DataFile("text-for-integer.txt"), "ConversionError: 'two' is not a valid integer value"},
        {DataFile("text-for-read-count.txt"), "ConversionError: 'many' is not a valid integer value"},
        {DataFile("text-in-cell.txt"), "ConversionError: 'n/a' is not a valid floating point value (line 4, well A6)"},
        {DataFile("bad-clock-time.txt"), "ConversionError: 'half past' is not a valid time value (line 13)"},
        {MiniPlate{}.Text(), "ConversionError: 'soon' is not a valid floating point value", "soon"},
        {MiniPlate{}.Text(), "ImportError: The time offset '1E999' is not a finite number!", "1E999"},
        {MiniPlate{.xTexts = {"0:00", "1E999"}}.Text(),
         "ConversionError: '1E999' is not a valid time value (line 13)"},
        {MiniPlate{.mode = "Spectrum", .xTexts = {"400", "1E999"}}.Text(),
         "ConversionError: '1E999' is not a valid integer value (line 13)"},
        {MiniPlate{.temperature = "-1E400"}.Text(),
         "ImportError: The temperature '-1E400' of read 1 is not a finite number!"},
        {WithCell("1E999", 1, 0, 14), reading + "'1E999' of well B3 (wavelength 1, read 2) is not a finite number!"},
        {WithCell("-1E400", 0, 1, 0), reading + "'-1E400' of well A1 (wavelength 2, read 1) is not a finite number!"},
        {WithCell("1,5E999", 0, 0, 95),
         reading + "'1,5E999' of well H12 (wavelength 1, read 1) is not a finite number!"},
        {WithCell(digits, 0, 0, 1),
         reading + "'" + digits.substr(0, 60) + "...' of well A2 (wavelength 1, read 1) is not a finite number!"},
    };
    ImportedPlate loaded = test::Import(MiniPlate{}.Text());
    const TDataArray before = loaded.plate.PlateData;
    for (const Case& c : cases) {
        test::ScriptedInteraction answers(MergeAnswer::Yes, c.offset);
        EXPECT_EQ(test::Refusal(c.text, answers), c.message);
        EXPECT_EQ(answers.hidden, answers.shown) << c.message;
        try {
            loaded = test::Import(c.text, answers);
        } catch (const std::exception&) {
        }
    }
    EXPECT_EQ(loaded.plate.PlateData, before);
}

} // namespace
} // namespace movra
