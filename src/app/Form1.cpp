#include "app/Form1.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QScreen>
#include <QSignalBlocker>
#include <QStandardItemModel>
#include <QStringList>
#include <QUrl>
#include <filesystem>
#include <system_error>

#include "app/ChoiceBinding.h"
#include "app/DroppedFiles.h"
#include "app/FFPlaybackPlayer.h"
#include "app/Form4.h"
#include "app/QtSnapSound.h"
#include "engine/OptionValues.h"
#include "profiles/FileListCells.h"
#include "profiles/FormatTable.h"
#include "profiles/VolumeControl.h"

namespace trovenix {
namespace {

std::string FolderOfProgram() {
  return QCoreApplication::applicationDirPath().toStdString() + "/";
}

// The separators of the output-format list cannot be picked, so the arrow
// keys step over them instead of landing on one and being sent back.
void DisableSeparatorItems(QComboBox& box) {
  auto* items = qobject_cast<QStandardItemModel*>(box.model());
  if (!items) return;
  for (int i = 0; i < items->rowCount(); ++i)
    if (QStandardItem* item = items->item(i);
        item && item->text().contains(QString::fromLatin1(FormatSeparatorMark)))
      item->setFlags(item->flags() & ~(Qt::ItemIsEnabled | Qt::ItemIsSelectable));
}

}  // namespace

TForm1::TForm1(TForm1Services services, IUiThread& ui)
    : services_(std::move(services)),
      programFolder_(services_.ProgramFolder.empty() ? FolderOfProgram() : services_.ProgramFolder),
      engine_(ui),
      ui_(BuildForm1Ui(*this)),
      qtFileDialog_(this),
      batchList_(fileList_, ui_.ListView1),
      batchView_(*this),
      idleTimer_(timerConvertAgain_),
      playbackView_(*this) {
  ui_.ListView1->setModel(&fileList_);
  for (int c = 0; c < TFileListModel::ColumnCount; ++c)
    ui_.ListView1->setColumnWidth(c, TFileListModel::ColumnWidth(c));

  // 1. The Vista font rule would run here; this is not Windows, so it
  //    changes nothing.

  // 2. The open-file dialog: existing files only, several at once, no
  //    read-only box, the filter of the add step. The dialog itself is made
  //    when it is first needed: building it costs more than the rest of the
  //    window.

  // 3. The media libraries, from "Common Files" beside the program first.
  const std::string libraryFolder = programFolder_ + "Common Files";
  const bool loaded = services_.LoadLibraries ? services_.LoadLibraries(engine_, libraryFolder)
                                              : engine_.LoadLibraries(libraryFolder);
  if (!loaded) {
    services_.Messages.Information(LibrariesMissingText);
    terminated_ = true;
    return;
  }

  // 4. Caption, 5. tooltips shown 30 s, 6. the help page, 7. fixed border.
  setWindowTitle(QStringLiteral("Trovenix"));
  for (QWidget* child : findChildren<QWidget*>())
    if (!child->toolTip().isEmpty()) child->setToolTipDuration(30000);
  helpFile_ = programFolder_ + "help.html";
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  setFixedSize(Form1ClientWidth, Form1ClientHeight);

  // 8 to 11. The model was made as the window is created
  //    (MakeStartUpState): volume at 5 with its label, the catalogue with its
  //    first entry and 25 items dropped down, the aspect-ratio and letterbox
  //    lists.

  // 12. The idle timer of the batch is off until a batch runs.
  timerConvertAgain_.setInterval(100);
  timerConvertAgain_.stop();
  driver_ = std::make_unique<TBatchDriver>(std::vector<TEngineComponent*>{&engine_}, ui, batchList_,
                                           batchView_, services_.Messages, idleTimer_);

  // 13. Skins.
  services_.Dialogs.SetSkinFolder(QString::fromStdString(programFolder_ + "Skins"));
  services_.Dialogs.SetSkin(QString::fromLatin1(DefaultSkin));

  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    move(area.center() - QPoint(Form1ClientWidth / 2, Form1ClientHeight / 2));
  }
  ConnectControls();
  ConnectPlayback(ui);
  // A list left behind by a run that did not close comes back.
  if (!services_.ListJournalPath.empty()) {
    keeper_ = std::make_unique<TListKeeper>(fileList_, services_.ListJournalPath);
    keeper_->Restore();
  }
  ShowState();
}

