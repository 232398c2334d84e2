// The playback controls' rules, with a fake player, a recording view and
// answering message boxes.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <filesystem>
#include <fstream>

#include "FakePlaybackPlayer.h"
#include "WindowFixture.h"
#include "app/PlaybackControls.h"
#include "batch/BatchDriver.h"
#include "media/BmpFile.h"

namespace trovenix::test {
namespace {

class TRecordingView final : public IPlaybackView {
 public:
  bool Converting() const override { return converting; }
  std::string OutputFolderText() const override { return folder; }
  void OpenFolderBrowser() override { ++browsed; }
  TNativeWindow PlayWindow() override { return 4711; }
  int PlayWidth() const override { return 217; }
  int PlayHeight() const override { return 103; }
  void ShowStill(bool show) override { still = show; }
  void SetVolumeGlyph(const std::string& name) override { glyph = name; }
  void ShowPosition(std::int64_t positionUs, std::int64_t durationUs) override {
    position = positionUs;
    duration = durationUs;
  }
  void PostToUi(std::function<void()> call) override {
    const std::lock_guard<std::mutex> hold(lock);
    posted.push_back(std::move(call));
  }
  void RunPosted() {
    std::vector<std::function<void()>> calls;
    {
      const std::lock_guard<std::mutex> hold(lock);
      calls.swap(posted);
    }
    for (auto& call : calls) call();
  }

  bool converting = false;
  std::string folder;
  int browsed = 0;
  bool still = true;
  std::string glyph;
  std::int64_t position = -1;
  std::int64_t duration = -2;
  std::mutex lock;
  std::vector<std::function<void()>> posted;
};

class PlaybackControlsTest : public ::testing::Test {
 protected:
  TPlaybackControls& Controls() {
    if (!controls)
      controls = std::make_unique<TPlaybackControls>(TPlaybackServices{player,
                                                                       view,
                                                                       messages,
                                                                       sound,
                                                                       "/opt/trovenix/Common Files",
                                                                       [this] { return display; },
                                                                       {}});
    return *controls;
  }
  void Select() { Controls().SelectRow(0, "/clips/movie.avi"); }
  int Opens() { return player.Count("Open /clips/movie.avi"); }

