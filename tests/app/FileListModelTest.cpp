// The file list model: check boxes in the first column, texts centred but
// the path, the Output column rewritten for every row.
#include <gtest/gtest.h>

#include "app/FileListModel.h"
#include "app/OpenDialogFilter.h"

namespace trovenix::test {
namespace {

TEST(FileListModelTest, RowsShowTheirCellsAndCheckBoxes) {
  TFileListModel model;
  model.AppendRow(
      {"/v/a.avi", true, "640x480", "25", "00:01:00", "MP4", "", "", "", "", "", false});
  model.AppendRow({"/v/b.mp3", true, " ", " ", "00:03:00", "MP4", "", "", "", "", "", false});
  ASSERT_EQ(model.rowCount(), 2);
  EXPECT_EQ(model.data(model.index(0, 0), Qt::DisplayRole).toString(), "/v/a.avi");
  EXPECT_EQ(model.data(model.index(0, 1), Qt::DisplayRole).toString(), "640x480");
  EXPECT_EQ(model.data(model.index(0, 0), Qt::CheckStateRole).value<Qt::CheckState>(), Qt::Checked);
  EXPECT_FALSE(model.data(model.index(0, 1), Qt::CheckStateRole).isValid());
  EXPECT_TRUE(model.flags(model.index(0, 0)) & Qt::ItemIsUserCheckable);
  EXPECT_FALSE(model.flags(model.index(0, 0)) & Qt::ItemIsEditable);
  EXPECT_EQ(model.data(model.index(0, 0), Qt::TextAlignmentRole).value<Qt::Alignment>() &
                Qt::AlignHorizontal_Mask,
            Qt::AlignLeft);
  EXPECT_EQ(model.data(model.index(0, 3), Qt::TextAlignmentRole).value<Qt::Alignment>() &
                Qt::AlignHorizontal_Mask,
            Qt::AlignHCenter);

  EXPECT_TRUE(model.setData(model.index(1, 0), Qt::Unchecked, Qt::CheckStateRole));
  EXPECT_FALSE(model.Rows()[1].Checked);
  EXPECT_FALSE(model.setData(model.index(1, 2), Qt::Unchecked, Qt::CheckStateRole));

  model.SetOutputColumn("WMV");
  for (int r = 0; r < 2; ++r)
    EXPECT_EQ(model.data(model.index(r, TFileListModel::colOutput), Qt::DisplayRole).toString(),
              "WMV");
}

TEST(OpenDialogFilterTest, EntriesBecomeNameFiltersWithTheirPatterns) {
  const auto filters = NameFilters(OpenDialogFilterText());
  ASSERT_EQ(filters.size(), 24u);
  EXPECT_TRUE(filters[0].starts_with("All Supported Files (*.avi *.mpeg *.mpg"));
  EXPECT_TRUE(filters[0].ends_with("*.swf *.flv)"));
  EXPECT_EQ(filters[1], "3GPP Files (*.3gp) (*.3gp)");
  EXPECT_EQ(filters[20], "QuickTime Files (*.mov, *.qt) (*.mov *.qt)");
  EXPECT_EQ(filters[23],
            "Windows Media Files(*.wma, *.wmv, *.asf, *.asx) (*.wma *.wmv *.asf *.asx)");
}

}  // namespace
}  // namespace trovenix::test
