// The window as it comes up: its fixed frame, the first format with its
// lists, the volume, the status bar, the off-screen aspect-ratio list, the
// skin, and what happens when the media libraries are missing.
#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QMenuBar>
#include <QSpinBox>

#include "WindowFixture.h"

namespace trovenix::test {
namespace {

using StartUpTest = WindowFixture;

TEST_F(StartUpTest, ShowsTheFirstFormatWithItsListsVolumeAndReady) {
  StartUp();
  const TForm1Ui& ui = form1->Ui();
  EXPECT_EQ(form1->windowTitle(), "Trovenix");
  EXPECT_EQ(form1->size(), QSize(763, 564));
  EXPECT_EQ(form1->minimumSize(), form1->maximumSize());
  EXPECT_FALSE(form1->windowFlags() & Qt::WindowMaximizeButtonHint);

  EXPECT_EQ(ui.ComboOutputFormat->currentIndex(), 0);
  EXPECT_EQ(ui.ComboOutputFormat->currentText(), "iPod (*.mp4)");
  EXPECT_EQ(ui.ComboOutputFormat->count(), 33);
  EXPECT_EQ(form1->Model().Profile.OutputExtension, "MP4");
  EXPECT_EQ(Items(*ui.ComboVideoCodec), (std::vector<std::string>{"MPEG4", "H264"}));
  EXPECT_EQ(ui.ComboVideoCodec->currentText(), "MPEG4");
  EXPECT_EQ(Items(*ui.ComboVideoSize), (std::vector<std::string>{"320 x 240"}));
  EXPECT_EQ(ui.ComboVideoBitrate->currentText(), "512 Kbps");
  EXPECT_EQ(ui.ComboVideoFramerate->currentText(), "Auto");
  EXPECT_EQ(ui.ComboAudioCodec->currentText(), "mpeg4aac");
  EXPECT_EQ(ui.ComboAudioBitrate->currentText(), "64 Kbps");
  EXPECT_EQ(ui.ComboSamplingRate->currentText(), "44100 Hz");
  EXPECT_EQ(Items(*ui.ComboLetterBox), (std::vector<std::string>{"None", "LetterBox"}));
  EXPECT_EQ(ui.ComboLetterBox->currentText(), "None");
  for (QComboBox* video : {ui.ComboVideoCodec, ui.ComboVideoSize, ui.ComboVideoBitrate,
                           ui.ComboVideoFramerate, ui.ComboLetterBox})
    EXPECT_TRUE(video->isEnabled());

  EXPECT_EQ(ui.TrackBar1->minimum(), 0);
  EXPECT_EQ(ui.TrackBar1->maximum(), 10);
  EXPECT_EQ(ui.TrackBar1->value(), 5);
  EXPECT_EQ(ui.LabelVolume->text(), "100%");
  EXPECT_EQ(form1->Model().Profile.VolumeValue, 255);

  EXPECT_EQ(ui.StatusPanels[0]->text(), "Ready");
  EXPECT_EQ(ui.StatusPanels[0]->width(), 150);
  EXPECT_EQ(ui.StatusPanels[1]->width(), 300);
  EXPECT_EQ(ui.StatusPanels[2]->width(), 50);
  EXPECT_EQ(ui.ProgressBar1->minimum(), 0);
  EXPECT_EQ(ui.ProgressBar1->maximum(), 100);

  // After the first format change the list drops down as many items as the
  // Additional Options box says.
  EXPECT_EQ(ui.ComboOutputFormat->maxVisibleItems(), 24);
  EXPECT_FALSE(form1->TimerConvertAgain().isActive());
  EXPECT_EQ(form1->TimerConvertAgain().interval(), 100);
  EXPECT_EQ(dialogs.Skin(), "Elegance");
  EXPECT_TRUE(dialogs.SkinFolder().endsWith("/Skins"));
  EXPECT_TRUE(messages.Informations.empty());
}

TEST_F(StartUpTest, AspectRatioListLiesOutsideTheWindowWithItsFirstEntry) {
  StartUp();
  const TForm1Ui& ui = form1->Ui();
  EXPECT_EQ(Items(*ui.ComboAspectRatio),
            (std::vector<std::string>{"Original", "4:3 (Standard", "16:9 (Wide Screen)"}));
  EXPECT_EQ(ui.ComboAspectRatio->currentText(), "Original");
  const QPoint inWindow = ui.ComboAspectRatio->mapTo(form1.get(), QPoint(0, 0));
  EXPECT_GE(inWindow.x(), 763);
  EXPECT_GE(ui.LabelAspectRatio->mapTo(form1.get(), QPoint(0, 0)).x(), 763);
}

TEST_F(StartUpTest, EveryVisibleControlLiesInsideTheWindowAndIsNamed) {
  StartUp();
  const QRect client(QPoint(0, 0), form1->size());
  const TForm1Ui& ui = form1->Ui();
  for (QWidget* w : form1->findChildren<QWidget*>()) {
    if (!w->isVisible() || w->isWindow()) continue;
    const bool control = qobject_cast<QAbstractButton*>(w) || qobject_cast<QComboBox*>(w) ||
                         qobject_cast<QSlider*>(w) || qobject_cast<QLineEdit*>(w) ||
                         qobject_cast<QGroupBox*>(w) || w == ui.ListView1;
    if (!control || w->parentWidget() == nullptr) continue;
    // Line edits of combo boxes and the list's own parts belong to them.
    if (qobject_cast<QComboBox*>(w->parentWidget()) || w->parentWidget() == ui.ListView1 ||
        w->parentWidget()->parentWidget() == ui.ListView1)
      continue;
    if (w == ui.ComboAspectRatio) continue;
    EXPECT_FALSE(w->accessibleName().isEmpty()) << w->metaObject()->className();
    const QRect place(w->mapTo(form1.get(), QPoint(0, 0)), w->size());
    EXPECT_TRUE(client.contains(place)) << w->accessibleName().toStdString();
  }
}

TEST_F(StartUpTest, ControlsCarryTheirCaptionsAndHints) {
  StartUp();
  const TForm1Ui& ui = form1->Ui();
  struct Expected {
    QWidget* Widget;
    const char* Name;
    const char* Hint;
  };
  const Expected table[] = {
      {ui.ButtonAddVideo, "Add Video ", "Add Files to Convert"},
      {ui.ButtonRemove, "Remove", "Remove A Single File From List"},
      {ui.ButtonClearAll, "Clear All ", "Clear All Files Listed"},
      {ui.ButtonStopConvert, "Stop Convert", "Stop Conversion"},
      {ui.ButtonConvertNow, "Convert Now !", "Start Conversion"},
      {ui.ButtonBrowse, "Browse For Folder", "Browse For Folder"},
      {ui.ComboOutputFormat, "Output Format : ", ""},
      {ui.EditOutputFolder, "Output Folder : ", ""},
      {ui.ComboVideoCodec, "Video Codec : ", ""},
      {ui.ComboVideoSize, "Video Size : ", ""},
      {ui.ComboVideoBitrate, "Video Bitrate : ", ""},
      {ui.ComboVideoFramerate, "Video Framerate : ", ""},
      {ui.ComboLetterBox, "Video Zoom : ", "Add a letterbox to keep video aspect ratio"},
      {ui.ComboAudioCodec, "Audio Codec : ", ""},
      {ui.ComboAudioBitrate, "Audio Bitrate :", ""},
      {ui.ComboAudioChannels, "Audio Channels :", ""},
      {ui.ComboSamplingRate, "Sampling Rate : ", ""},
      {ui.TrackBar1, "Volume : ", "100% is the original video volume"},
      {ui.GroupVideo, " Video Settings ", ""},
      {ui.GroupAudio, " Audio Settings ", ""},
      {ui.ButtonPlay, "Play", "Play"},
      {ui.ButtonPause, "Pause", "Pause"},
      {ui.ButtonStop, "Stop", "Stop"},
      {ui.ButtonVolume, "Adjust Volume", "Adjust Volume"},
      {ui.ButtonSnapshot, "Snapshot", "Snapshot"},
  };
  for (const Expected& e : table) {
    EXPECT_EQ(e.Widget->accessibleName(), e.Name);
    EXPECT_EQ(e.Widget->toolTip(), e.Hint) << e.Name;
    if (*e.Hint) {
      EXPECT_EQ(e.Widget->toolTipDuration(), 30000) << e.Name;
    }
  }
  EXPECT_EQ(ui.ButtonAddVideo->text(), "Add Video ");
  EXPECT_EQ(ui.GroupVideo->title(), " Video Settings ");

  QStringList volumeItems;
  for (QAction* a : ui.VolumeMenu->actions()) volumeItems << a->text();
  EXPECT_EQ(volumeItems, (QStringList{"Full Volume", "Half Volume", "Mute"}));
  // The button opens the menu itself, above and left of the button.
  EXPECT_EQ(ui.ButtonVolume->menu(), nullptr);
  ui.ButtonVolume->click();
  EXPECT_TRUE(ui.VolumeMenu->isVisible());
  ui.VolumeMenu->hide();
}

TEST_F(StartUpTest, MenusAndTheListMenuHoldTheirItemsAndSeparators) {
  StartUp();
  const TForm1Ui& ui = form1->Ui();
  auto texts = [](const QList<QAction*>& actions) {
    QStringList list;
    for (QAction* a : actions) list << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return list;
  };
  EXPECT_EQ(texts(form1->menuBar()->actions()), (QStringList{"File", "Options", "Skins", "Help"}));
  EXPECT_EQ(texts(ui.MenuFile->actions()),
            (QStringList{"Add Files", "-", "Convert", "Open Output Folder", "-", "Exit"}));
  EXPECT_EQ(texts(ui.MenuOptions->actions()), (QStringList{"Set Additional Options"}));
  EXPECT_EQ(texts(ui.MenuHelp->actions()),
            (QStringList{"Open Help File", "-", "Visit Qelvar Website", "-", "About"}));
  EXPECT_EQ(texts(ui.ListMenu->actions()),
            (QStringList{"Remove Selected Item", "Clear All Items", "-", "Check All Items",
                         "Uncheck All Items", "-", "Play Selected Video"}));

  ui.ActionSkins->trigger();
  EXPECT_EQ(dialogs.SkinChooserShown, 1);
  ui.ActionAbout->trigger();
  EXPECT_EQ(dialogs.AboutShown, 1);
  ui.ActionOpenHelp->trigger();
  ui.ActionVisitWebsite->trigger();
  EXPECT_EQ(dialogs.BrowserRequests, 2);
  EXPECT_EQ(form1->HelpFile(), form1->ProgramFolder() + "help.html");

  // File > Add Files and File > Convert click the buttons.
  int addClicks = 0, convertClicks = 0;
  QObject::connect(ui.ButtonAddVideo, &QPushButton::clicked, [&] { ++addClicks; });
  QObject::connect(ui.ButtonConvertNow, &QPushButton::clicked, [&] { ++convertClicks; });
  ui.ActionAddFiles->trigger();
  ui.ActionConvert->trigger();
  EXPECT_EQ(addClicks, 1);
  EXPECT_EQ(convertClicks, 1);
}

TEST_F(StartUpTest, OpenDialogOffersExistingFilesOfTheSupportedTypes) {
  StartUp();
  QFileDialog& dialog = form1->OpenDialog();
  EXPECT_EQ(dialog.fileMode(), QFileDialog::ExistingFiles);
  // The selected filter is named without its patterns, as the dialog shows it.
  EXPECT_EQ(dialog.selectedNameFilter().toStdString(), "All Supported Files");
  EXPECT_FALSE(dialog.testOption(QFileDialog::ReadOnly));
  ASSERT_EQ(dialog.nameFilters().size(), 24);
  EXPECT_TRUE(dialog.nameFilters()[0].startsWith("All Supported Files ("));
  EXPECT_EQ(&form1->OpenDialog(), &dialog);
}

TEST_F(StartUpTest, FileListShowsSevenColumnsWithTheirWidths) {
  StartUp();
  QTreeView* list = form1->Ui().ListView1;
  const char* captions[] = {"Video File Name", "Video Size", "FrameRate", "Duration",
                            "Output",          "Progress",   "Frames"};
  const int widths[] = {280, 90, 90, 75, 65, 60, 60};
  ASSERT_EQ(list->model()->columnCount(), 7);
  for (int c = 0; c < 7; ++c) {
    EXPECT_EQ(list->model()->headerData(c, Qt::Horizontal).toString(), captions[c]);
    EXPECT_EQ(list->columnWidth(c), widths[c]);
  }
  EXPECT_EQ(list->model()->rowCount(), 0);
  EXPECT_EQ(list->selectionBehavior(), QAbstractItemView::SelectRows);
}

TEST_F(StartUpTest, AdditionalOptionsDialogFloatsOnTopCentredOnTheMainWindow) {
  StartUp();
  EXPECT_EQ(form4->windowTitle(), "Additional Options");
  EXPECT_TRUE(form4->windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_FALSE(form4->isVisible());
  form1->Ui().ActionAdditionalOptions->trigger();
  EXPECT_TRUE(form4->isVisible());
  EXPECT_FALSE(form4->isModal());
  EXPECT_LE((form4->frameGeometry().center() - form1->frameGeometry().center()).manhattanLength(),
            4);
  EXPECT_EQ(form4->CheckOverwrite()->text(), "Overwrite Existing File With The Same Name");
  EXPECT_EQ(form4->SpinDropDownItems()->minimum(), 20);
  EXPECT_EQ(form4->SpinDropDownItems()->maximum(), 60);
  EXPECT_EQ(form4->SpinDropDownItems()->value(), 24);

  // Values take effect at once.
  form4->SpinDropDownItems()->setValue(45);
  EXPECT_EQ(form1->Ui().ComboOutputFormat->maxVisibleItems(), 45);
  form4->CheckOverwrite()->setChecked(true);
  EXPECT_TRUE(form1->Model().Options.Overwrite);
  form4->ButtonDone()->click();
  EXPECT_FALSE(form4->isVisible());
  EXPECT_TRUE(form1->isVisible());
}

TEST_F(StartUpTest, MissingLibrariesShowTheMessageAndEndTheProgram) {
  std::string folderAsked;
  CreateWindows([&](TEngineComponent&, const std::string& folder) {
    folderAsked = folder;
    return false;
  });
  EXPECT_EQ(messages.Informations,
            (std::vector<std::string>{"Some files are missing. Please re-install this software"}));
  EXPECT_TRUE(form1->Terminated());
  EXPECT_EQ(folderAsked, form1->ProgramFolder() + "Common Files");
  // Nothing after the loading step ran.
  EXPECT_NE(form1->windowTitle(), "Trovenix");
}

}  // namespace
}  // namespace trovenix::test
