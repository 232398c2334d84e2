#include "app/PlaybackControls.h"

#include <filesystem>
#include <system_error>

#include "batch/BatchDriver.h"
#include "media/BmpFile.h"

namespace trovenix {
namespace {

std::string Trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

TPlaybackControls::TPlaybackControls(TPlaybackServices services) : s_(std::move(services)) {
  s_.Player.SetEvents(
      {[this](std::int64_t d, int& w, int& h) { FileOpen(d, w, h); },
       [this](TPlayState state) { State(state); },
       [this](std::int64_t positionUs) { s_.View.ShowPosition(positionUs, durationUs_); }});
}

TPlaybackControls::~TPlaybackControls() {
  s_.Player.Close(true);
  s_.Player.SetEvents({});
}

bool TPlaybackControls::Exists(const std::string& path) const {
  if (s_.FileExists) return s_.FileExists(path);
  std::error_code error;
  return std::filesystem::exists(path, error);
}

void TPlaybackControls::SelectRow(int row, const std::string& fileName) {
  selectedRow_ = row;
  selectedFile_ = fileName;
  hasSelection_ = true;
}

void TPlaybackControls::ClearSelection() {
  hasSelection_ = false;
}

void TPlaybackControls::ButtonPlayClick() {
  if (s_.View.Converting() || !hasSelection_) return;
  if (s_.DisplayAvailable && !s_.DisplayAvailable()) {
    if (!noDisplayTold_) s_.Messages.Information(NoX11DisplayText);
    noDisplayTold_ = true;
    return;
  }
  if (!s_.Player.LibrariesLoaded() && !s_.Player.LoadLibraries(s_.LibraryFolder)) return;
  stoppedMark_ = false;
  // A Pause before anything played leaves only the mark: Play then opens
  // the file rather than toggling a player that has nothing open.
  if (pausedMark_ && playing_) {
    s_.Player.TogglePause();
    pausedMark_ = false;
    return;
  }
  pausedMark_ = false;
  OpenSelected();
}

void TPlaybackControls::OpenSelected() {
  s_.Player.Close(true);
  playing_ = false;
  ++generation_;
  s_.View.ShowStill(false);
  durationUs_ = -1;
  s_.View.ShowPosition(0, durationUs_);
  if (s_.Player.Open(selectedFile_, s_.View.PlayWindow())) {
    playing_ = true;
  } else {
    s_.View.ShowStill(true);
  }
}

void TPlaybackControls::PlaySelectedVideo1Click() {
  if (s_.View.Converting()) return;
  ButtonPlayClick();
}

void TPlaybackControls::ButtonPauseClick() {
  if (s_.View.Converting() || stoppedMark_) return;
  if (!playing_) {
    pausedMark_ = true;
    return;
  }
  // The mark follows the player: a second click resumes and clears it, so
  // that the next Play does not pause again.
  pausedMark_ = !pausedMark_;
  s_.Player.TogglePause();
}

void TPlaybackControls::TogglePauseKey() {
  if (!playing_ || s_.View.Converting()) return;
  pausedMark_ = !pausedMark_;
  s_.Player.TogglePause();
}

void TPlaybackControls::ButtonStopPlayClick() {
  pausedMark_ = false;
  stoppedMark_ = true;
  s_.Player.Close(true);
  playing_ = false;
  ++generation_;
  s_.View.ShowStill(true);
  s_.View.ShowPosition(0, durationUs_);
}

void TPlaybackControls::FileOpen(std::int64_t durationUs, int& screenWidth, int& screenHeight) {
  durationUs_ = durationUs;
  screenWidth = s_.View.PlayWidth();
  screenHeight = s_.View.PlayHeight();
  s_.View.ShowPosition(0, durationUs_);
}

void TPlaybackControls::State(TPlayState state) {
  if (state != TPlayState::psEnd) return;
  // On the player thread: only the quit request is made here; the window's
  // part waits for the UI thread.
  s_.Player.Close(false);
  const unsigned generation = generation_.load();
  s_.View.PostToUi([this, generation] { Ended(generation); });
}

void TPlaybackControls::Ended(unsigned generation) {
  // A later Play or Stop has already dealt with this playback.
  if (generation != generation_.load() || !playing_) return;
  playing_ = false;
  pausedMark_ = false;
  s_.View.ShowStill(true);
  if (durationUs_ > 0) s_.View.ShowPosition(durationUs_, durationUs_);
}

void TPlaybackControls::VolumeItemClick(int tag) {
  switch (tag) {
    case 10:
      s_.Player.SetAudioVolume(128);
      s_.View.SetVolumeGlyph("spkfull");
      break;
    case 9:
      s_.Player.SetAudioVolume(64);
      s_.View.SetVolumeGlyph("spkhalf");
      break;
    case 8:
      s_.Player.SetAudioVolume(0);
      s_.View.SetVolumeGlyph("spkmute");
      break;
    default:
      break;
  }
}

void TPlaybackControls::SeekTo(std::int64_t positionUs) {
  if (!playing_) return;
  s_.Player.Seek(positionUs < 0 ? 0 : positionUs);
}

std::string TPlaybackControls::SnapshotFileName(
    const std::string& folder, const std::string& sourceFile,
    const std::function<bool(const std::string&)>& exists) {
  const std::string stem = std::filesystem::path(sourceFile).stem().string();
  const std::string base = folder + (folder.empty() || folder.back() == '/' ? "" : "/") +
                           (stem.empty() ? "snapshot" : stem);
  std::string name = base + ".bmp";
  for (int n = 1; exists(name); ++n) name = base + "-" + std::to_string(n) + ".bmp";
  return name;
}

void TPlaybackControls::ButtonSnapshotClick() {
  if (s_.View.Converting() || !hasSelection_) return;
  const std::string folderText = s_.View.OutputFolderText();
  if (folderText.empty()) {
    s_.Messages.Information(SelectOutputFolderText);
    s_.View.OpenFolderBrowser();
    return;
  }
  const std::string folder = Trimmed(folderText);
  std::error_code error;
  if (folder.empty() || !std::filesystem::is_directory(folder, error)) {
    s_.Messages.Information(TBatchDriver::MissingFolderText(folderText));
    s_.View.OpenFolderBrowser();
    return;
  }
  const std::string fileName =
      SnapshotFileName(folder, selectedFile_, [this](const std::string& p) { return Exists(p); });
  const TBitmap frame = s_.Player.CurrentFrame();
  const bool pausedHere = frame.Width() > 0 && !pausedMark_ && playing_;
  if (pausedHere) s_.Player.TogglePause();
  s_.Sound.PlayAndWait();
  if (!SaveBitmapToBmp(frame, fileName))
    s_.Messages.Information("The snapshot could not be saved as \"" + fileName + "\".");
  if (pausedHere) s_.Player.TogglePause();
}

}  // namespace trovenix
