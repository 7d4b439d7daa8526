#pragma once
// What the import tests share: small plate-format texts built in a few
// lines, an interaction that answers from a script and records what the
// import asked, and the two ways a test runs an import (to its plate, or to
// the message it refused the file with).

#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "plate/sm_import.h"
#include "shared/test_helpers.h"

namespace movra::test {

// A kinetic or spectrum plate: header fields, reads whose cells come from a
// function, and optional texts before the header and after the reads.
struct MiniPlate {
    std::string blockLine = "##BLOCKS= 1          ";
    std::string mode = "Kinetic";
    bool version13 = false;                      // "1.3" with the extra field (fluorescence layout), else "1.2"
    std::string version = "";                    // overrides the version text when set
    std::string announced = "9";                 // more than written, so reading goes on to the tail
    std::vector<int> waves = {405};              // the first list; a read holds a group of cells per entry
    std::optional<std::string> secondList = {};  // a 0 for each wavelength unless set
    std::string wellCount = "96";
    std::optional<std::string> columnHeader = {};
    std::vector<std::string> xTexts = {"0:00", "1:00"};
    std::string temperature = "37.00";
    // Cell text of well w at wavelength k (from 0) in read t.
    std::function<std::string(int t, int k, int w)> cell = [](int, int, int w) { return std::to_string(w + 1) + ".5"; };
    std::string preamble = "";        // lines between the block line and the header
    std::string headerOverride = "";  // the whole header line, when set
    std::string tail = "~End\r\n";

    int Rows() const { return wellCount == "384" ? 16 : 8; }
    int Columns() const { return wellCount == "384" ? 24 : 12; }

    std::string Header() const
    {
        std::string first, zeros;
        for (const int wave : waves) { first += std::to_string(wave) + " "; zeros += "0 "; }
        return "Plate:\tPlate1\t" + (version.empty() ? (version13 ? "1.3" : "1.2") : version) + "\tPlateFormat\t" +
               mode + (version13 ? "\tFluorescence\tFALSE\tRaw\tFALSE\t" : "\tAbsorbance\tRaw\tFALSE\t") + announced +
               (mode == "Spectrum" ? "\t\t\t400\t420\t10\t\t\t1\t" : "\t60\t30\t\t\t\t" + std::to_string(waves.size()) +
                                                                    "\t" + first + "\t1\t") +
               std::to_string(Columns()) + "\t" + wellCount + "\t" +
               (mode == "Spectrum" ? "1\t8\tNone\tend\t" : secondList.value_or(zeros) + "\t8\tNone\t");
    }

    std::string Text() const
    {
        std::string text = blockLine + "\r\n" + preamble + (headerOverride.empty() ? Header() : headerOverride);
        text += "\r\n";
        std::string captions = mode == "Spectrum" ? "Wavelength\tTemperature(C)\t" : "Time(hh:mm:ss)\tTemperature(C)\t";
        for (std::size_t k = 0; k < waves.size(); ++k) {
            for (int c = 1; c <= Columns(); ++c) captions += std::to_string(c) + "\t";
            captions += "\t";
        }
        text += columnHeader.value_or(captions) + "\r\n";
        for (std::size_t t = 0; t < xTexts.size(); ++t) {
            for (int row = 0; row < Rows(); ++row) {
                text += row == 0 ? xTexts[t] + "\t" + temperature + "\t" : std::string("\t\t");
                for (std::size_t k = 0; k < waves.size(); ++k) {
                    for (int c = 0; c < Columns(); ++c)
                        text += cell(static_cast<int>(t), static_cast<int>(k), row * Columns() + c) + "\t";
                    text += "\t";
                }
                text += "\r\n";
            }
            text += "\t\t\r\n";
        }
        return text + tail;
    }
};

class ScriptedInteraction : public ImportInteraction {
public:
    explicit ScriptedInteraction(MergeAnswer merge = MergeAnswer::Yes, std::optional<std::string> offset = "0")
        : mergeAnswer(merge), timeOffsetAnswer(std::move(offset))
    {
    }
    MergeAnswer mergeAnswer;
    std::optional<std::string> timeOffsetAnswer;
    std::string asked;  // the texts of every question, one line each
    int shown = 0;
    int hidden = 0;
    std::vector<int> progress;

    MergeAnswer AskMergeBlocks(std::string_view text) override
    {
        asked += std::string(text) + "\n";
        return mergeAnswer;
    }
    std::optional<std::string> AskTimeOffset(std::string_view c, std::string_view p, std::string_view d) override
    {
        asked += std::string(c) + "|" + std::string(p) + "|" + std::string(d) + "\n";
        return timeOffsetAnswer;
    }
    void ShowProgress() override { ++shown; }
    void SetProgress(int percent) override { progress.push_back(percent); }
    void HideProgress() override { ++hidden; }
};

// A file of tests/data/plate, as its bytes.
inline std::string DataFile(const std::string& name)
{
    return ReadFileBytes(std::string(MOVRA_TEST_DATA) + "/plate/" + name);
}

inline ImportedPlate Import(const std::string& text, ScriptedInteraction& answers)
{
    auto imported = ImportSMText(TextLines(text), answers);
    if (!imported) throw std::runtime_error("import cancelled");
    return std::move(*imported);
}

inline ImportedPlate Import(const std::string& text)
{
    ScriptedInteraction answers;
    return Import(text, answers);
}

// "ImportError: <message>", "ConversionError: <message>", or "imported".
inline std::string Refusal(const std::string& text, ScriptedInteraction& answers)
{
    try {
        ImportSMText(TextLines(text), answers);
    } catch (const ImportError& error) {
        return std::string("ImportError: ") + error.what();
    } catch (const ConversionError& error) {
        return std::string("ConversionError: ") + error.what();
    }
    return "imported";
}

} // namespace movra::test
