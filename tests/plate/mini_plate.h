#pragma once
// Builds small plate-format texts in a few lines for tests: a kinetic or
// spectrum header with chosen fields, reads whose cells come from a
// function, and an optional tail.

#include <functional>
#include <string>
#include <vector>

namespace movra::test {

struct MiniPlate {
    std::string blockLine = "##BLOCKS= 1          ";
    std::string mode = "Kinetic";
    bool version13 = false;  // "1.3" with the extra field (fluorescence layout), else "1.2"
    std::string version;     // overrides the version text when set
    std::string announced = "2";
    std::string waveLengthCount = "1";
    std::string firstList = "405 ";
    std::string secondList = "0 ";
    std::string wellCount = "96";
    std::string columnHeader;  // the whole column header line, when set
    std::vector<std::string> xTexts = {"0:00", "1:00"};
    std::string temperature = "37.00";
    int waveLengths = 1;
    // Cell text of well w at wavelength k (from 0) in read t.
    std::function<std::string(int t, int k, int w)> cell = [](int, int, int w) {
        return std::to_string(w + 1) + ".5";
    };
    std::string tail = "~End\r\n";
    std::string preamble;        // text between the block line and the header (ends with a line end)
    std::string headerOverride;  // the whole header line, when set
    std::string lineEnd = "\r\n";

    int Rows() const { return wellCount == "384" ? 16 : 8; }
    int Columns() const { return wellCount == "384" ? 24 : 12; }

    std::string Header() const
    {
        std::string v = version.empty() ? (version13 ? "1.3" : "1.2") : version;
        std::string h = "Plate:\tPlate1\t" + v + "\tPlateFormat\t" + mode +
                        (version13 ? "\tFluorescence\tFALSE\tRaw\tFALSE\t" : "\tAbsorbance\tRaw\tFALSE\t") + announced;
        if (mode == "Spectrum")
            return h + "\t\t\t400\t420\t10\t\t\t1\t" + std::to_string(Columns()) + "\t" + wellCount + "\t1\t" +
                   std::to_string(Rows()) + "\tNone\tend\t";
        return h + "\t60\t30\t\t\t\t" + waveLengthCount + "\t" + firstList + "\t1\t" + std::to_string(Columns()) +
               "\t" + wellCount + "\t" + secondList + "\t" + std::to_string(Rows()) + "\tNone\t";
    }

    // Captions, then the column numbers of every wavelength as exports have them.
    std::string ColumnHeader() const
    {
        if (!columnHeader.empty()) return columnHeader;
        std::string text = mode == "Spectrum" ? "Wavelength\tTemperature(C)\t" : "Time(hh:mm:ss)\tTemperature(C)\t";
        for (int k = 0; k < waveLengths; ++k) {
            for (int c = 1; c <= Columns(); ++c) text += std::to_string(c) + "\t";
            text += "\t";
        }
        return text;
    }

    std::string Read(int t) const
    {
        std::string text;
        for (int row = 0; row < Rows(); ++row) {
            text += row == 0 ? xTexts[static_cast<std::size_t>(t)] + "\t" + temperature + "\t" : std::string("\t\t");
            for (int k = 0; k < waveLengths; ++k) {
                for (int c = 0; c < Columns(); ++c) text += cell(t, k, row * Columns() + c) + "\t";
                text += "\t";
            }
            text += lineEnd;
        }
        return text + "\t\t" + lineEnd;
    }

    std::string Text() const
    {
        std::string text = blockLine + lineEnd + preamble + (headerOverride.empty() ? Header() : headerOverride) +
                           lineEnd + ColumnHeader() + lineEnd;
        for (int t = 0; t < static_cast<int>(xTexts.size()); ++t) text += Read(t);
        return text + tail;
    }
};

} // namespace movra::test
