// The window's side of the batch driver, recorded for tests: a list, a view,
// message boxes that answer as told, and a timer ticked by hand.
#pragma once

#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "batch/IBatchList.h"
#include "batch/IBatchView.h"
#include "batch/IMessageBoxes.h"
#include "batch/ITimer.h"
#include "profiles/ProfileState.h"

namespace trovenix::test {

struct TFakeRow {
  std::string Caption;
  bool Checked = true;
  std::string VideoSize = "64x48";
  std::string Duration = "00:00:01";
  std::string Progress;
  std::string Frames;
  std::string Output;
  std::string Failure;
};

class TFakeList final : public IBatchList {
 public:
  std::vector<TFakeRow> Rows;
  // Every cell write as "row:Progress=text" or "row:Frames=text", in order.
  std::vector<std::string> Writes;
  std::vector<int> Scrolls;
  // Set when the driver called from a thread other than the one that made it.
  bool OffThread = false;

  int RowCount() const override { return static_cast<int>(Rows.size()); }
  bool Checked(int row) const override { return Rows.at(static_cast<std::size_t>(row)).Checked; }
  std::string Caption(int row) const override {
    return Rows.at(static_cast<std::size_t>(row)).Caption;
  }
  std::string VideoSizeCell(int row) const override {
    return Rows.at(static_cast<std::size_t>(row)).VideoSize;
  }
  std::string DurationCell(int row) const override {
    return Rows.at(static_cast<std::size_t>(row)).Duration;
  }
  void SetProgressCell(int row, const std::string& text) override {
    Note();
    Rows.at(static_cast<std::size_t>(row)).Progress = text;
    Writes.push_back(std::to_string(row) + ":Progress=" + text);
  }
  void SetFramesCell(int row, const std::string& text) override {
    Note();
    Rows.at(static_cast<std::size_t>(row)).Frames = text;
    Writes.push_back(std::to_string(row) + ":Frames=" + text);
  }
  void ScrollToRow(int row) override {
    Note();
    Scrolls.push_back(row);
  }
  void RowOutputChosen(int row, const std::string& outputFile) override {
    Rows.at(static_cast<std::size_t>(row)).Output = outputFile;
  }
  void RowFailed(int row, const std::string& reason) override {
    Rows.at(static_cast<std::size_t>(row)).Failure = reason;
  }
  // Cell writes to a row after the Convert click cleared it.
  std::vector<std::string> WritesTo(int row) const {
    std::vector<std::string> found;
    const std::string prefix = std::to_string(row) + ":";
    for (const std::string& w : Writes)
      if (w.rfind(prefix, 0) == 0 && w != prefix + "Progress=" && w != prefix + "Frames=")
        found.push_back(w);
    return found;
  }

 private:
  void Note() {
    if (std::this_thread::get_id() != owner_) OffThread = true;
  }
  std::thread::id owner_ = std::this_thread::get_id();
};

class TFakeView final : public IBatchView {
 public:
  std::string Folder;
  bool OverwriteOn = false;
  bool Adding = false;
  TProfileState State;
  int Disabled = 0, Enabled = 0, Pickers = 0, PreviewCloses = 0;
  std::vector<std::int64_t> Bar;
  std::string Status;
  std::vector<TRowProgress> Reports;

  std::string OutputFolderText() const override { return Folder; }
  bool Overwrite() const override { return OverwriteOn; }
  const TProfileState& Profile() const override { return State; }
  bool AddingFiles() const override { return Adding; }
  void DisableControls() override { ++Disabled; }
  void EnableControls() override { ++Enabled; }
  void OpenFolderPicker() override { ++Pickers; }
  void ClosePreviewPlayer() override { ++PreviewCloses; }
  void SetProgressBar(std::int64_t position) override { Bar.push_back(position); }
  void SetStatusText(const std::string& text) override { Status = text; }
  void RowProgress(int, const TRowProgress& report) override { Reports.push_back(report); }
};

class TFakeMessages final : public IMessageBoxes {
 public:
  std::vector<std::string> Infos;
  std::vector<std::string> Questions;
  bool Answer = true;
  std::function<void()> WhileAsking;  // runs while the question is open

  void Information(const std::string& text) override { Infos.push_back(text); }
  bool Confirm(const std::string& text) override {
    Questions.push_back(text);
    if (WhileAsking) WhileAsking();
    return Answer;
  }
};

class TFakeTimer final : public ITimer {
 public:
  bool On = false;
  void SetEnabled(bool enabled) override { On = enabled; }
  bool Enabled() const override { return On; }
};

}  // namespace trovenix::test
