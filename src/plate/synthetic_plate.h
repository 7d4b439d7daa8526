#pragma once
// Writes realistic SpectraMax plate-format text files from known curves, for
// the bundled demo plates, tests and benchmarks. Each well follows a sigmoid
// or exponential curve whose parameters are known (see KineticCurve), with
// seeded Gaussian noise, so fitted parameters can be compared with the truth.
// The layout follows the instrument software's export: "##BLOCKS=" line,
// plate header, column header, reads of rows + 1 lines, a reduced "Time"
// section, "~End" and a footer.

#include <cstdint>
#include <string>
#include <vector>

namespace movra {

// y(x) = m1 + (m2 + m3 x) / (1 + exp((m4 - x) / m5)) for Sigmoid,
// y(x) = m1 + m2 (1 - exp(-m3 x)) for Exponential; x in hours.
struct KineticCurve {
    enum class Shape { Sigmoid, Exponential };
    Shape shape = Shape::Sigmoid;
    double m1 = 0.1, m2 = 0.8, m3 = 0.0, m4 = 0.5, m5 = 0.1;
    double Value(double x) const;
};

struct SyntheticPlateOptions {
    std::string mode = "Kinetic";          // "Kinetic" or "Spectrum"
    int wellCount = 96;                    // 96 or 384
    std::vector<int> waveLengths = {405};  // kinetic: one entry per wavelength
    int reads = 61;                        // reads written per block (kinetic)
    int intervalSeconds = 120;
    int secondBlockReads = 0;              // > 0: a second kinetic block follows
    bool version13 = false;                // "1.3" header (with the extra field) instead of "1.2"
    bool commaDecimal = false;             // "0,1234" instead of "0.1234"
    int trailingEmptyReads = 0;            // announced reads that hold no values
    bool specialCells = false;             // a saturated well ("#Sat"), an "Error" and a "#Low"
    int spectrumStart = 400, spectrumEnd = 700, spectrumStep = 10;
    double noise = 0.002;                  // standard deviation of the added noise
    std::uint32_t seed = 1;
    std::string lineEnd = "\r\n";
    // Wells of the lower half follow exponential curves instead of the demo sigmoids.
    bool exponentialLowerHalf = false;
};

// The curve of well w on the demo plate: columns 1-3, 4-6, 7-9 and 10-12
// (on 384 wells 1-6, 7-12, 13-18, 19-24) follow DemoSampleCurve(1..4).
KineticCurve DemoSampleCurve(int sample);
KineticCurve DemoCurveOfWell(int well, int plateColumns);

// With one wavelength a well reads background + curve. With several, the
// first reads the background and each later one adds the well's curve times
// 1, 0.5, 0.25, ... to the first reading as written, so "b-a" is the curve.
inline constexpr double kDemoBackground = 0.045;

std::string WriteSyntheticPlate(const SyntheticPlateOptions& options);

} // namespace movra