void TForm1::ConnectPlayback(IUiThread& ui) {
  IPlaybackPlayer* player = services_.Player;
  if (!player) {
    ownPlayer_ = std::make_unique<TFFPlaybackPlayer>(&ui);
    player = ownPlayer_.get();
  }
  ISnapSound* sound = services_.SnapSound;
  if (!sound) {
    ownSnapSound_ = std::make_unique<TQtSnapSound>();
    sound = ownSnapSound_.get();
  }
  std::function<bool()> display = services_.DisplayAvailable;
  if (!display) display = [] { return QGuiApplication::platformName() == QStringLiteral("xcb"); };
  playback_ = std::make_unique<TPlaybackControls>(TPlaybackServices{*player,
                                                                    playbackView_,
                                                                    services_.Messages,
                                                                    *sound,
                                                                    programFolder_ + "Common Files",
                                                                    std::move(display),
                                                                    {}});

  connect(ui_.ButtonPlay, &QToolButton::clicked, this, [this] { playback_->ButtonPlayClick(); });
  connect(ui_.ActionPlaySelected, &QAction::triggered, this,
          [this] { playback_->PlaySelectedVideo1Click(); });
  connect(ui_.ButtonPause, &QToolButton::clicked, this, [this] { playback_->ButtonPauseClick(); });
  connect(ui_.ButtonStop, &QToolButton::clicked, this,
          [this] { playback_->ButtonStopPlayClick(); });
  connect(ui_.ButtonSnapshot, &QToolButton::clicked, this,
          [this] { playback_->ButtonSnapshotClick(); });
  connect(ui_.ButtonVolume, &QToolButton::clicked, this, [this] {
    ui_.VolumeMenu->popup(ui_.ButtonVolume->mapToGlobal(QPoint(0, 0)) - QPoint(40, 40));
  });
  for (QAction* item : {ui_.ActionFullVolume, ui_.ActionHalfVolume, ui_.ActionMute})
    connect(item, &QAction::triggered, this,
            [this, item] { playback_->VolumeItemClick(item->data().toInt()); });
  connect(ui_.ListView1->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
    const QModelIndexList rows = ui_.ListView1->selectionModel()->selectedRows();
    const int row = rows.isEmpty() ? -1 : rows.front().row();
    if (row < 0 || row >= static_cast<int>(fileList_.Rows().size()))
      playback_->ClearSelection();
    else
      playback_->SelectRow(row, fileList_.Rows()[static_cast<std::size_t>(row)].FileName);
  });
  // The slider seeks where it is let go; while dragged the label shows where.
  connect(ui_.SliderPosition, &QSlider::sliderMoved, this, [this](int ms) {
    playbackView_.ShowPosition(std::int64_t{ms} * 1000, playback_->DurationUs());
  });
  connect(ui_.SliderPosition, &QSlider::sliderReleased, this,
          [this] { playback_->SeekTo(std::int64_t{ui_.SliderPosition->value()} * 1000); });
  ui_.PanelPreview->installEventFilter(this);
  ui_.PanelPlay->installEventFilter(this);
  playbackView_.ShowStill(true);
}

void TForm1::StopPlayback() {
  if (playback_) playback_->ButtonStopPlayClick();
}

QFileDialog& TForm1::OpenDialog() {
  return qtFileDialog_.Dialog();
}

TForm1::~TForm1() {
  timerConvertAgain_.stop();
  // The player thread ends before the window's parts go.
  playback_.reset();
  // The driver lets go of the engine's events before the engine goes.
  driver_.reset();
  engine_.OnBeforeHook = nullptr;
  engine_.OnCustomHook = nullptr;
  engine_.OnLog = nullptr;
  engine_.OnProgress = nullptr;
  engine_.OnTerminate = nullptr;
  engine_.OnPreviewBitmap = nullptr;
}

