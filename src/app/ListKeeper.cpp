#include "app/ListKeeper.h"

#include <QDir>
#include <QStandardPaths>
#include <QTimer>

namespace trovenix {

TListKeeper::TListKeeper(TFileListModel& model, const std::string& path)
    : model_(model), journal_(path) {
  active_ = journal_.Claim();
  if (!active_) return;
  const auto changed = [this] { Changed(); };
  connect(&model_, &QAbstractItemModel::dataChanged, this, changed);
  connect(&model_, &QAbstractItemModel::rowsInserted, this, changed);
  connect(&model_, &QAbstractItemModel::rowsRemoved, this, changed);
  connect(&model_, &QAbstractItemModel::modelReset, this, changed);
}

int TListKeeper::Restore() {
  if (!active_) return 0;
  auto rows = journal_.Read();
  if (!rows) return 0;
  RecoverInterruptedRows(*rows);
  const int count = static_cast<int>(rows->size());
  for (TFileListRow& row : *rows) model_.AppendRow(std::move(row));
  // What was recovered is written at once: a second crash keeps it.
  Flush();
  return count;
}

void TListKeeper::Finish() {
  finished_ = true;
  pending_ = false;
  if (active_) journal_.Remove();
}

void TListKeeper::Flush() {
  pending_ = false;
  if (finished_ || !active_) return;
  // A list that cannot be written is not worth a message: the program
  // works on, it only forgets the list when it dies.
  journal_.Write(model_.Rows());
}

void TListKeeper::Changed() {
  if (finished_ || pending_) return;
  pending_ = true;
  QTimer::singleShot(0, this, [this] {
    if (pending_) Flush();
  });
}

std::string DefaultListJournalPath() {
  const QString state = qEnvironmentVariable("XDG_STATE_HOME");
  const QString folder =
      !state.isEmpty() ? state + QStringLiteral("/trovenix")
                       : QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
  return QDir::cleanPath(folder + QStringLiteral("/file-list")).toStdString();
}

}  // namespace trovenix
