// A main window and its Additional Options dialog as program entry makes
// them, with answering message boxes and folder picker and a settings store
// in a fresh temporary folder.
#pragma once

#include <gtest/gtest.h>

#include <QSettings>
#include <QTemporaryDir>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/DefaultAppDialogs.h"
#include "app/FolderPicker.h"
#include "app/Form1.h"
#include "app/Form4.h"
#include "app/MessageBoxes.h"
#include "app/QtSettingsStore.h"
#include "app/QtUiThread.h"

namespace trovenix::test {

class TAnsweringMessageBoxes final : public IMessageBoxes {
 public:
  void Information(const QString& text) override { Informations.push_back(text.toStdString()); }
  bool Confirmation(const QString& text) override {
    Confirmations.push_back(text.toStdString());
    return Answer;
  }
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
    form1 = std::make_unique<TForm1>(
        TForm1Services{dialogs, messages, folders, Store(), std::move(load), {}}, ui);
    form4 = std::make_unique<TForm4>(*form1);
  }

  void StartUp() {
    CreateWindows();
    form1->show();
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
  std::unique_ptr<TQtSettingsStore> store;
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