TSettingsSubject TForm1::SettingsSubject() {
  IAppDialogs& dialogs = services_.Dialogs;
  return {model_, [&dialogs] { return dialogs.Skin().toStdString(); },
          [&dialogs](const std::string& name) { dialogs.SetSkin(QString::fromStdString(name)); }};
}

TFormatChangeHooks TForm1::Hooks() {
  return FormatHooks(model_, [this](const std::string& tag) { fileList_.SetOutputColumn(tag); });
}

void TForm1::ConnectChoice(QComboBox* box, TChoiceControl& control) {
  // The choice lists do nothing by themselves when picked; the builders
  // read them when a conversion starts.
  connect(box, &QComboBox::activated, this, [&control](int index) { control.SelectIndex(index); });
}

void TForm1::ConnectControls() {
  TProfileState& p = model_.Profile;
  ConnectChoice(ui_.ComboVideoCodec, p.ComboVideoCodec);
  ConnectChoice(ui_.ComboVideoSize, p.ComboVideoSize);
  ConnectChoice(ui_.ComboVideoBitrate, p.ComboVideoBitrate);
  ConnectChoice(ui_.ComboVideoFramerate, p.ComboVideoFramerate);
  ConnectChoice(ui_.ComboLetterBox, p.ComboLetterBox);
  ConnectChoice(ui_.ComboAudioCodec, p.ComboAudioCodec);
  ConnectChoice(ui_.ComboAudioBitrate, p.ComboAudioBitrate);
  ConnectChoice(ui_.ComboAudioChannels, p.ComboAudioChannels);
  ConnectChoice(ui_.ComboSamplingRate, p.ComboSamplingRate);
  ConnectChoice(ui_.ComboAspectRatio, p.ComboAspectRatio);
  connect(ui_.ComboOutputFormat, &QComboBox::activated, this, &TForm1::FormatPicked);
  ui_.ComboOutputFormat->OnDropDown = [this] { FormatDropDown(); };
  connect(ui_.TrackBar1, &QSlider::valueChanged, this, [this](int position) {
    SetVolumePosition(model_.Profile, position);
    ui_.LabelVolume->setText(QString::fromStdString(model_.Profile.LabelVolume));
  });
  connect(ui_.EditOutputFolder, &QLineEdit::textEdited, this, [this](const QString& text) {
    model_.OutputFolder = text.toStdString();
    ui_.ActionOpenOutputFolder->setEnabled(!text.trimmed().isEmpty());
  });
  connect(ui_.ActionOpenOutputFolder, &QAction::triggered, this, &TForm1::OpenOutputFolder);
  connect(ui_.ButtonBrowse, &QToolButton::clicked, this, &TForm1::BrowseClick);

  connect(ui_.ButtonAddVideo, &QPushButton::clicked, this, &TForm1::AddClick);
  connect(ui_.ButtonRemove, &QPushButton::clicked, this, &TForm1::RemoveClick);
  connect(ui_.ButtonClearAll, &QPushButton::clicked, this, &TForm1::ClearClick);
  connect(ui_.ButtonConvertNow, &QPushButton::clicked, this, &TForm1::ConvertClick);
  connect(ui_.ButtonStopConvert, &QPushButton::clicked, this, &TForm1::StopClick);
  connect(ui_.ActionRemoveSelected, &QAction::triggered, this, &TForm1::RemoveClick);
  connect(ui_.ActionClearAllItems, &QAction::triggered, this, &TForm1::ClearClick);
  connect(ui_.ActionCheckAll, &QAction::triggered, this, [this] { CheckAll(true); });
  connect(ui_.ActionUncheckAll, &QAction::triggered, this, [this] { CheckAll(false); });
  connect(&timerConvertAgain_, &QTimer::timeout, this, [this] {
    if (driver_) driver_->IdleTimerTick();
    SyncConverting();
  });
  ui_.ListView1->setAcceptDrops(true);
  ui_.ListView1->viewport()->setAcceptDrops(true);
  ui_.ListView1->setDropIndicatorShown(false);
  ui_.ListView1->viewport()->installEventFilter(this);
  connect(ui_.ActionAddFiles, &QAction::triggered, ui_.ButtonAddVideo, &QPushButton::click);
  connect(ui_.ActionConvert, &QAction::triggered, ui_.ButtonConvertNow, &QPushButton::click);
  connect(ui_.ActionExit, &QAction::triggered, this, &TForm1::ExitCommand);
  connect(ui_.ActionAdditionalOptions, &QAction::triggered, this, [this] {
    if (form4_) form4_->ShowBesideMainWindow();
  });
  connect(ui_.ActionSkins, &QAction::triggered, this,
          [this] { services_.Dialogs.ShowSkinChooser(); });
  connect(ui_.ActionOpenHelp, &QAction::triggered, this,
          [this] { services_.Dialogs.OpenHelp(QString::fromStdString(helpFile_)); });
  connect(ui_.ActionVisitWebsite, &QAction::triggered, this,
          [this] { services_.Dialogs.VisitWebsite(); });
  connect(ui_.ActionAbout, &QAction::triggered, this, [this] { services_.Dialogs.ShowAbout(); });
  connect(ui_.ListView1, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    if (model_.Commands.ListContextMenu)
      ui_.ListMenu->popup(ui_.ListView1->viewport()->mapToGlobal(at));
  });
}

