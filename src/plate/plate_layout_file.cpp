#include "plate/plate_layout_file.h"

#include "plate/plate_measurements.h"
#include "shared/message_text.h"

namespace movra {
namespace {

// Takes the text before the next TAB off the line; without a TAB the field
// reads as empty and the line is left as it is.
std::string_view TakeTabField(std::string_view& line)
{
    const auto tab = line.find('\t');
    if (tab == std::string_view::npos) return {};
    const std::string_view field = line.substr(0, tab);
    line.remove_prefix(tab + 1);
    return field;
}

// "Sample" followed by 1..kMaxWells in its plain decimal form.
bool IsSampleLabel(std::string_view text)
{
    constexpr std::string_view kPrefix = "Sample";
    if (!text.starts_with(kPrefix)) return false;
    const std::string_view number = text.substr(kPrefix.size());
    if (number.empty() || number.size() > 3 || number.front() == '0') return false;
    int value = 0;
    for (const char c : number) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    return value <= kMaxWells;
}

} // namespace

std::vector<std::string> PlateLayoutLines(const PlateLayout& layout)
{
    std::vector<std::string> lines;
    for (int row = 1; row <= layout.PlateRows(); ++row) {
        std::string line;
        for (int column = 1; column <= layout.PlateColumns(); ++column) {
            line += layout.Cell(column, row);
            line += '\t';
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

std::string PlateLayoutFileText(const PlateLayout& layout)
{
    std::string text;
    for (const auto& line : PlateLayoutLines(layout)) {
        text += line;
        text += "\r\n";
    }
    return text;
}

void ApplyPlateLayoutLines(const TextLines& lines, PlateLayout& layout)
{
    const int rows = layout.PlateRows();
    const int columns = layout.PlateColumns();
    std::vector<std::string> cells;
    cells.reserve(static_cast<std::size_t>(rows * columns));
    bool assigned = false;
    for (int row = 1; row <= rows; ++row) {
        std::string_view line = lines.Line(static_cast<std::size_t>(row - 1));
        for (int column = 1; column <= columns; ++column) {
            const std::string_view field = TakeTabField(line);
            if (!field.empty() && !IsSampleLabel(field))
                throw LayoutFileError("Line " + std::to_string(row) + ", cell " + std::to_string(column) + ": " +
                                      QuotedForMessage(field) + " is not a sample label Sample1 to Sample" +
                                      std::to_string(kMaxWells) + "!");
            assigned = assigned || !field.empty();
            cells.emplace_back(field);
        }
    }
    if (!assigned)
        throw LayoutFileError("The layout assigns no well of this " + std::to_string(rows * columns) +
                              "-well plate!");
    std::size_t i = 0;
    for (int row = 1; row <= rows; ++row)
        for (int column = 1; column <= columns; ++column) layout.SetCell(column, row, std::move(cells[i++]));
}

} // namespace movra
