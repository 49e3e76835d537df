// The results model: window operations see every row at once, the view hears of rows and cell
// changes in batches, and clearing resets both.
#include <gtest/gtest.h>

#include <QSignalSpy>

#include "app/resultsmodel.h"
#include "tests/app/windowtesting.h"

namespace lq::test {
namespace {

TEST(ResultsModel, RowsReachTheViewInBatchesAndCellsStayExact) {
    ResultsModel model;
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    for (int i = 0; i < 50; ++i) {
        const int row = model.AppendRow();
        EXPECT_EQ(row, i);
        model.SetCellText(row, 1, QStringLiteral("<b>%1</b>").arg(i));
    }
    EXPECT_EQ(model.RowCount(), 50);
    EXPECT_EQ(model.CellText(7, 1), QStringLiteral("<b>7</b>"));
    EXPECT_EQ(model.rowCount(), 0);  // nothing published yet
    // The timer publishes them in one insertion.
    ASSERT_TRUE(WaitUntil([&model] { return model.rowCount() == 50; }, 2000));
    EXPECT_EQ(inserted.count(), 1);
    EXPECT_EQ(model.data(model.index(49, 1), Qt::DisplayRole).toString(),
              QStringLiteral("<b>49</b>"));

    // A change to a published row reaches the view as one change over the rows touched.
    model.SetCellText(3, 4, QStringLiteral("http://a.example/3"));
    model.SetCellText(9, 4, QStringLiteral("http://a.example/9"));
    model.Publish();
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.at(0).at(0).value<QModelIndex>().row(), 3);
    EXPECT_EQ(changed.at(0).at(1).value<QModelIndex>().row(), 9);

    // Out-of-range cells change nothing and read as empty.
    model.SetCellText(50, 0, QStringLiteral("x"));
    model.SetCellText(0, 5, QStringLiteral("x"));
    EXPECT_EQ(model.CellText(-1, 4), QString());
    EXPECT_EQ(model.CellText(50, 0), QString());

    model.ClearRows();
    EXPECT_EQ(model.RowCount(), 0);
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(model.AppendRow(), 0);
}

}  // namespace
}  // namespace lq::test