void TForm1::FormatPicked(int index) {
  model_.Profile.ComboOutputFormat.SelectIndex(index);
  ComboOutputFormatChange(model_.Profile, Hooks());
  ShowState();
}

void TForm1::FormatDropDown() {
  ComboOutputFormatDropDown(model_.Profile, Hooks());
  ui_.ComboOutputFormat->setMaxVisibleItems(model_.Profile.ComboOutputFormat.DropDownCount);
}

void TForm1::ShowState() {
  const TProfileState& p = model_.Profile;
  ShowChoice(*ui_.ComboOutputFormat, p.ComboOutputFormat);
  DisableSeparatorItems(*ui_.ComboOutputFormat);
  ui_.ComboOutputFormat->setMaxVisibleItems(p.ComboOutputFormat.DropDownCount);
  ShowChoice(*ui_.ComboVideoCodec, p.ComboVideoCodec);
  ShowChoice(*ui_.ComboVideoSize, p.ComboVideoSize);
  ShowChoice(*ui_.ComboVideoBitrate, p.ComboVideoBitrate);
  ShowChoice(*ui_.ComboVideoFramerate, p.ComboVideoFramerate);
  ShowChoice(*ui_.ComboLetterBox, p.ComboLetterBox);
  ShowChoice(*ui_.ComboAudioCodec, p.ComboAudioCodec);
  ShowChoice(*ui_.ComboAudioBitrate, p.ComboAudioBitrate);
  ShowChoice(*ui_.ComboAudioChannels, p.ComboAudioChannels);
  ShowChoice(*ui_.ComboSamplingRate, p.ComboSamplingRate);
  ShowChoice(*ui_.ComboAspectRatio, p.ComboAspectRatio);
  {
    const QSignalBlocker quiet(ui_.TrackBar1);
    ui_.TrackBar1->setValue(p.TrackBar1Position);
  }
  ui_.LabelVolume->setText(QString::fromStdString(p.LabelVolume));

  const TCommandControls& c = model_.Commands;
  ui_.TrackBar1->setEnabled(c.TrackBar1);
  ui_.ButtonAddVideo->setEnabled(c.AddVideo);
  ui_.ButtonRemove->setEnabled(c.Remove);
  ui_.ButtonClearAll->setEnabled(c.ClearAll);
  ui_.ButtonStopConvert->setEnabled(c.StopConvert);
  ui_.ButtonConvertNow->setEnabled(c.ConvertNow);
  ui_.MenuFile->menuAction()->setEnabled(c.MenuFile);
  ui_.MenuOptions->menuAction()->setEnabled(c.MenuOptions);
  ui_.ActionSkins->setEnabled(c.MenuSkins);
  ui_.MenuHelp->menuAction()->setEnabled(c.MenuHelp);

  const QString folder = QString::fromStdString(model_.OutputFolder);
  if (ui_.EditOutputFolder->text() != folder) ui_.EditOutputFolder->setText(folder);
  ui_.ActionOpenOutputFolder->setEnabled(!folder.trimmed().isEmpty());
  if (form4_) form4_->ShowState();
}

