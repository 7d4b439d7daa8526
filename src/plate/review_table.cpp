#include "plate/review_table.h"

#include <cstdint>
#include <utility>

#include "shared/number_format.h"

namespace movra {

void ReviewTable::SetCaptions(std::string_view xCaption, std::string_view temperatureCaption)
{
    xCaption_ = xCaption;
    temperatureCaption_ = temperatureCaption;
}

void ReviewTable::SetReadingCaptions(std::vector<std::string> captions)
{
    readingCaptions_ = std::move(captions);
}

void ReviewTable::AddRead(std::string_view xText, std::string_view temperatureText)
{
    constexpr std::size_t kLongest = UINT32_MAX;
    xText = xText.substr(0, kLongest);
    temperatureText = temperatureText.substr(0, kLongest);
    readTexts_.push_back({textPool_.size(), static_cast<std::uint32_t>(xText.size()),
                          static_cast<std::uint32_t>(temperatureText.size())});
    textPool_.append(xText);
    textPool_.append(temperatureText);
}

void ReviewTable::Reserve(std::size_t reads, std::size_t textBytes)
{
    readTexts_.reserve(reads);
    textPool_.reserve(textBytes);
}

void ReviewTable::DropLastRead()
{
    if (readTexts_.empty()) return;
    textPool_.resize(readTexts_.back().offset);
    readTexts_.pop_back();
}

std::string ReviewTable::Cell(const PlateMeasurements& plate, int column, int row) const
{
    if (column <= 0 || row < 0 || column >= columns_ || row >= rows_) return {};
    const int wellCount = plate.WellCount;
    if (row == 0) {
        if (column == 1) return xCaption_;
        if (column == 2) return temperatureCaption_;
        if (readingCaptions_) {
            const auto index = static_cast<std::size_t>(column - 3);
            return index < readingCaptions_->size() ? (*readingCaptions_)[index] : std::string();
        }
        if (wellCount <= 0 || plate.PlateColumns <= 0) return {};
        const int well = (column - 3) % wellCount;
        const int wavelength = (column - 3) / wellCount + 1;
        if (wavelength > plate.WaveLengthCount) return {};
        std::string caption = WellName(well, plate.PlateColumns);
        if (plate.ReadMode == "Kinetic") {
            const auto& list = plate.WaveLengths[0];
            const auto k = static_cast<std::size_t>(wavelength - 1);
            if (k < list.size()) caption.insert(0, std::to_string(list[k]));
        }
        return caption;
    }
    const auto read = static_cast<std::size_t>(row - 1);
    if (read >= readTexts_.size()) return {};
    const ReadTexts& texts = readTexts_[read];
    if (column == 1) return textPool_.substr(texts.offset, texts.xLength);
    if (column == 2) return textPool_.substr(texts.offset + texts.xLength, texts.temperatureLength);
    const auto dataColumn = static_cast<std::size_t>(column - 1);  // 3 + i maps to PlateData column 2 + i
    if (dataColumn >= plate.PlateData.size() || read >= plate.PlateData[dataColumn].size()) return {};
    return FormatGeneral(plate.PlateData[dataColumn][read]);
}

} // namespace movra
