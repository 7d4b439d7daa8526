#include "plate/plate_layout.h"

#include <algorithm>
#include <utility>

#include "shared/conversion.h"
#include "shared/one_based.h"

namespace movra {
namespace {

const std::string kEmpty;

GridSelection ClampToPlate(const GridSelection& selection, int colCount, int rowCount)
{
    // Header cells are never selectable; a selection is always inside the plate.
    GridSelection s = selection;
    s.Left = std::clamp(s.Left, 1, colCount - 1);
    s.Right = std::clamp(s.Right, 1, colCount - 1);
    s.Top = std::clamp(s.Top, 1, rowCount - 1);
    s.Bottom = std::clamp(s.Bottom, 1, rowCount - 1);
    if (s.Left > s.Right) std::swap(s.Left, s.Right);
    if (s.Top > s.Bottom) std::swap(s.Top, s.Bottom);
    return s;
}

} // namespace

std::int32_t SampleNumberOfLabel(const std::string& label)
{
    return StrToInt(label.size() > 6 ? std::string_view(label).substr(6) : std::string_view());
}

PlateLayout::PlateLayout() : cells_(kMaxColumns * kMaxRows) {}

void PlateLayout::SetGeometryForWellCount(int wellCount)
{
    if (wellCount == 96) {
        colCount_ = 13;
        rowCount_ = 9;
    } else if (wellCount == 384) {
        colCount_ = 25;
        rowCount_ = 17;
    }
}

const std::string& PlateLayout::Cell(int column, int row) const
{
    if (column < 0 || column >= kMaxColumns || row < 0 || row >= kMaxRows) return kEmpty;
    return At(cells_, row * kMaxColumns + column);
}

void PlateLayout::SetCell(int column, int row, std::string text)
{
    if (column < 0 || column >= kMaxColumns || row < 0 || row >= kMaxRows) return;
    At(cells_, row * kMaxColumns + column) = std::move(text);
}

void PlateLayout::OfferTag(int tag)
{
    // Items are kept highest first, so a number finds its place by value.
    const auto place = std::find_if(menuTags_.begin(), menuTags_.end(), [tag](int t) { return t <= tag; });
    if (place == menuTags_.end() || *place != tag) menuTags_.insert(place, tag);
}

bool PlateLayout::AssignSample(int tag, const GridSelection& selection, std::int32_t& sampleCount)
{
    const GridSelection s = ClampToPlate(selection, colCount_, rowCount_);
    const std::string label = "Sample" + std::to_string(tag);
    for (int row = s.Top; row <= s.Bottom; ++row)
        for (int column = s.Left; column <= s.Right; ++column) SetCell(column, row, label);
    const bool offered = std::find(menuTags_.begin(), menuTags_.end(), tag) != menuTags_.end();
    if (offered && tag != sampleCount) return false;
    OfferTag(tag);
    if (tag >= sampleCount) {
        sampleCount = tag + 1;
        OfferTag(sampleCount);
    }
    return true;
}

std::vector<SampleUse> PlateLayout::SamplesInUse() const
{
    std::vector<SampleUse> uses;
    for (int row = 1; row <= PlateRows(); ++row)
        for (int column = 1; column <= PlateColumns(); ++column) {
            const std::string& text = Cell(column, row);
            if (text.empty()) continue;
            const auto use = std::find_if(uses.begin(), uses.end(), [&](const SampleUse& u) { return u.Label == text; });
            if (use != uses.end()) {
                ++use->Wells;
                continue;
            }
            std::int32_t number = 0;
            try {
                number = SampleNumberOfLabel(text);
            } catch (const ConversionError&) {
            }
            uses.push_back({text, number, 1});
        }
    std::stable_sort(uses.begin(), uses.end(), [](const SampleUse& a, const SampleUse& b) { return a.Number < b.Number; });
    return uses;
}

void PlateLayout::OfferSamplesInUse(std::int32_t& sampleCount)
{
    std::vector<int> tags;
    for (const SampleUse& use : SamplesInUse())
        if (use.Number >= 1) tags.insert(tags.begin(), use.Number);
    if (tags.empty()) return;
    sampleCount = tags.front() + 1;
    tags.insert(tags.begin(), sampleCount);
    menuTags_ = std::move(tags);
}

void PlateLayout::ClearCells(const GridSelection& selection)
{
    const GridSelection s = ClampToPlate(selection, colCount_, rowCount_);
    for (int row = s.Top; row <= s.Bottom; ++row)
        for (int column = s.Left; column <= s.Right; ++column) SetCell(column, row, std::string());
}

std::vector<std::string> PlateLayout::CheckPLSamples() const
{
    // The scan follows the grid's plate geometry, so a layout made before the
    // first import is listed too.
    std::vector<std::string> labels;
    for (int row = 1; row <= PlateRows(); ++row)
        for (int column = 1; column <= PlateColumns(); ++column) {
            const std::string& text = Cell(column, row);
            if (!text.empty() && std::find(labels.begin(), labels.end(), text) == labels.end())
                labels.push_back(text);
        }
    // Numbers first, so that a bad label fails before anything is reordered.
    std::vector<std::pair<std::int32_t, std::string>> numbered;
    numbered.reserve(labels.size());
    for (auto& label : labels) numbered.emplace_back(SampleNumberOfLabel(label), std::move(label));
    std::stable_sort(numbered.begin(), numbered.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    labels.clear();
    for (auto& entry : numbered) labels.push_back(std::move(entry.second));
    return labels;
}

void PlateLayout::Reset()
{
    for (int row = 1; row < kMaxRows; ++row)
        for (int column = 1; column < kMaxColumns; ++column) SetCell(column, row, std::string());
    for (int column = 1; column < kMaxColumns; ++column) SetCell(column, 0, std::to_string(column));
    for (int row = 1; row < kMaxRows; ++row) SetCell(0, row, std::string(1, static_cast<char>('A' + row - 1)));
}

} // namespace movra
