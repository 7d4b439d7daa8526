// The review grid's copy commands: the selection and the whole grid as
// TAB-separated rows ended by CR alone.

#include <QAction>
#include <QMenu>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/data_review_page.h"
#include "app/grid_model.h"
#include "app_test_environment.h"

namespace movra {
namespace {

// A small grid: "c,r" in every cell except column 0 and the corner.
class NumberedCells final : public GridCells {
public:
    NumberedCells(int columns, int rows) : columns_(columns), rows_(rows) {}
    int columnCount() const override { return columns_; }
    int rowCount() const override { return rows_; }
    std::string text(int column, int row) const override
    {
        if (column == 0)
            return {};
        return std::to_string(column) + "," + std::to_string(row);
    }

private:
    int columns_;
    int rows_;
};

TEST(ReviewGridTest, CopyOfSelectedBlockGivesRowsEndedByCarriageReturn)
{
    DataReviewPage page;
    page.setReviewCells(std::make_unique<NumberedCells>(6, 4));
    page.selectCells({3, 1, 4, 2});
    page.CopySRaw();
    EXPECT_EQ(test::ClipboardText(), "3,1\t4,1\r3,2\t4,2\r");
}

TEST(ReviewGridTest, CopyWithoutSelectionCopiesTheCurrentCell)
{
    DataReviewPage page;
    page.setReviewCells(std::make_unique<NumberedCells>(6, 4));
    page.CopySRaw();
    EXPECT_EQ(test::ClipboardText(), "1,1\r");
}

TEST(ReviewGridTest, CopyAllSkipsColumnZeroAndIncludesHeaderRow)
{
    DataReviewPage page;
    page.setReviewCells(std::make_unique<NumberedCells>(4, 3));
    page.CopytoExcel1Click();
    EXPECT_EQ(test::ClipboardText(), "1,0\t2,0\t3,0\r1,1\t2,1\t3,1\r1,2\t2,2\t3,2\r");
}

TEST(ReviewGridTest, CopyAllOfTheEmptyStartGridGives200RowsOf192Tabs)
{
    DataReviewPage page;
    page.CopytoExcel1Click();
    const std::string row = std::string(192, '\t') + '\r';
    std::string expected;
    for (int r = 0; r < 200; ++r)
        expected += row;
    EXPECT_EQ(test::ClipboardText(), expected);
}

TEST(ReviewGridTest, HeadersShowFixedRowAndColumn)
{
    DataReviewPage page;
    page.setReviewCells(std::make_unique<NumberedCells>(4, 3));
    const GridModel& model = page.reviewModel();
    EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString().toStdString(), "1,0");
    EXPECT_EQ(model.data(model.index(1, 2)).toString().toStdString(), "3,2");
    EXPECT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.columnCount(), 3);
}

TEST(ReviewGridTest, ClearingKeepsOnlyTheFixedRowAndColumn)
{
    DataReviewPage page;
    page.setReviewCells(std::make_unique<NumberedCells>(4, 3));
    page.ClearCells();
    EXPECT_EQ(page.reviewModel().gridText(2, 0), "2,0");
    EXPECT_EQ(page.reviewModel().gridText(2, 1), "");
    EXPECT_EQ(page.reviewModel().gridColumnCount(), 4);
}

TEST(ReviewGridTest, PopupItemsRunTheCopyCommands)
{
    DataReviewPage page;
    page.setReviewCells(std::make_unique<NumberedCells>(3, 2));
    page.selectCells({2, 1, 2, 1});
    page.PopupMenu2().actions()[0]->trigger();
    EXPECT_EQ(test::ClipboardText(), "2,1\r");
    page.PopupMenu2().actions()[1]->trigger();
    EXPECT_EQ(test::ClipboardText(), "1,0\t2,0\r1,1\t2,1\r");
}

} // namespace
} // namespace movra