  TFakePlaybackPlayer player;
  TCountingSnapSound sound{player};
  TRecordingView view;
  TAnsweringMessageBoxes messages;
  bool display = true;
  std::unique_ptr<TPlaybackControls> controls;
};

TEST_F(PlaybackControlsTest, PlayIsIgnoredWithoutSelectionOrWhileConverting) {
  struct TCase {
    const char* name;
    bool select;
    bool converting;
    bool fromListMenu;
  };
  for (const TCase& c :
       {TCase{"no selection", false, false, false},
        TCase{"no selection, list menu", false, false, true},
        TCase{"converting", true, true, false}, TCase{"converting, list menu", true, true, true}}) {
    SCOPED_TRACE(c.name);
    controls.reset();
    player.TakeCalls();
    view.converting = c.converting;
    if (c.select) Select();
    if (c.fromListMenu)
      Controls().PlaySelectedVideo1Click();
    else
      Controls().ButtonPlayClick();
    EXPECT_EQ(player.TakeCalls(), std::vector<std::string>{});
    EXPECT_TRUE(view.still);
  }
}

TEST_F(PlaybackControlsTest, PlayOpensTheSelectedFileInThePanelSizedPicture) {
  Select();
  Controls().PlaySelectedVideo1Click();
  EXPECT_EQ(player.TakeCalls(), (std::vector<std::string>{"Close wait", "Open /clips/movie.avi"}));
  EXPECT_EQ(player.OpenedWindow, 4711u);
  EXPECT_EQ(player.ScreenWidth, 217);
  EXPECT_EQ(player.ScreenHeight, 103);
  EXPECT_FALSE(view.still);
  EXPECT_TRUE(Controls().Playing());
  EXPECT_EQ(view.duration, 65'000'000);
}

TEST_F(PlaybackControlsTest, LibrariesAreLoadedFromCommonFilesFirstAndAFailureStops) {
  player.Loaded = false;
  player.LoadSucceeds = false;
  Select();
  Controls().ButtonPlayClick();
  EXPECT_EQ(player.TakeCalls(),
            std::vector<std::string>{"LoadLibraries /opt/trovenix/Common Files"});
  player.LoadSucceeds = true;
  Controls().ButtonPlayClick();
  EXPECT_EQ(Opens(), 1);
}

TEST_F(PlaybackControlsTest, AFailedOpenShowsTheStillPictureAgain) {
  player.OpenSucceeds = false;
  Select();
  Controls().ButtonPlayClick();
  EXPECT_TRUE(view.still);
  EXPECT_FALSE(Controls().Playing());
}

TEST_F(PlaybackControlsTest, PlayAfterPauseResumesInsteadOfReopening) {
  Select();
  Controls().ButtonPlayClick();
  Controls().ButtonPauseClick();
  EXPECT_TRUE(player.Paused);
  EXPECT_TRUE(Controls().PausedMark());
  Controls().ButtonPlayClick();
  EXPECT_FALSE(player.Paused);
  EXPECT_FALSE(Controls().PausedMark());
  EXPECT_EQ(Opens(), 1);
}

TEST_F(PlaybackControlsTest, ASecondPauseResumesAndTheNextPlayDoesNotPauseAgain) {
  Select();
  Controls().ButtonPlayClick();
  Controls().ButtonPauseClick();
  Controls().ButtonPauseClick();
  EXPECT_FALSE(player.Paused);
  EXPECT_FALSE(Controls().PausedMark());
  Controls().ButtonPlayClick();
  EXPECT_FALSE(player.Paused);
}

TEST_F(PlaybackControlsTest, StopThenPlayReopensFromTheStart) {
  Select();
  Controls().ButtonPlayClick();
  Controls().ButtonPauseClick();
  player.TakeCalls();
  Controls().ButtonStopPlayClick();
  EXPECT_EQ(player.TakeCalls(), std::vector<std::string>{"Close wait"});
  EXPECT_TRUE(view.still);
  EXPECT_TRUE(Controls().StoppedMark());
  EXPECT_FALSE(Controls().PausedMark());
  EXPECT_EQ(view.position, 0);
  Controls().ButtonPlayClick();
  EXPECT_EQ(player.TakeCalls(), (std::vector<std::string>{"Close wait", "Open /clips/movie.avi"}));
  EXPECT_FALSE(Controls().StoppedMark());
}

TEST_F(PlaybackControlsTest, PauseBeforeAnythingPlayedOnlySetsTheMark) {
  Select();
  Controls().ButtonPauseClick();
  EXPECT_TRUE(Controls().PausedMark());
  EXPECT_EQ(player.TakeCalls(), std::vector<std::string>{});
  // Nothing is open to resume: Play opens the file.
  Controls().ButtonPlayClick();
  EXPECT_EQ(Opens(), 1);
  EXPECT_FALSE(Controls().PausedMark());
  EXPECT_FALSE(player.Paused);
}

TEST_F(PlaybackControlsTest, PauseWhileStoppedOrConvertingDoesNothing) {
  Select();
  Controls().ButtonPlayClick();
  Controls().ButtonStopPlayClick();
  player.TakeCalls();
  Controls().ButtonPauseClick();
  EXPECT_FALSE(Controls().PausedMark());
  Controls().ButtonPlayClick();
  player.TakeCalls();
  view.converting = true;
  Controls().ButtonPauseClick();
  Controls().TogglePauseKey();
  EXPECT_EQ(player.TakeCalls(), std::vector<std::string>{});
}

TEST_F(PlaybackControlsTest, VolumeItemsSetTheVolumeAndGlyphAlsoForTheNextPlayback) {
  struct TCase {
    int tag;
    int volume;
    const char* glyph;
  };
  Select();
  for (const TCase& c : {TCase{9, 64, "spkhalf"}, TCase{8, 0, "spkmute"}, TCase{10, 128, "spkfull"},
                         TCase{9, 64, "spkhalf"}}) {
    SCOPED_TRACE(c.tag);
    Controls().ButtonStopPlayClick();  // nothing plays
    Controls().VolumeItemClick(c.tag);
    EXPECT_EQ(player.Volume, c.volume);
    EXPECT_EQ(view.glyph, c.glyph);
    Controls().ButtonPlayClick();
    EXPECT_EQ(player.VolumeAtOpen, c.volume);
  }
}

TEST_F(PlaybackControlsTest, AFilePlayedToItsEndClosesAndTheStillPictureReturns) {
  Select();
  Controls().ButtonPlayClick();
  player.TakeCalls();
  player.RaiseEndFromPlayerThread();
  EXPECT_EQ(player.TakeCalls(), std::vector<std::string>{"Close"});
  EXPECT_TRUE(player.CloseFromOtherThread);
  EXPECT_FALSE(view.still);  // the widget part waits for the UI thread
  view.RunPosted();
  EXPECT_TRUE(view.still);
  EXPECT_FALSE(Controls().Playing());
  EXPECT_EQ(view.position, 65'000'000);
  Controls().ButtonPlayClick();
  EXPECT_EQ(Opens(), 1);
}

TEST_F(PlaybackControlsTest, AnEndReportedBeforeTheNextPlayDoesNotHideItsPicture) {
  Select();
  Controls().ButtonPlayClick();
  player.RaiseEndFromPlayerThread();
  Controls().ButtonPlayClick();  // before the end reached the UI thread
  view.RunPosted();
  EXPECT_FALSE(view.still);
  EXPECT_TRUE(Controls().Playing());
}

TEST_F(PlaybackControlsTest, WithoutAnX11DisplayPlaySaysSoOnce) {
  display = false;
  Select();
  Controls().ButtonPlayClick();
  Controls().ButtonPlayClick();
  EXPECT_EQ(messages.Informations, std::vector<std::string>{NoX11DisplayText});
  EXPECT_EQ(player.TakeCalls(), std::vector<std::string>{});
}

TEST_F(PlaybackControlsTest, SeekGoesToThePlayerOnlyWhileAFileIsOpen) {
  Select();
  Controls().SeekTo(5'000'000);
  EXPECT_EQ(player.TakeCalls(), std::vector<std::string>{});
  Controls().ButtonPlayClick();
  player.TakeCalls();
  Controls().SeekTo(12'000'000);
  EXPECT_EQ(player.TakeCalls(), std::vector<std::string>{"Seek 12000000"});
  player.Events.Position(12'500'000);
  EXPECT_EQ(view.position, 12'500'000);
  EXPECT_EQ(view.duration, 65'000'000);
}

class SnapshotTest : public PlaybackControlsTest {
 protected:
  std::string Folder() const { return dir.path().toStdString(); }
  void Touch(const std::string& name) { std::ofstream(Folder() + "/" + name) << "x"; }
  static TBitmap Picture() {
    TBitmap bitmap(4, 3);
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 12; ++x) bitmap.Row(y)[x] = static_cast<std::uint8_t>(20 * y + x);
    return bitmap;
  }
  QTemporaryDir dir;
};

TEST_F(SnapshotTest, AnEmptyOrMissingFolderIsReportedAndTheBrowserOpens) {
  struct TCase {
    std::string folder;
    std::string message;
  };
  const std::string missing = Folder() + "/gone";
  for (const TCase& c : {TCase{"", SelectOutputFolderText},
                         TCase{missing, TBatchDriver::MissingFolderText(missing)}}) {
    SCOPED_TRACE(c.folder);
    messages.Informations.clear();
    view.browsed = 0;
    view.folder = c.folder;
    Select();
    Controls().ButtonSnapshotClick();
    EXPECT_EQ(messages.Informations, std::vector<std::string>{c.message});
    EXPECT_EQ(view.browsed, 1);
    EXPECT_EQ(player.Count("Snap"), 0);
  }
  EXPECT_EQ(TBatchDriver::MissingFolderText("x"),
            "The output folder \"x\"\n\rdoes not exist or has been deleted!\n\r"
            "Please choose a new output folder.");
}

TEST_F(SnapshotTest, IgnoredWithoutSelectionOrWhileConverting) {
  view.folder = Folder();
  Controls().ButtonSnapshotClick();
  Select();
  view.converting = true;
  Controls().ButtonSnapshotClick();
  EXPECT_TRUE(std::filesystem::is_empty(Folder()));
  EXPECT_TRUE(messages.Informations.empty());
}

TEST_F(SnapshotTest, TheNextFreeNumberedNameIsTakenAndThePictureSaved) {
  Touch("movie.bmp");
  Touch("movie-1.bmp");
  view.folder = Folder() + " ";  // blanks around the folder are trimmed
  player.Frame = Picture();
  Select();
  Controls().ButtonSnapshotClick();
  const auto saved = LoadBitmapFromBmp(Folder() + "/movie-2.bmp");
  ASSERT_TRUE(saved);
  ASSERT_EQ(saved->Width(), 4);
  ASSERT_EQ(saved->Height(), 3);
  for (int y = 0; y < 3; ++y)
    EXPECT_TRUE(std::equal(saved->Row(y), saved->Row(y) + 12, player.Frame.Row(y)));
  EXPECT_EQ(TPlaybackControls::SnapshotFileName("/out/", "/a/b.c.mkv",
                                                [](const std::string&) { return false; }),
            "/out/b.c.bmp");
}

TEST_F(SnapshotTest, PlaybackIsPausedAroundTheSoundUnlessAlreadyPausedOrWithoutPicture) {
  struct TCase {
    const char* name;
    bool pauseFirst;
    bool picture;
    std::vector<std::string> calls;
  };
  for (const TCase& c : {TCase{"playing", false, true, {"TogglePause", "Snap", "TogglePause"}},
                         TCase{"paused by the user", true, true, {"Snap"}},
                         TCase{"audio only: empty picture", false, false, {"Snap"}}}) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove(Folder() + "/movie.bmp");
    controls.reset();
    view.folder = Folder();
    player.Frame = c.picture ? Picture() : TBitmap(0, 0);
    Select();
    Controls().ButtonPlayClick();
    if (c.pauseFirst) Controls().ButtonPauseClick();
    player.TakeCalls();
    Controls().ButtonSnapshotClick();
    EXPECT_EQ(player.TakeCalls(), c.calls);
    EXPECT_EQ(player.Paused, c.pauseFirst);
    EXPECT_TRUE(Controls().Playing());
    const auto saved = LoadBitmapFromBmp(Folder() + "/movie.bmp");
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->Width(), c.picture ? 4 : 0);
  }
}

}  // namespace
}  // namespace trovenix::test
