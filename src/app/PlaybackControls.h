// The preview panel's playback controls: Play, Pause, Stop, the volume menu,
// Snapshot and the position slider. The widgets only forward clicks here and
// show what the view is told.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

#include "app/MessageBoxes.h"
#include "app/PlaybackPlayer.h"
#include "app/PlaybackView.h"

namespace trovenix {

inline constexpr const char* SelectOutputFolderText = "Please select an output folder!";
inline constexpr const char* NoX11DisplayText =
    "The player needs an X11 display (XWayland); playback is not available in this session.";

struct TPlaybackServices {
  IPlaybackPlayer& Player;
  IPlaybackView& View;
  IMessageBoxes& Messages;
  ISnapSound& Sound;
  // Where LoadLibraries looks first: the program's folder + "Common Files".
  std::string LibraryFolder;
  // False on a session where the player cannot draw (no X11 display).
  std::function<bool()> DisplayAvailable;
  // Empty: std::filesystem.
  std::function<bool(const std::string& path)> FileExists;
};

class TPlaybackControls {
 public:
  explicit TPlaybackControls(TPlaybackServices services);
  ~TPlaybackControls();
  TPlaybackControls(const TPlaybackControls&) = delete;
  TPlaybackControls& operator=(const TPlaybackControls&) = delete;

  // The list's selection.
  void SelectRow(int row, const std::string& fileName);
  void ClearSelection();

  void ButtonPlayClick();
  void PlaySelectedVideo1Click();
  void ButtonPauseClick();
  void ButtonStopPlayClick();
  // Volume menu items by tag: 10 full, 9 half, 8 mute.
  void VolumeItemClick(int tag);
  void ButtonSnapshotClick();
  // The slider was let go at the position.
  void SeekTo(std::int64_t positionUs);
  // The space bar on the panel: pause or resume what plays.
  void TogglePauseKey();

  bool PausedMark() const { return pausedMark_; }
  bool StoppedMark() const { return stoppedMark_; }
  const std::string& SelectedFile() const { return selectedFile_; }
  int SelectedRow() const { return selectedRow_; }
  // A file is open in the panel (playing or paused).
  bool Playing() const { return playing_; }
  std::int64_t DurationUs() const { return durationUs_; }

  // The numbered snapshot name in folder for the source file: movie.bmp,
  // then movie-1.bmp, movie-2.bmp, ...
  static std::string SnapshotFileName(const std::string& folder, const std::string& sourceFile,
                                      const std::function<bool(const std::string&)>& exists);

 private:
  bool Exists(const std::string& path) const;
  void FileOpen(std::int64_t durationUs, int& screenWidth, int& screenHeight);
  void State(TPlayState state);
  void Ended(unsigned generation);
  void OpenSelected();

  TPlaybackServices s_;
  bool pausedMark_ = false;
  bool stoppedMark_ = false;
  std::string selectedFile_;
  int selectedRow_ = 0;
  bool hasSelection_ = false;
  bool playing_ = false;
  bool noDisplayTold_ = false;
  std::int64_t durationUs_ = -1;
  // Tells a playback's end from a later one's: psEnd arrives from the
  // player thread and is handled on the UI thread afterwards.
  std::atomic<unsigned> generation_{0};
};

}  // namespace trovenix