void TForm1::DisableControls() {
  trovenix::DisableControls(model_);
  ShowState();
}

void TForm1::EnableControls() {
  trovenix::EnableControls(model_);
  ShowState();
}

void TForm1::BrowseClick() {
  if (model_.Run.Converting || (driver_ && driver_->Converting())) return;
  ChooseOutputFolder();
}

void TForm1::ChooseOutputFolder() {
  const auto folder =
      services_.Folders.ChooseFolder(FolderPickerHeadline, FolderPickerStart(model_));
  if (!folder) return;
  FolderPicked(model_, *folder);
  ShowState();
}

void TForm1::ExitCommand() {
  exiting_ = true;
  ForgetList();
  // exit(), unlike quit(), leaves the event loop without closing windows,
  // so the close handling and its saving do not run.
  QCoreApplication::exit(0);
}

void TForm1::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (shownOnce_ || terminated_) return;
  shownOnce_ = true;
  // The lists of the format selected by now (the first, or the one the
  // settings restored).
  ComboOutputFormatChange(model_.Profile, Hooks());
  ShowState();
}

void TForm1::closeEvent(QCloseEvent* event) {
  // Not while a batch runs, also between two of its rows.
  if (!CloseQuery(model_) || BatchBusy()) {
    event->ignore();
    return;
  }
  // No event of the engine may reach a closing window.
  engine_.OnBeforeHook = nullptr;
  engine_.OnCustomHook = nullptr;
  engine_.OnLog = nullptr;
  engine_.OnProgress = nullptr;
  engine_.OnTerminate = nullptr;
  timerConvertAgain_.stop();
  engine_.StopTasks();
  if (!exiting_ && !terminated_) {
    try {
      SaveSettings(services_.Store, SettingsSubject());
    } catch (...) {
      // A store that cannot be written keeps its old values.
    }
  }
  ForgetList();
  event->accept();
}

void TForm1::ForgetList() {
  if (keeper_) keeper_->Finish();
}

void TForm1::OpenOutputFolder() {
  const std::string folder = TrimSpaces(model_.OutputFolder);
  if (folder.empty()) return;
  std::error_code ec;
  if (!std::filesystem::is_directory(folder, ec)) {
    services_.Messages.Information(TBatchDriver::MissingFolderText(model_.OutputFolder));
    return;
  }
  IUrlOpener& opener = services_.Urls ? *services_.Urls : DesktopUrlOpener();
  if (!opener.OpenUrl(QUrl::fromLocalFile(QString::fromStdString(folder))))
    services_.Messages.Information("No file manager could open the folder " + folder + ".");
}

void TForm1::SyncConverting() {
  model_.Run.Converting = driver_ && driver_->Converting();
}

bool TForm1::BatchBusy() const {
  return model_.Run.Converting || (driver_ && (driver_->Converting() || driver_->BatchRunning()));
}

void TForm1::AddClick() {
  // A second add while the first serves events would interleave their rows.
  if (model_.Run.Converting || (driver_ && driver_->Converting()) || model_.Run.AddingFiles ||
      terminated_)
    return;
  engine_.ClearTaskList();
  fileList_.ClearProgressAndFrames();
  IFileDialog& dialog = services_.OpenFiles ? *services_.OpenFiles : qtFileDialog_;
  std::vector<std::string> files;
  {
    model_.Run.AddingFiles = true;
    struct TDone {
      bool& Flag;
      ~TDone() { Flag = false; }
    } done{model_.Run.AddingFiles};
    try {
      files = dialog.ChooseFiles();
    } catch (...) {
      // Errors of the add step are ignored.
      return;
    }
  }
  AddFiles(files);
}

