// Keeps the window's file list on disk while the program runs: every change
// of the list model is written to the journal (once per turn of the event
// loop, however many cells changed in it), and a normal close removes the
// file. At start-up a file left behind by a program that did not close
// brings its rows back.
#pragma once

#include <QObject>
#include <string>

#include "app/FileListModel.h"
#include "app/ListJournal.h"

namespace trovenix {

class TListKeeper final : public QObject {
 public:
  TListKeeper(TFileListModel& model, const std::string& path);

  // Brings back the rows of a list that was not closed; the row that was
  // converting shows "Abort" and its temporary output is removed. Call
  // before the list has rows. Returns the number of rows brought back.
  int Restore();
  // The program ends normally: the file goes, and no later change writes it.
  void Finish();
  // Writes a change still waiting for the event loop now.
  void Flush();
  // The list is kept (no other running program keeps one at the same place).
  bool Active() const { return active_; }

 private:
  void Changed();

  TFileListModel& model_;
  TListJournal journal_;
  bool active_ = false;
  bool pending_ = false;
  bool finished_ = false;
};

// Where the list is kept: $XDG_STATE_HOME/trovenix/file-list, or the
// program's local data folder when XDG_STATE_HOME is not set.
std::string DefaultListJournalPath();

}  // namespace trovenix
