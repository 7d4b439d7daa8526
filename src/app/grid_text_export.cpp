#include "app/grid_text_export.h"

namespace movra {

std::string GridSelectionText(const GridCellText& cell, GridRect selection)
{
    std::string text;
    for (int r = selection.top; r <= selection.bottom; ++r) {
        for (int c = selection.left; c < selection.right; ++c) {
            text += cell(c, r);
            text += '\t';
        }
        text += cell(selection.right, r);
        text += '\r';
    }
    return text;
}

std::string GridAllText(const GridCellText& cell, int columnCount, int rowCount, int firstColumn)
{
    std::string text;
    for (int r = 0; r < rowCount; ++r) {
        text += cell(firstColumn, r);
        for (int c = firstColumn + 1; c < columnCount; ++c) {
            text += '\t';
            text += cell(c, r);
        }
        text += '\r';
    }
    return text;
}

} // namespace movra