void TForm1::AddFiles(const std::vector<std::string>& files) {
  if (terminated_) return;
  model_.Run.AddingFiles = true;
  struct TDone {
    bool& Flag;
    ~TDone() { Flag = false; }
  } done{model_.Run.AddingFiles};
  TAVProbe& probe = engine_.Probe();
  // Painting the list costs several times a probe of a short file, so the
  // list is painted at most every ShowEveryMs while pending events are still
  // served after every file: the window answers at once, the rows appear at
  // a steady pace, and adding a thousand files costs what probing them does.
  constexpr qint64 ShowEveryMs = 50;
  QTreeView& list = *ui_.ListView1;
  QElapsedTimer sinceShown;
  sinceShown.start();
  struct TPaintAgain {
    QTreeView& List;
    ~TPaintAgain() { List.setUpdatesEnabled(true); }
  } paintAgain{list};
  list.setUpdatesEnabled(false);
  try {
    for (std::size_t i = 0; i < files.size(); ++i) {
      const std::string& file = files[i];
      TFileListRow row;
      row.FileName = file;
      if (probe.LoadFile(file)) {
        const TProbeCells cells = ProbeCellTexts(probe);
        row.VideoSize = cells.VideoSize;
        row.FrameRate = cells.FrameRate;
        row.Duration = cells.Duration;
        row.Output = model_.Profile.OutputExtension;
      } else {
        row.Progress = "Error";
        row.Reason = probe.LastError();
      }
      // Only the cells are kept: the file is not held open while it waits.
      probe.Close();
      fileList_.AppendRow(std::move(row));
      const bool show = i + 1 == files.size() || sinceShown.elapsed() >= ShowEveryMs;
      if (show) {
        list.setUpdatesEnabled(true);
        list.scrollTo(fileList_.index(fileList_.rowCount() - 1, 0));
        sinceShown.restart();
      }
      QCoreApplication::processEvents();
      if (show) list.setUpdatesEnabled(false);
    }
  } catch (...) {
    // An error while filling a row ends the add step silently.
    probe.Close();
  }
}

bool TForm1::DropPaths(const std::vector<std::string>& paths) {
  if (BatchBusy() || model_.Run.AddingFiles || terminated_) return false;
  engine_.ClearTaskList();
  fileList_.ClearProgressAndFrames();
  AddFiles(ExpandDroppedPaths(paths));
  return true;
}

void TForm1::RemoveClick() {
  // Rows are not renumbered under a running batch.
  if (model_.Run.AddingFiles || BatchBusy()) return;
  const QModelIndexList selected = ui_.ListView1->selectionModel()->selectedRows();
  if (selected.isEmpty()) return;
  fileList_.RemoveRow(selected.front().row());
}

void TForm1::ClearClick() {
  // Between two rows of a batch Converting is off, but the driver still
  // walks the rows: they stay until the batch ends.
  if (model_.Run.AddingFiles || BatchBusy()) return;
  engine_.ClearTaskList();
  fileList_.Clear();
}

void TForm1::CheckAll(bool checked) {
  fileList_.SetAllChecked(checked);
}

void TForm1::ConvertClick() {
  if (driver_) driver_->ConvertClick();
  SyncConverting();
}

void TForm1::StopClick() {
  if (driver_) driver_->StopClick();
  SyncConverting();
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
  if ((watched == ui_.PanelPreview || watched == ui_.PanelPlay) &&
      event->type() == QEvent::KeyPress && playback_) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Space && !key->isAutoRepeat()) {
      playback_->TogglePauseKey();
      return true;
    }
    return QMainWindow::eventFilter(watched, event);
  }
  if (watched != ui_.ListView1->viewport()) return QMainWindow::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
      auto* drag = static_cast<QDropEvent*>(event);
      if (drag->mimeData()->hasUrls() && !BatchBusy() && !model_.Run.AddingFiles)
        drag->acceptProposedAction();
      else
        drag->ignore();
      return true;
    }
    case QEvent::Drop: {
      auto* drop = static_cast<QDropEvent*>(event);
      std::vector<std::string> paths;
      for (const QUrl& url : drop->mimeData()->urls())
        if (url.isLocalFile()) paths.push_back(url.toLocalFile().toStdString());
      if (paths.empty()) {
        drop->ignore();
        return true;
      }
      drop->acceptProposedAction();
      // The add step serves events; it runs once the drag has finished.
      QMetaObject::invokeMethod(
          this, [this, paths] { DropPaths(paths); }, Qt::QueuedConnection);
      return true;
    }
    default:
      return QMainWindow::eventFilter(watched, event);
  }
}

}  // namespace trovenix
