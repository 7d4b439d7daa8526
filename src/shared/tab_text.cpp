#include "shared/tab_text.h"

namespace movra {

std::string TabSeparatedText(int firstColumn, int lastColumn, int firstRow, int lastRow,
                             const CellTextAppender& appendCell)
{
    std::string text;
    for (int row = firstRow; row <= lastRow; ++row) {
        for (int column = firstColumn; column <= lastColumn; ++column) {
            if (column > firstColumn) text += '\t';
            appendCell(column, row, text);
        }
        text += '\r';
    }
    return text;
}

} // namespace movra
