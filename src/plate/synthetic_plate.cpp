#include "plate/synthetic_plate.h"
#include "shared/one_based.h"

#include <cmath>
#include <cstdio>
#include <random>

namespace movra {
namespace {

constexpr double kPi = 3.14159265358979323846;

// Gaussian noise from a fixed generator, so that a seed gives the same file
// on every platform (std::normal_distribution may differ between libraries).
class Noise {
public:
    Noise(std::uint32_t seed, double sd) : engine_(seed), sd_(sd) {}
    double Next()
    {
        if (sd_ == 0.0) return 0.0;
        const double u1 = (static_cast<double>(engine_()) + 1.0) / 4294967297.0;
        const double u2 = static_cast<double>(engine_()) / 4294967296.0;
        return sd_ * std::sqrt(-2.0 * std::log(u1)) * std::cos(2.0 * kPi * u2);
    }

private:
    std::mt19937 engine_;
    double sd_;
};

// Instrument-style clock text: m:ss below an hour, then h:mm:ss.
std::string ClockText(int seconds)
{
    char text[32];
    if (seconds < 3600)
        std::snprintf(text, sizeof text, "%d:%02d", seconds / 60, seconds % 60);
    else
        std::snprintf(text, sizeof text, "%d:%02d:%02d", seconds / 3600, seconds / 60 % 60, seconds % 60);
    return text;
}

class PlateWriter {
public:
    explicit PlateWriter(const SyntheticPlateOptions& options)
        : o_(options), noise_(options.seed, options.noise),
          rows_(options.wellCount == 384 ? 16 : 8), columns_(options.wellCount == 384 ? 24 : 12)
    {
    }

    std::string Write()
    {
        const bool kinetic = o_.mode == "Kinetic";
        text_ += "##BLOCKS= " + std::to_string(o_.secondBlockReads > 0 ? 2 : 1) + "          " + o_.lineEnd;
        if (kinetic) {
            WriteKineticBlock(o_.reads + o_.trailingEmptyReads, o_.reads);
            if (o_.secondBlockReads > 0) {
                WriteReducedSection();
                // Pad to the fixed distance between a block's "Time" line and the next block's header.
                const int used = 1 + rows_ + 1;
                if (used < 18) {
                    text_ += "Note:" + o_.lineEnd;
                    for (int i = 0; i < 18 - used - 2; ++i) text_ += "Second block follows." + o_.lineEnd;
                    text_ += "~End" + o_.lineEnd;
                }
                WriteKineticBlock(o_.secondBlockReads, o_.secondBlockReads);
            }
        } else {
            WriteSpectrumBlock();
        }
        WriteReducedSection();
        text_ += "Original Filename: synthetic plate   Date Last Saved: 12/6/2026" + o_.lineEnd;
        return std::move(text_);
    }

private:
    std::string Number(double value, int decimals) const
    {
        char buffer[48];
        std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
        if (o_.commaDecimal)
            for (char* p = buffer; *p; ++p)
                if (*p == '.') *p = ',';
        return buffer;
    }

    // Fields 1..8 and, for a 1.3 header, the extra field of that layout.
    std::string HeaderStart(const char* mode) const
    {
        std::string header = "Plate:\tPlate1\t";
        header += o_.version13 ? (o_.commaDecimal ? "1,3" : "1.3") : (o_.commaDecimal ? "1,2" : "1.2");
        header += "\tPlateFormat\t";
        header += mode;
        header += o_.version13 ? "\tFluorescence\tFALSE\tRaw\tFALSE\t" : "\tAbsorbance\tRaw\tFALSE\t";
        return header;
    }

    std::string ColumnHeader(const char* xCaption, int groups) const
    {
        std::string line = xCaption;
        line += "\tTemperature(\xA1" "C)\t";
        for (int k = 0; k < groups; ++k) {
            for (int c = 1; c <= columns_; ++c) line += std::to_string(c) + "\t";
            line += "\t";
        }
        return line + o_.lineEnd;
    }

    void WriteKineticBlock(int announced, int filled)
    {
        const int waveLengthCount = static_cast<int>(o_.waveLengths.size());
        std::string header = HeaderStart("Kinetic");
        header += std::to_string(announced) + "\t" + std::to_string(announced * o_.intervalSeconds) + "\t" +
                  std::to_string(o_.intervalSeconds) + "\t\t\t\t" + std::to_string(waveLengthCount) + "\t";
        std::string second;
        for (int k = 0; k < waveLengthCount; ++k) {
            header += std::to_string(At(o_.waveLengths, k)) + " ";
            second += "0 ";
        }
        header += "\t1\t" + std::to_string(columns_) + "\t" + std::to_string(o_.wellCount) + "\t" + second + "\t" +
                  std::to_string(rows_) + "\tNone\t" + o_.lineEnd;
        text_ += header;
        text_ += ColumnHeader("Time(hh:mm:ss)", waveLengthCount);
        for (int read = 0; read < announced; ++read) {
            const int seconds = read * o_.intervalSeconds;
            const bool empty = read >= filled;
            WriteRead(ClockText(seconds), empty ? "0.00" : Number(37.0, 2), seconds / 3600.0, read, empty,
                      waveLengthCount);
        }
    }

