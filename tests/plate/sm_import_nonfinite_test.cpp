// Numbers too large for a double (such as "1E999") never enter a plate as
// infinities: the import refuses the file and names the cell, the
// temperature, the x value or the time offset that does not fit.
#include <gtest/gtest.h>

#include <string>

#include "mini_plate.h"
#include "plate/import_errors.h"
#include "plate/sm_import.h"
#include "scripted_interaction.h"

namespace movra {
namespace {

using test::MiniPlate;
using test::ScriptedInteraction;

// Well B3 is index 14 on a 96-well plate.
constexpr int kWellB3 = 14;

MiniPlate PlateWithCell(const std::string& text, int read, int waveLength, int well)
{
    MiniPlate plate;
    plate.waveLengths = 2;
    plate.waveLengthCount = "2";
    plate.firstList = "340 405 ";
    plate.secondList = "0 0 ";
    plate.cell = [=](int t, int k, int w) {
        if (t == read && k == waveLength && w == well) return text;
        return std::to_string(w + 1) + ".5";
    };
    return plate;
}

std::string RefusalOf(const MiniPlate& plate, ScriptedInteraction& answers)
{
    try {
        ImportSMText(TextLines(plate.Text()), answers);
    } catch (const ImportError& error) {
        return error.what();
    }
    return "imported";
}

std::string RefusalOf(const MiniPlate& plate)
{
    ScriptedInteraction answers;
    return RefusalOf(plate, answers);
}

TEST(NonFiniteReadings, HugeExponentInACellRefusesTheFileNamingTheCell)
{
    EXPECT_EQ(RefusalOf(PlateWithCell("1E999", 1, 0, kWellB3)),
              "The reading '1E999' of well B3 (wavelength 1, read 2) is not a finite number!");
}

TEST(NonFiniteReadings, NegativeOverflowAndSecondWavelengthAreNamedToo)
{
    EXPECT_EQ(RefusalOf(PlateWithCell("-1E400", 0, 1, 0)),
              "The reading '-1E400' of well A1 (wavelength 2, read 1) is not a finite number!");
    EXPECT_EQ(RefusalOf(PlateWithCell("1,5E999", 0, 0, 95)),
              "The reading '1,5E999' of well H12 (wavelength 1, read 1) is not a finite number!");
}

TEST(NonFiniteReadings, TooManyDigitsWithoutExponentAreRefused)
{
    const std::string digits(320, '9');
    const std::string message = RefusalOf(PlateWithCell(digits, 0, 0, 1));
    EXPECT_EQ(message, "The reading '" + digits.substr(0, 60) +
                           "...' of well A2 (wavelength 1, read 1) is not a finite number!");
}

TEST(NonFiniteReadings, LargestFiniteAndUnderflowingValuesAreRead)
{
    const MiniPlate big = PlateWithCell("1.7E308", 0, 0, 1);
    ScriptedInteraction answers;
    const auto imported = ImportSMText(TextLines(big.Text()), answers);
    ASSERT_TRUE(imported.has_value());
    EXPECT_EQ(imported->plate.Reading(1, 1, 0), 1.7e308);

    const MiniPlate tiny = PlateWithCell("1E-400", 1, 1, 2);
    const auto underflow = ImportSMText(TextLines(tiny.Text()), answers);
    ASSERT_TRUE(underflow.has_value());
    EXPECT_EQ(underflow->plate.Reading(2, 2, 1), 0.0);
}

TEST(NonFiniteReadings, RefusalHidesTheProgressWindow)
{
    ScriptedInteraction answers;
    RefusalOf(PlateWithCell("1E999", 1, 0, kWellB3), answers);
    EXPECT_EQ(answers.shown, 1);
    EXPECT_EQ(answers.hidden, 1);
}

TEST(NonFiniteTemperatures, HugeTemperatureRefusesTheFile)
{
    MiniPlate plate;
    plate.temperature = "-1E400";
    EXPECT_EQ(RefusalOf(plate), "The temperature '-1E400' of read 1 is not a finite number!");
}

TEST(NonFiniteX, HugeTimeOffsetIsRefusedBeforeReading)
{
    MiniPlate plate;
    ScriptedInteraction answers;
    answers.timeOffsetAnswer = "1E999";
    EXPECT_EQ(RefusalOf(plate, answers), "The time offset '1E999' is not a finite number!");
    EXPECT_EQ(answers.shown, 0);
}

TEST(NonFiniteX, HugeXTextsAreNotNumbersOfTheirColumn)
{
    MiniPlate kinetic;
    kinetic.xTexts = {"0:00", "1E999"};
    ScriptedInteraction answers;
    EXPECT_THROW(ImportSMText(TextLines(kinetic.Text()), answers), ConversionError);

    MiniPlate spectrum;
    spectrum.mode = "Spectrum";
    spectrum.xTexts = {"400", "1E999"};
    EXPECT_THROW(ImportSMText(TextLines(spectrum.Text()), answers), ConversionError);
}

} // namespace
} // namespace movra
