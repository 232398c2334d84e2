// The main window. It shows TMainWindowModel and hands every user change to
// the profile routines and the model; it owns the engine component, the
// file list, the open-file dialog and the idle timer of the batch.
#pragma once

#include <QFileDialog>
#include <QMainWindow>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/AppDialogs.h"
#include "app/DesktopSession.h"
#include "app/FileDialog.h"
#include "app/FileListModel.h"
#include "app/FolderPicker.h"
#include "app/Form1Ui.h"
#include "app/ListKeeper.h"
#include "app/MainWindowModel.h"
#include "app/MessageBoxes.h"
#include "app/PlaybackControls.h"
#include "app/PlaybackPlayer.h"
#include "app/PlaybackView.h"
#include "app/QtFileDialog.h"
#include "app/QtIdleTimer.h"
#include "app/Settings.h"
#include "app/UrlOpener.h"
#include "app/WindowBatchList.h"
#include "app/WindowBatchView.h"
#include "app/WindowPlaybackView.h"
#include "batch/BatchDriver.h"
#include "engine/EngineComponent.h"

namespace trovenix {

class TForm4;

// What the window uses of the rest of the program; tests pass their own.
struct TForm1Services {
  IAppDialogs& Dialogs;
  IMessageBoxes& Messages;
  IFolderPicker& Folders;
  ISettingsStore& Store;
  // Binds the media libraries from the folder (the system's when they are
  // not there); empty: the engine component's LoadLibraries.
  std::function<bool(TEngineComponent& engine, const std::string& folder)> LoadLibraries;
  // The program's folder, ending in "/"; empty: the executable's folder.
  std::string ProgramFolder;
  // The open-file dialog of the add step; null: the window's own Qt dialog.
  IFileDialog* OpenFiles = nullptr;
  // The player of the preview panel; null: the player component.
  IPlaybackPlayer* Player = nullptr;
  // The snapshot's sound; null: the "Snap" resource through the player.
  ISnapSound* SnapSound = nullptr;
  // Whether the player can draw in this session; empty: Qt runs on xcb.
  std::function<bool()> DisplayAvailable = {};
  // Where the list is kept while the program runs, so that it survives a
  // crash; empty: the list is not kept.
  std::string ListJournalPath = {};
  // The desktop's notification, sleep inhibition and task-bar progress;
  // null: the desktop is not told.
  IDesktopSession* Desktop = nullptr;
  // Opens the output folder in the file manager; null: the desktop's opener.
  IUrlOpener* Urls = nullptr;
};

inline constexpr const char* LibrariesMissingText =
    "Some files are missing. Please re-install this software";
inline constexpr const char* FolderPickerHeadline = "Choose the required output directory below :";

class TForm1 final : public QMainWindow {
 public:
  TForm1(TForm1Services services, IUiThread& ui);
  ~TForm1() override;

  TMainWindowModel& Model() { return model_; }
  const TForm1Ui& Ui() const { return ui_; }
  TEngineComponent& Engine() { return engine_; }
  TFileListModel& FileList() { return fileList_; }
  // The open-file dialog of the add step, made on first use.
  QFileDialog& OpenDialog();
  // The batch driver; null when the media libraries could not be bound.
  TBatchDriver* Driver() { return driver_.get(); }
  QTimer& TimerConvertAgain() { return timerConvertAgain_; }
  const TForm1Services& Services() const { return services_; }
  const std::string& ProgramFolder() const { return programFolder_; }
  const std::string& HelpFile() const { return helpFile_; }
  // The media libraries could not be bound: the program ends without
  // showing the window.
  bool Terminated() const { return terminated_; }

  // What the settings read into and write from.
  TSettingsSubject SettingsSubject();
  // The Additional Options dialog the Options menu shows.
  void SetAdditionalOptionsDialog(TForm4* dialog) { form4_ = dialog; }

  // Every widget shows the model again.
  void ShowState();
  void DisableControls();
  void EnableControls();
  // The browse button: the folder picker, unless a batch step runs.
  void BrowseClick();
  // File > Exit: ends the program at once, without the close query and
  // without saving the settings.
  void ExitCommand();
  // The folder picker as the browse button opens it, also between the
  // checks of a Convert click.
  void ChooseOutputFolder();

  // The list commands: buttons and the list's menu.
  void AddClick();
  // The add step for files given by the dialog or a drop: each is probed
  // and gets a row, pending events are served after each.
  void AddFiles(const std::vector<std::string>& files);
  // A drop of files and folders on the list; refused while a batch runs.
  bool DropPaths(const std::vector<std::string>& paths);
  void RemoveClick();
  void ClearClick();
  void CheckAll(bool checked);
  void ConvertClick();
  void StopClick();
  // A batch step is prepared or a task runs, or a batch is between rows.
  bool BatchBusy() const;
  TPlaybackControls& Playback() { return *playback_; }
  IBatchView& BatchView() { return batchView_; }
  IBatchList& BatchList() { return batchList_; }
  // File > Open Output Folder: the folder in the file manager.
  void OpenOutputFolder();
  // Keeps the list on disk; null when the list is not kept.
  TListKeeper* Keeper() { return keeper_.get(); }
  // A batch starts: what plays in the preview panel stops and closes.
  void StopPlayback();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ConnectControls();
  void ConnectChoice(QComboBox* box, TChoiceControl& control);
  void FormatPicked(int index);
  void FormatDropDown();
  TFormatChangeHooks Hooks();
  // The window's Converting flag follows the driver's.
  void SyncConverting();
  void ConnectPlayback(IUiThread& ui);
  // The list is closed normally: it is not kept any longer.
  void ForgetList();

  TForm1Services services_;
  std::string programFolder_;
  std::string helpFile_;
  TMainWindowModel model_;
  TFileListModel fileList_;
  TEngineComponent engine_;
  QTimer timerConvertAgain_;
  TForm1Ui ui_;
  TQtFileDialog qtFileDialog_;
  TWindowBatchList batchList_;
  TWindowBatchView batchView_;
  TQtIdleTimer idleTimer_;
  std::unique_ptr<TBatchDriver> driver_;
  std::unique_ptr<IPlaybackPlayer> ownPlayer_;
  std::unique_ptr<ISnapSound> ownSnapSound_;
  TWindowPlaybackView playbackView_;
  std::unique_ptr<TPlaybackControls> playback_;
  std::unique_ptr<TListKeeper> keeper_;
  TForm4* form4_ = nullptr;
  bool terminated_ = false;
  bool shownOnce_ = false;
  bool exiting_ = false;
};

}  // namespace trovenix
