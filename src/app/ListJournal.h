// The file list kept on disk while the program runs, so that a list survives
// a crash, a kill or a power cut: every row's path, check box, cells and
// outcome, and the output of the row that was converting. Written as a whole
// under a temporary name and moved over the old file, so that a reader finds
// either the old list or the new one. Free of Qt.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/FileListRow.h"

namespace trovenix {

// The text of the file: a heading line, then one line per row.
std::string SerialiseList(const std::vector<TFileListRow>& rows);
// The rows of such a text; nothing when it is not one.
std::optional<std::vector<TFileListRow>> ParseList(const std::string& text);

// A list read back after the program ended without closing: the row that was
// converting shows "Abort", and what it had written under its temporary name
// is removed (the file at its final name is left as it is).
void RecoverInterruptedRows(std::vector<TFileListRow>& rows);

class TListJournal {
 public:
  explicit TListJournal(std::string path) : path_(std::move(path)) {}
  ~TListJournal();
  TListJournal(const TListJournal&) = delete;
  TListJournal& operator=(const TListJournal&) = delete;

  // Claims the file for this process (a lock beside it, which the system
  // lets go when the process ends, however it ends). False while another
  // running program keeps its list there: its list is not one left behind.
  bool Claim();

  const std::string& Path() const { return path_; }
  // The file's folder is made when missing. False when it cannot be written
  // (the old file, if any, stays).
  bool Write(const std::vector<TFileListRow>& rows) const;
  // The rows of the file; nothing when there is none. A file that cannot be
  // read as a list is moved aside (to Path() + ".unreadable") and counts as none.
  std::optional<std::vector<TFileListRow>> Read() const;
  // The list ended normally: the file goes.
  void Remove() const;

 private:
  std::string path_;
  int lockFd_ = -1;
};

}  // namespace trovenix
