#include "batch/sample_pictures.h"

#include <algorithm>

#include "shared/one_based.h"

namespace movra {

std::vector<SamplePicture> SamplePictures(const PlateMeasurements& plate, const std::vector<BatchCurve>& curves,
                                          bool averageData)
{
    std::vector<SamplePicture> pictures;
    const int columns = std::max(plate.PlateColumns, 1);
    const auto columnMajor = [columns](int a, int b) {
        return std::pair(a % columns, a / columns) < std::pair(b % columns, b / columns);
    };
    for (std::size_t first = 0; first < curves.size();) {
        const int sample = curves[first].Sample;
        std::vector<int> wells;
        std::size_t next = first;
        for (; next < curves.size() && curves[next].Sample == sample; ++next)
            wells.insert(wells.end(), curves[next].Wells.begin(), curves[next].Wells.end());
        const std::string name = "Sample" + std::to_string(sample);
        if (averageData) {
            pictures.push_back({name, sample, std::move(wells)});
        } else {
            std::sort(wells.begin(), wells.end(), columnMajor);
            for (std::size_t i = 0; i < wells.size(); i += kMaxShownCurves) {
                const auto begin = wells.begin() + static_cast<std::ptrdiff_t>(i);
                const auto end = wells.begin() + static_cast<std::ptrdiff_t>(std::min(i + kMaxShownCurves, wells.size()));
                const std::string part = i == 0 ? "" : "-" + std::to_string(i / kMaxShownCurves + 1);
                pictures.push_back({name + part, sample, std::vector<int>(begin, end)});
            }
        }
        first = next;
    }
    return pictures;
}

ShownCurves PictureCurves(const SamplePicture& picture, CombinedValues& values, int timePointCount,
                          bool averageData)
{
    ShownCurves curves;
    curves.Reset();
    AllocMatrix(curves.ReducedData, kMaxShownCurves, timePointCount);
    std::vector<std::vector<int>> shown;
    if (averageData)
        shown.push_back(picture.Wells);
    else
        for (int well : picture.Wells) shown.push_back({well});
    int c = 1;
    for (const std::vector<int>& wells : shown) {
        if (wells.empty() || c > kMaxShownCurves) break;
        At(curves.ShownWells, c) = wells.front();
        At(curves.ReducedData, c) = CombinedCurve(values, wells, timePointCount);
        ++c;
    }
    At(curves.ShownWells, c) = -1;
    return curves;
}

} // namespace movra
