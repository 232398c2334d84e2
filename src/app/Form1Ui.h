// The controls of the main window, laid out at fixed places as the window
// was designed: 763 x 564, not resizable. Building them is all this does;
// TForm1 binds them to the model.
#pragma once

#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QToolButton>
#include <QTreeView>

#include "app/FormatComboBox.h"
#include "app/PlayPanel.h"

namespace trovenix {

inline constexpr int Form1ClientWidth = 763;
inline constexpr int Form1ClientHeight = 564;
// The point size of the window's font, which the fixed places are made for.
inline constexpr int DesignFontPointSize = 8;

struct TForm1Ui {
  // Menus.
  QMenu* MenuFile = nullptr;
  QAction* ActionAddFiles = nullptr;
  QAction* ActionConvert = nullptr;
  QAction* ActionOpenOutputFolder = nullptr;
  QAction* ActionExit = nullptr;
  QMenu* MenuOptions = nullptr;
  QAction* ActionAdditionalOptions = nullptr;
  QAction* ActionSkins = nullptr;  // the top-level item itself
  QMenu* MenuHelp = nullptr;
  QAction* ActionOpenHelp = nullptr;
  QAction* ActionVisitWebsite = nullptr;
  QAction* ActionAbout = nullptr;

  // Command bar.
  QPushButton* ButtonAddVideo = nullptr;
  QPushButton* ButtonRemove = nullptr;
  QPushButton* ButtonClearAll = nullptr;
  QPushButton* ButtonStopConvert = nullptr;
  QPushButton* ButtonConvertNow = nullptr;

  // File list and its menu.
  QTreeView* ListView1 = nullptr;
  QMenu* ListMenu = nullptr;
  QAction* ActionRemoveSelected = nullptr;
  QAction* ActionClearAllItems = nullptr;
  QAction* ActionCheckAll = nullptr;
  QAction* ActionUncheckAll = nullptr;
  QAction* ActionPlaySelected = nullptr;

  // Output strip.
  TFormatComboBox* ComboOutputFormat = nullptr;
  QLineEdit* EditOutputFolder = nullptr;
  QToolButton* ButtonBrowse = nullptr;

  // Settings groups.
  QGroupBox* GroupVideo = nullptr;
  QComboBox* ComboVideoCodec = nullptr;
  QComboBox* ComboVideoSize = nullptr;
  QComboBox* ComboVideoBitrate = nullptr;
  QComboBox* ComboVideoFramerate = nullptr;
  QComboBox* ComboLetterBox = nullptr;
  QGroupBox* GroupAudio = nullptr;
  QComboBox* ComboAudioCodec = nullptr;
  QComboBox* ComboAudioBitrate = nullptr;
  QComboBox* ComboAudioChannels = nullptr;
  QComboBox* ComboSamplingRate = nullptr;
  QSlider* TrackBar1 = nullptr;
  QLabel* LabelVolume = nullptr;
  // Outside the visible part of the window.
  QLabel* LabelAspectRatio = nullptr;
  QComboBox* ComboAspectRatio = nullptr;

  // Preview panel.
  QFrame* PanelPreview = nullptr;
  QLabel* ImageStill = nullptr;
  // sPanelPlay in its own container, so that it alone is a native window.
  QWidget* PlayArea = nullptr;
  TPlayPanel* PanelPlay = nullptr;
  // Along the bottom of the panel: where the playback is, and how long.
  QSlider* SliderPosition = nullptr;
  QLabel* LabelPlayTime = nullptr;
  QToolButton* ButtonPlay = nullptr;
  QToolButton* ButtonPause = nullptr;
  QToolButton* ButtonStop = nullptr;
  QToolButton* ButtonVolume = nullptr;
  QMenu* VolumeMenu = nullptr;
  QAction* ActionFullVolume = nullptr;
  QAction* ActionHalfVolume = nullptr;
  QAction* ActionMute = nullptr;  // tags in data(): 10 full, 9 half, 8 mute
  QToolButton* ButtonSnapshot = nullptr;

  // Bottom.
  QProgressBar* ProgressBar1 = nullptr;
  QLabel* StatusPanels[3] = {nullptr, nullptr, nullptr};
};

// Creates the menus, the central controls and the status bar of window.
TForm1Ui BuildForm1Ui(QMainWindow& window);

}  // namespace trovenix
