#include "app/Form1Ui.h"

#include <QHeaderView>
#include <QIcon>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>

#include "app/FileListModel.h"
#include "app/StillPicture.h"

namespace trovenix {
namespace {

// Places of the controls, in the central area's coordinates.
constexpr int Margin = 6;
constexpr int CommandTop = 4;
constexpr int CommandHeight = 30;
constexpr int RowHeight = 24;
constexpr int GroupWidth = 260;
constexpr int GroupRowPitch = 27;
constexpr int GroupFirstRow = 20;
constexpr int GroupHeight = GroupFirstRow + 5 * GroupRowPitch + 6;
constexpr int LabelWidth = 110;
constexpr int ListInGroupLeft = 8 + LabelWidth;
constexpr int ListInGroupWidth = GroupWidth - ListInGroupLeft - 8;
constexpr int ProgressHeight = 18;

// Every control carries its caption, or its hint when it has no caption, as
// its accessible name, so screen readers and tests find it by what it shows.
template <typename TWidget>
TWidget* Named(TWidget* widget, const QString& name, const QString& hint = {}) {
  widget->setAccessibleName(name.isEmpty() ? hint : name);
  if (!hint.isEmpty()) {
    widget->setToolTip(hint);
    if (!name.isEmpty()) widget->setAccessibleDescription(hint);
  }
  return widget;
}

QPushButton* CommandButton(QWidget* parent, const QString& caption, const QString& hint, int left,
                           int width) {
  auto* button = Named(new QPushButton(caption, parent), caption, hint);
  button->setGeometry(left, CommandTop, width, CommandHeight);
  return button;
}

QLabel* Caption(QWidget* parent, const QString& text, int left, int top, int width) {
  auto* label = Named(new QLabel(text, parent), text);
  label->setGeometry(left, top, width, RowHeight);
  return label;
}

// A labelled list in a settings group, in the row-th row.
template <typename TBox = QComboBox>
TBox* GroupList(QGroupBox* group, int row, const QString& caption, const QString& hint = {}) {
  const int top = GroupFirstRow + row * GroupRowPitch;
  QLabel* label = Caption(group, caption, 8, top, LabelWidth);
  auto* box = Named(new TBox(group), caption, hint);
  box->setGeometry(ListInGroupLeft, top, ListInGroupWidth, RowHeight);
  label->setBuddy(box);
  return box;
}

QToolButton* PlayerButton(QWidget* parent, QStyle::StandardPixmap glyph, const QString& hint,
                          int left, int top, int width) {
  auto* button = Named(new QToolButton(parent), QString(), hint);
  button->setIcon(parent->style()->standardIcon(glyph));
  button->setGeometry(left, top, width, 26);
  return button;
}

void BuildMenus(QMainWindow& window, TForm1Ui& ui) {
  QMenuBar* bar = window.menuBar();
  ui.MenuFile = bar->addMenu(QStringLiteral("File"));
  ui.ActionAddFiles = ui.MenuFile->addAction(QStringLiteral("Add Files"));
  ui.MenuFile->addSeparator();
  ui.ActionConvert = ui.MenuFile->addAction(QStringLiteral("Convert"));
  ui.ActionOpenOutputFolder = ui.MenuFile->addAction(QStringLiteral("Open Output Folder"));
  ui.MenuFile->addSeparator();
  ui.ActionExit = ui.MenuFile->addAction(QStringLiteral("Exit"));
  ui.MenuOptions = bar->addMenu(QStringLiteral("Options"));
  ui.ActionAdditionalOptions = ui.MenuOptions->addAction(QStringLiteral("Set Additional Options"));
  ui.ActionSkins = bar->addAction(QStringLiteral("Skins"));
  ui.MenuHelp = bar->addMenu(QStringLiteral("Help"));
  ui.ActionOpenHelp = ui.MenuHelp->addAction(QStringLiteral("Open Help File"));
  ui.MenuHelp->addSeparator();
  ui.ActionVisitWebsite = ui.MenuHelp->addAction(QStringLiteral("Visit Qelvar Website"));
  ui.MenuHelp->addSeparator();
  ui.ActionAbout = ui.MenuHelp->addAction(QStringLiteral("About"));
  bar->setAccessibleName(QStringLiteral("Main Menu"));
}

void BuildFileList(QWidget* central, TForm1Ui& ui, int top, int height) {
  ui.ListView1 = Named(new QTreeView(central), QStringLiteral("Video File List"));
  ui.ListView1->setGeometry(Margin, top, Form1ClientWidth - 2 * Margin, height);
  ui.ListView1->setRootIsDecorated(false);
  ui.ListView1->setItemsExpandable(false);
  ui.ListView1->setUniformRowHeights(true);
  ui.ListView1->setAllColumnsShowFocus(true);
  ui.ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
  ui.ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
  ui.ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
  ui.ListView1->setContextMenuPolicy(Qt::CustomContextMenu);
  ui.ListView1->header()->setStretchLastSection(false);
  ui.ListView1->header()->setSectionsMovable(false);
  ui.ListView1->header()->setHighlightSections(false);

  ui.ListMenu = new QMenu(central);
  ui.ActionRemoveSelected = ui.ListMenu->addAction(QStringLiteral("Remove Selected Item"));
  ui.ActionClearAllItems = ui.ListMenu->addAction(QStringLiteral("Clear All Items"));
  ui.ListMenu->addSeparator();
  ui.ActionCheckAll = ui.ListMenu->addAction(QStringLiteral("Check All Items"));
  ui.ActionUncheckAll = ui.ListMenu->addAction(QStringLiteral("Uncheck All Items"));
  ui.ListMenu->addSeparator();
  ui.ActionPlaySelected = ui.ListMenu->addAction(QStringLiteral("Play Selected Video"));
}

void BuildOutputStrip(QWidget* central, TForm1Ui& ui, int top) {
  QLabel* formatLabel = Caption(central, QStringLiteral("Output Format : "), Margin, top, 98);
  ui.ComboOutputFormat = Named(new TFormatComboBox(central), QStringLiteral("Output Format : "));
  formatLabel->setBuddy(ui.ComboOutputFormat);
  // Without this some styles open the list as a menu over the selected
  // entry, which shows every item whatever the drop-down count says.
  ui.ComboOutputFormat->setStyleSheet(QStringLiteral("combobox-popup: 0;"));
  ui.ComboOutputFormat->setGeometry(Margin + 98, top, 292, RowHeight);
  QLabel* folderLabel = Caption(central, QStringLiteral("Output Folder : "), 404, top, 96);
  ui.EditOutputFolder = Named(new QLineEdit(central), QStringLiteral("Output Folder : "));
  folderLabel->setBuddy(ui.EditOutputFolder);
  ui.EditOutputFolder->setGeometry(500, top, 222, RowHeight);
  ui.ButtonBrowse = Named(new QToolButton(central), QString(), QStringLiteral("Browse For Folder"));
  ui.ButtonBrowse->setIcon(central->style()->standardIcon(QStyle::SP_DirOpenIcon));
  ui.ButtonBrowse->setGeometry(Form1ClientWidth - Margin - 32, top, 32, RowHeight);
}

void BuildVideoGroup(QWidget* central, TForm1Ui& ui, int top) {
  ui.GroupVideo = Named(new QGroupBox(QStringLiteral(" Video Settings "), central),
                        QStringLiteral(" Video Settings "));
  ui.GroupVideo->setGeometry(Margin, top, GroupWidth, GroupHeight);
  ui.ComboVideoCodec = GroupList(ui.GroupVideo, 0, QStringLiteral("Video Codec : "));
  ui.ComboVideoSize = GroupList(ui.GroupVideo, 1, QStringLiteral("Video Size : "));
  ui.ComboVideoBitrate = GroupList(ui.GroupVideo, 2, QStringLiteral("Video Bitrate : "));
  ui.ComboVideoFramerate = GroupList(ui.GroupVideo, 3, QStringLiteral("Video Framerate : "));
  ui.ComboLetterBox = GroupList(ui.GroupVideo, 4, QStringLiteral("Video Zoom : "),
                                QStringLiteral("Add a letterbox to keep video aspect ratio"));
}

void BuildAudioGroup(QWidget* central, TForm1Ui& ui, int top) {
  ui.GroupAudio = Named(new QGroupBox(QStringLiteral(" Audio Settings "), central),
                        QStringLiteral(" Audio Settings "));
  ui.GroupAudio->setGeometry(Margin + GroupWidth + 4, top, GroupWidth, GroupHeight);
  ui.ComboAudioCodec = GroupList(ui.GroupAudio, 0, QStringLiteral("Audio Codec : "));
  ui.ComboAudioBitrate = GroupList(ui.GroupAudio, 1, QStringLiteral("Audio Bitrate :"));
  ui.ComboAudioChannels = GroupList(ui.GroupAudio, 2, QStringLiteral("Audio Channels :"));
  ui.ComboSamplingRate = GroupList(ui.GroupAudio, 3, QStringLiteral("Sampling Rate : "));

  const int volumeTop = GroupFirstRow + 4 * GroupRowPitch;
  QLabel* label = Caption(ui.GroupAudio, QStringLiteral("Volume : "), 8, volumeTop, LabelWidth);
  ui.TrackBar1 = Named(new QSlider(Qt::Horizontal, ui.GroupAudio), QStringLiteral("Volume : "),
                       QStringLiteral("100% is the original video volume"));
  ui.TrackBar1->setRange(0, 10);
  ui.TrackBar1->setSingleStep(1);
  ui.TrackBar1->setPageStep(1);
  ui.TrackBar1->setTickPosition(QSlider::TicksBelow);
  ui.TrackBar1->setTickInterval(1);
  ui.TrackBar1->setGeometry(ListInGroupLeft, volumeTop, ListInGroupWidth - 44, RowHeight);
  label->setBuddy(ui.TrackBar1);
  ui.LabelVolume = new QLabel(ui.GroupAudio);
  ui.LabelVolume->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  ui.LabelVolume->setGeometry(GroupWidth - 8 - 42, volumeTop, 42, RowHeight);
}

void BuildPreviewPanel(QWidget* central, TForm1Ui& ui, int top) {
  const int left = Margin + 2 * (GroupWidth + 4);
  const int width = Form1ClientWidth - Margin - left;
  const int buttonsTop = top + GroupHeight - 26;
  ui.PanelPreview = Named(new QFrame(central), QStringLiteral("Preview"));
  ui.PanelPreview->setGeometry(left, top + 6, width, buttonsTop - top - 10);
  ui.PanelPreview->setFrameShape(QFrame::Box);
  ui.PanelPreview->setAutoFillBackground(true);
  QPalette black = ui.PanelPreview->palette();
  black.setColor(QPalette::Window, Qt::black);
  ui.PanelPreview->setPalette(black);
  ui.PanelPreview->setProperty("trovenixPreview", true);  // every skin keeps it black
  // The picture area above a strip with the position slider and the time.
  constexpr int StripHeight = 20;
  const QRect area(1, 1, ui.PanelPreview->width() - 2, ui.PanelPreview->height() - 2 - StripHeight);
  ui.ImageStill = Named(new QLabel(ui.PanelPreview), QStringLiteral("Preview Picture"));
  ui.ImageStill->setGeometry(area);
  ui.ImageStill->setAlignment(Qt::AlignCenter);
  ui.ImageStill->setPixmap(StillPicture(area.size()));
  ui.PlayArea = new QWidget(ui.PanelPreview);
  ui.PlayArea->setGeometry(area);
  ui.PanelPlay = new TPlayPanel(ui.PlayArea);
  ui.PanelPlay->setGeometry(0, 0, area.width(), area.height());
  ui.PlayArea->hide();

  constexpr int TimeWidth = 84;
  const int stripTop = area.bottom() + 1;
  ui.SliderPosition = Named(new QSlider(Qt::Horizontal, ui.PanelPreview), QString(),
                            QStringLiteral("Playback Position"));
  ui.SliderPosition->setGeometry(4, stripTop, area.width() - TimeWidth - 6, StripHeight);
  ui.SliderPosition->setRange(0, 0);
  ui.SliderPosition->setFocusPolicy(Qt::NoFocus);
  ui.LabelPlayTime = Named(new QLabel(QStringLiteral("0:00 / --:--"), ui.PanelPreview), QString(),
                           QStringLiteral("Elapsed / Total Time"));
  ui.LabelPlayTime->setGeometry(area.width() - TimeWidth, stripTop, TimeWidth, StripHeight);
  ui.LabelPlayTime->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  // Light on the black panel in every skin.
  ui.LabelPlayTime->setStyleSheet(QStringLiteral("color: #e6e6e6; background: transparent;"));
  ui.PanelPreview->setFocusPolicy(Qt::StrongFocus);

  const int pitch = (width + 3) / 5;
  const int buttonWidth = pitch - 3;
  ui.ButtonPlay = PlayerButton(central, QStyle::SP_MediaPlay, QStringLiteral("Play"), left,
                               buttonsTop, buttonWidth);
  ui.ButtonPause = PlayerButton(central, QStyle::SP_MediaPause, QStringLiteral("Pause"),
                                left + pitch, buttonsTop, buttonWidth);
  ui.ButtonStop = PlayerButton(central, QStyle::SP_MediaStop, QStringLiteral("Stop"),
                               left + 2 * pitch, buttonsTop, buttonWidth);
  ui.ButtonVolume = PlayerButton(central, QStyle::SP_MediaVolume, QStringLiteral("Adjust Volume"),
                                 left + 3 * pitch, buttonsTop, buttonWidth);
  ui.ButtonVolume->setIcon(QIcon(QStringLiteral(":/trovenix/icons/spkfull.png")));
  ui.VolumeMenu = new QMenu(ui.ButtonVolume);
  ui.ActionFullVolume = ui.VolumeMenu->addAction(QStringLiteral("Full Volume"));
  ui.ActionHalfVolume = ui.VolumeMenu->addAction(QStringLiteral("Half Volume"));
  ui.ActionMute = ui.VolumeMenu->addAction(QStringLiteral("Mute"));
  ui.ActionFullVolume->setData(10);
  ui.ActionHalfVolume->setData(9);
  ui.ActionMute->setData(8);
  ui.ButtonSnapshot = PlayerButton(central, QStyle::SP_DialogSaveButton, QStringLiteral("Snapshot"),
                                   left + 4 * pitch, buttonsTop, width - 4 * pitch);
}

void BuildStatusBar(QMainWindow& window, TForm1Ui& ui) {
  QStatusBar* bar = window.statusBar();
  bar->setSizeGripEnabled(false);
  const int widths[3] = {150, 300, 50};
  for (int i = 0; i < 3; ++i) {
    ui.StatusPanels[i] = new QLabel(bar);
    ui.StatusPanels[i]->setFixedWidth(widths[i]);
    bar->addWidget(ui.StatusPanels[i]);
  }
  ui.StatusPanels[0]->setText(QStringLiteral("Ready"));
  ui.StatusPanels[0]->setAccessibleName(QStringLiteral("Status"));
  ui.StatusPanels[1]->setAccessibleName(QStringLiteral("Output Size"));
}

}  // namespace

TForm1Ui BuildForm1Ui(QMainWindow& window) {
  TForm1Ui ui;
  // The places below are made for this size; a larger desktop font would
  // clip the captions of a window that cannot grow.
  QFont font = window.font();
  font.setPointSize(DesignFontPointSize);
  window.setFont(font);
  BuildMenus(window, ui);
  BuildStatusBar(window, ui);

  auto* central = new QWidget(&window);
  window.setCentralWidget(central);
  const int centralHeight = Form1ClientHeight - window.menuBar()->sizeHint().height() -
                            window.statusBar()->sizeHint().height();

  ui.ButtonAddVideo = CommandButton(central, QStringLiteral("Add Video "),
                                    QStringLiteral("Add Files to Convert"), Margin, 104);
  ui.ButtonRemove = CommandButton(central, QStringLiteral("Remove"),
                                  QStringLiteral("Remove A Single File From List"), 114, 104);
  ui.ButtonClearAll = CommandButton(central, QStringLiteral("Clear All "),
                                    QStringLiteral("Clear All Files Listed"), 222, 104);
  ui.ButtonStopConvert = CommandButton(central, QStringLiteral("Stop Convert"),
                                       QStringLiteral("Stop Conversion"), 541, 104);
  ui.ButtonConvertNow = CommandButton(central, QStringLiteral("Convert Now !"),
                                      QStringLiteral("Start Conversion"), 649, 108);

  // From the bottom up: progress bar, settings groups, output strip; the
  // file list takes what is left.
  const int progressTop = centralHeight - 4 - ProgressHeight;
  const int groupsTop = progressTop - 6 - GroupHeight;
  const int stripTop = groupsTop - 6 - RowHeight;
  const int listTop = CommandTop + CommandHeight + 4;
  BuildFileList(central, ui, listTop, stripTop - 6 - listTop);
  BuildOutputStrip(central, ui, stripTop);
  BuildVideoGroup(central, ui, groupsTop);
  BuildAudioGroup(central, ui, groupsTop);
  BuildPreviewPanel(central, ui, groupsTop);

  ui.ProgressBar1 = Named(new QProgressBar(central), QStringLiteral("Progress"));
  ui.ProgressBar1->setRange(0, 100);
  ui.ProgressBar1->setValue(0);
  ui.ProgressBar1->setTextVisible(false);
  ui.ProgressBar1->setGeometry(Margin, progressTop, Form1ClientWidth - 2 * Margin, ProgressHeight);

  // Beyond the right edge of the window, so never seen: the list keeps its
  // first entry.
  ui.LabelAspectRatio =
      Caption(central, QStringLiteral("Aspect Ratio : "), Form1ClientWidth + 20, groupsTop, 96);
  ui.ComboAspectRatio = Named(new QComboBox(central), QStringLiteral("Aspect Ratio : "));
  ui.ComboAspectRatio->setGeometry(Form1ClientWidth + 120, groupsTop, 130, RowHeight);
  ui.LabelAspectRatio->setBuddy(ui.ComboAspectRatio);
  return ui;
}

}  // namespace trovenix