    void WriteSpectrumBlock()
    {
        const int reads = (o_.spectrumEnd - o_.spectrumStart) / o_.spectrumStep + 1;
        std::string header = HeaderStart("Spectrum");
        header += std::to_string(reads) + "\t\t\t" + std::to_string(o_.spectrumStart) + "\t" +
                  std::to_string(o_.spectrumEnd) + "\t" + std::to_string(o_.spectrumStep) + "\t\t\t1\t" +
                  std::to_string(columns_) + "\t" + std::to_string(o_.wellCount) + "\t1\t" + std::to_string(rows_) +
                  "\tNone\t\t" + o_.lineEnd;
        text_ += header;
        text_ += ColumnHeader("Wavelength", 1);
        for (int read = 0; read < reads; ++read) {
            const int wavelength = o_.spectrumStart + read * o_.spectrumStep;
            WriteRead(std::to_string(wavelength), Number(25.0, 2), wavelength, read, false, 1);
        }
    }

    double Reading(int well, int k, double x, double firstReading)
    {
        if (o_.mode != "Kinetic") {
            // An absorbance band whose height grows along the plate.
            const double height = 0.2 + 0.02 * well;
            const double d = (x - 550.0) / 60.0;
            return kDemoBackground + height * std::exp(-0.5 * d * d) + noise_.Next();
        }
        KineticCurve curve = DemoCurveOfWell(well, columns_);
        if (o_.exponentialLowerHalf && well >= o_.wellCount / 2)
            curve = {KineticCurve::Shape::Exponential, 0.10, 0.70, 2.0 + 0.1 * (well % columns_), 0.0, 1.0};
        if (o_.specialCells && well == o_.wellCount - 1) curve.m2 = 6.0;  // saturates
        if (o_.waveLengths.size() == 1) return kDemoBackground + curve.Value(x) + noise_.Next();
        if (k == 0) return kDemoBackground + noise_.Next();
        return firstReading + std::ldexp(curve.Value(x), 1 - k) + noise_.Next();
    }

    void WriteRead(const std::string& xText, const std::string& temperature, double x, int read, bool empty,
                   int waveLengthCount)
    {
        for (int row = 0; row < rows_; ++row) {
            text_ += row == 0 ? xText + "\t" + temperature + "\t" : std::string("\t\t");
            std::vector<double> first(static_cast<std::size_t>(columns_));
            for (int k = 0; k < waveLengthCount; ++k) {
                for (int c = 0; c < columns_; ++c) {
                    const int well = row * columns_ + c;
                    if (!empty) {
                        const double value = Reading(well, k, x, At(first, c));
                        // What the file shows is what b-a sees: round the first reading first.
                        const double shown = std::round(value * 10000.0) / 10000.0;
                        if (k == 0) At(first, c) = shown;
                        text_ += CellText(well, read, shown);
                    }
                    text_ += "\t";
                }
                text_ += "\t";
            }
            text_ += o_.lineEnd;
        }
        text_ += "\t\t" + o_.lineEnd;
    }

    std::string CellText(int well, int read, double value) const
    {
        if (o_.specialCells) {
            if (value > 3.5) return "#Sat";
            if (well == o_.wellCount - 2 && read == 3) return "Error";
            if (well == o_.wellCount - 3 && read == 1) return "#Low";
        }
        return Number(value, 4);
    }

    // Per-well rates after the reads, headed by a "Time" line, then "~End".
    void WriteReducedSection()
    {
        std::string line = "Time(hh:mm:ss)\t\t";
        for (int c = 1; c <= columns_; ++c) line += std::to_string(c) + "\t";
        text_ += line + "\t" + o_.lineEnd;
        for (int row = 0; row < rows_; ++row) {
            std::string rates = "\t\t";
            for (int c = 0; c < columns_; ++c) rates += Number(0.5 + 0.01 * (row * columns_ + c), 3) + "\t";
            text_ += rates + "\t" + o_.lineEnd;
        }
        text_ += "~End" + o_.lineEnd;
    }

    const SyntheticPlateOptions& o_;
    Noise noise_;
    int rows_;
    int columns_;
    std::string text_;
};

} // namespace

double KineticCurve::Value(double x) const
{
    if (shape == Shape::Exponential) return m1 + m2 * (1.0 - std::exp(-m3 * x));
    return m1 + (m2 + m3 * x) / (1.0 + std::exp((m4 - x) / m5));
}

KineticCurve DemoSampleCurve(int sample)
{
    switch (sample) {
    case 1: return {KineticCurve::Shape::Sigmoid, 0.10, 0.80, 0.00, 0.50, 0.10};
    case 2: return {KineticCurve::Shape::Sigmoid, 0.10, 0.60, 0.05, 0.75, 0.12};
    case 3: return {KineticCurve::Shape::Sigmoid, 0.12, 0.40, 0.10, 1.00, 0.15};
    default: return {KineticCurve::Shape::Sigmoid, 0.08, 1.00, 0.00, 1.25, 0.08};
    }
}

KineticCurve DemoCurveOfWell(int well, int plateColumns)
{
    const int column = well % plateColumns;
    return DemoSampleCurve(column / (plateColumns / 4) + 1);
}

std::string WriteSyntheticPlate(const SyntheticPlateOptions& options)
{
    return PlateWriter(options).Write();
}

} // namespace movra
