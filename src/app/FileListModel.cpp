#include "app/FileListModel.h"

#include <array>

namespace trovenix {
namespace {

struct TColumnInfo {
  const char* Caption;
  int Width;
};

constexpr std::array<TColumnInfo, TFileListModel::ColumnCount> Columns = {{
    {"Video File Name", 280},
    {"Video Size", 90},
    {"FrameRate", 90},
    {"Duration", 75},
    {"Output", 65},
    {"Progress", 60},
    {"Frames", 60},
}};

const std::string& Cell(const TFileListRow& row, int column) {
  switch (column) {
    case TFileListModel::colFileName:
      return row.FileName;
    case TFileListModel::colVideoSize:
      return row.VideoSize;
    case TFileListModel::colFrameRate:
      return row.FrameRate;
    case TFileListModel::colDuration:
      return row.Duration;
    case TFileListModel::colOutput:
      return row.Output;
    case TFileListModel::colProgress:
      return row.Progress;
    default:
      return row.Frames;
  }
}

}  // namespace

QString TFileListModel::ColumnCaption(int column) {
  return QString::fromLatin1(Columns.at(static_cast<std::size_t>(column)).Caption);
}

int TFileListModel::ColumnWidth(int column) {
  return Columns.at(static_cast<std::size_t>(column)).Width;
}

int TFileListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int TFileListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : ColumnCount;
}

QVariant TFileListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= static_cast<int>(rows_.size())) return {};
  const TFileListRow& row = rows_[static_cast<std::size_t>(index.row())];
  switch (role) {
    case Qt::DisplayRole:
      return QString::fromStdString(Cell(row, index.column()));
    case Qt::CheckStateRole:
      if (index.column() == colFileName) return row.Checked ? Qt::Checked : Qt::Unchecked;
      return {};
    case Qt::ToolTipRole:
      if (index.column() == colProgress && !row.Reason.empty() &&
          (row.Progress == "Fail" || row.Progress == "Error"))
        return QString::fromStdString(row.Reason);
      return {};
    case Qt::TextAlignmentRole:
      return QVariant::fromValue(
          (index.column() == colFileName ? Qt::AlignLeft : Qt::AlignHCenter) | Qt::AlignVCenter);
    default:
      return {};
  }
}

bool TFileListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid() || index.column() != colFileName || role != Qt::CheckStateRole ||
      index.row() >= static_cast<int>(rows_.size()))
    return false;
  rows_[static_cast<std::size_t>(index.row())].Checked =
      value.value<Qt::CheckState>() == Qt::Checked;
  emit dataChanged(index, index, {Qt::CheckStateRole});
  return true;
}

QVariant TFileListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount) return {};
  if (role == Qt::DisplayRole) return ColumnCaption(section);
  if (role == Qt::TextAlignmentRole)
    return QVariant::fromValue((section == colFileName ? Qt::AlignLeft : Qt::AlignHCenter) |
                               Qt::AlignVCenter);
  return {};
}

Qt::ItemFlags TFileListModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags result = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (index.column() == colFileName) result |= Qt::ItemIsUserCheckable;
  return result;
}

void TFileListModel::AppendRow(TFileListRow row) {
  const int at = static_cast<int>(rows_.size());
  beginInsertRows({}, at, at);
  rows_.push_back(std::move(row));
  endInsertRows();
}

void TFileListModel::SetOutputColumn(const std::string& tag) {
  for (TFileListRow& row : rows_) row.Output = tag;
  if (!rows_.empty())
    emit dataChanged(index(0, colOutput), index(static_cast<int>(rows_.size()) - 1, colOutput),
                     {Qt::DisplayRole});
}

void TFileListModel::SetProgress(int row, const std::string& text) {
  if (row < 0 || row >= static_cast<int>(rows_.size())) return;
  TFileListRow& kept = rows_[static_cast<std::size_t>(row)];
  // A percentage is the row on its way; anything else ends or resets it.
  const bool converting = kept.Converting && !text.empty() && text.back() == '%';
  if (kept.Progress == text && kept.Converting == converting) return;
  kept.Progress = text;
  kept.Converting = converting;
  emit dataChanged(index(row, colProgress), index(row, colProgress), {Qt::DisplayRole});
}

void TFileListModel::SetFrames(int row, const std::string& text) {
  if (row < 0 || row >= static_cast<int>(rows_.size())) return;
  std::string& cell = rows_[static_cast<std::size_t>(row)].Frames;
  if (cell == text) return;
  cell = text;
  emit dataChanged(index(row, colFrames), index(row, colFrames), {Qt::DisplayRole});
}

void TFileListModel::SetReason(int row, const std::string& reason) {
  if (row < 0 || row >= static_cast<int>(rows_.size())) return;
  std::string& kept = rows_[static_cast<std::size_t>(row)].Reason;
  if (kept == reason) return;
  kept = reason;
  emit dataChanged(index(row, colProgress), index(row, colProgress), {Qt::ToolTipRole});
}

void TFileListModel::SetOutputFile(int row, const std::string& file) {
  if (row < 0 || row >= static_cast<int>(rows_.size())) return;
  TFileListRow& kept = rows_[static_cast<std::size_t>(row)];
  if (kept.OutputFile == file && kept.Converting) return;
  kept.OutputFile = file;
  kept.Converting = true;
  // No cell shows it; those who keep the list hear of it all the same.
  emit dataChanged(index(row, colFileName), index(row, colFileName), {Qt::UserRole});
}

void TFileListModel::ClearProgressAndFrames() {
  for (TFileListRow& row : rows_) {
    row.Progress.clear();
    row.Frames.clear();
    row.Reason.clear();
    row.OutputFile.clear();
    row.Converting = false;
  }
  if (!rows_.empty())
    emit dataChanged(index(0, colProgress), index(static_cast<int>(rows_.size()) - 1, colFrames),
                     {Qt::DisplayRole});
}

void TFileListModel::RemoveRow(int row) {
  if (row < 0 || row >= static_cast<int>(rows_.size())) return;
  beginRemoveRows({}, row, row);
  rows_.erase(rows_.begin() + row);
  endRemoveRows();
}

void TFileListModel::Clear() {
  beginResetModel();
  rows_.clear();
  endResetModel();
}

void TFileListModel::SetAllChecked(bool checked) {
  for (TFileListRow& row : rows_) row.Checked = checked;
  if (!rows_.empty())
    emit dataChanged(index(0, colFileName), index(static_cast<int>(rows_.size()) - 1, colFileName),
                     {Qt::CheckStateRole});
}

}  // namespace trovenix
