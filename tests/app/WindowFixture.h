// A main window and its Additional Options dialog as program entry makes
// them, with answering message boxes and folder picker and a settings store
// in a fresh temporary folder.
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/DefaultAppDialogs.h"
#include "app/FileDialog.h"
#include "app/FolderPicker.h"
#include "app/Form1.h"
#include "app/Form4.h"
#include "app/MessageBoxes.h"
#include "app/QtSettingsStore.h"
#include "app/QtUiThread.h"

namespace trovenix::test {

class TAnsweringMessageBoxes final : public IMessageBoxes {
 public:
  void Information(const std::string& text) override {
    Informations.push_back(text);
    if (OnInformation) OnInformation(text);
  }
  bool Confirm(const std::string& text) override {
    Confirmations.push_back(text);
    return Answer;
  }
  std::function<void(const std::string&)> OnInformation;
  std::vector<std::string> Informations;
  std::vector<std::string> Confirmations;
  bool Answer = true;
};

class TAnsweringFolderPicker final : public IFolderPicker {
 public:
  std::optional<std::string> ChooseFolder(const std::string& headline,
                                          const std::string& start) override {
    Headlines.push_back(headline);
    Starts.push_back(start);
    if (Answers.empty()) return std::nullopt;
    auto answer = Answers.front();
    Answers.pop_front();
    return answer;
  }
  std::deque<std::optional<std::string>> Answers;
  std::vector<std::string> Headlines;
  std::vector<std::string> Starts;
};

// Answers the open-file dialog with the next list of files (none: cancelled).
class TAnsweringFileDialog final : public IFileDialog {
 public:
  std::vector<std::string> ChooseFiles() override {
    ++Shown;
    if (Answers.empty()) return {};
    auto answer = Answers.front();
    Answers.pop_front();
    return answer;
  }
  std::deque<std::vector<std::string>> Answers;
  int Shown = 0;
};

// Serves the event loop until done() or the time is up.
inline bool ServeEventsUntil(const std::function<bool()>& done, int timeoutMs = 30000) {
  QElapsedTimer clock;
  clock.start();
  // Waits for events instead of spinning, which would take a core from the
  // conversions under test; the timer wakes the wait for conditions that no
  // event announces.
  QTimer wake;
  wake.start(10);
  while (!done()) {
    if (clock.elapsed() > timeoutMs) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
  }
  return true;
}

class WindowFixture : public ::testing::Test {
 protected:
  WindowFixture() {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, configDir.path());
    dialogs.OpenInBrowser = false;
  }

  // The settings as the program's own store sees them; made on first use, so
  // that a test may set the path first.
  TQtSettingsStore& Store() {
    if (!store) store = std::make_unique<TQtSettingsStore>();
    return *store;
  }

  // Main window then Additional Options, as program entry creates them.
  void CreateWindows(std::function<bool(TEngineComponent&, const std::string&)> load = {}) {
    TForm1Services services{dialogs, messages, folders, Store(), std::move(load), {}, &files};
    services.ListJournalPath = listJournalPath;
    services.Desktop = desktop;
    services.Urls = urls;
    form1 = std::make_unique<TForm1>(std::move(services), ui);
    form4 = std::make_unique<TForm4>(*form1);
  }

  void StartUp() {
    CreateWindows();
    form1->show();
  }

  bool Informed(const std::string& text) const {
    return std::find(messages.Informations.begin(), messages.Informations.end(), text) !=
           messages.Informations.end();
  }

  // A fresh store object on the same file, to see what was written.
  static QVariant Stored(const char* name) {
    QSettings settings(QStringLiteral("Qelvar"), QStringLiteral("Marlune"));
    return settings.value(QString::fromLatin1(name));
  }

  void TearDown() override {
    form4.reset();
    form1.reset();
  }

  QTemporaryDir configDir;
  TQtUiThread ui;
  TDefaultAppDialogs dialogs;
  TAnsweringMessageBoxes messages;
  TAnsweringFolderPicker folders;
  TAnsweringFileDialog files;
  std::unique_ptr<TQtSettingsStore> store;
  // What CreateWindows hands the window besides the above; by default the
  // list is not kept and the desktop is not told.
  std::string listJournalPath;
  IDesktopSession* desktop = nullptr;
  IUrlOpener* urls = nullptr;
  std::unique_ptr<TForm1> form1;
  std::unique_ptr<TForm4> form4;
};

// The texts of a combo box's items.
inline std::vector<std::string> Items(const QComboBox& box) {
  std::vector<std::string> items;
  for (int i = 0; i < box.count(); ++i) items.push_back(box.itemText(i).toStdString());
  return items;
}

}  // namespace trovenix::test
