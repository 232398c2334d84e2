// The source file list as a table model: plain rows, seven columns, a check
// box in the first. The view only shows it; the add step, the format change
// and the batch change rows through it.
#pragma once

#include <QAbstractTableModel>
#include <string>
#include <vector>

#include "app/FileListRow.h"

namespace trovenix {

class TFileListModel final : public QAbstractTableModel {
 public:
  enum TColumn {
    colFileName,
    colVideoSize,
    colFrameRate,
    colDuration,
    colOutput,
    colProgress,
    colFrames,
    ColumnCount
  };

  // Caption and width of a column.
  static QString ColumnCaption(int column);
  static int ColumnWidth(int column);

  using QAbstractTableModel::QAbstractTableModel;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  const std::vector<TFileListRow>& Rows() const { return rows_; }
  void AppendRow(TFileListRow row);
  // The format changed: every row's Output cell shows the new tag.
  void SetOutputColumn(const std::string& tag);
  // The cells the batch writes; rows outside the list are left alone.
  void SetProgress(int row, const std::string& text);
  void SetFrames(int row, const std::string& text);
  // The reason behind a "Fail" or "Error" cell, shown as its tooltip.
  void SetReason(int row, const std::string& reason);
  // The file the batch converts the row into.
  void SetOutputFile(int row, const std::string& file);
  // Files are added or a batch starts: every Progress and Frames cell empty,
  // and with them the reasons and output files.
  void ClearProgressAndFrames();
  void RemoveRow(int row);
  void Clear();
  void SetAllChecked(bool checked);

 private:
  std::vector<TFileListRow> rows_;
};

}  // namespace trovenix
