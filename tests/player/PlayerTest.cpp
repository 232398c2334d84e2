// The player on SDL's dummy video driver and its "disk" audio driver, which
// writes what the audio callback produced into a file in real time. Clips are
// short; waits are generous and checks measure the player's clocks, not wall
// time, so that a loaded machine does not fail them.
#include "player/FFPlayer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <vector>

#include "engine/EventLoop.h"
#include "media/BmpFile.h"
#include "support/Fixtures.h"

namespace trovenix {
namespace {

using namespace std::chrono_literals;

constexpr int ToneHz = 440;
constexpr int Rate = 44100;
// A sanitizer slows the player's own threads several times over; its builds
// check the threads, the plain build checks the timing.
#if defined(__SANITIZE_THREAD__) || defined(__SANITIZE_ADDRESS__)
constexpr double SyncSlack = 3.0;
#else
constexpr double SyncSlack = 1.0;
#endif

std::string ToneClip() {
  return test::MakeClip("player-tone-5s-30fps-gop30.mp4",
                        "-f lavfi -i testsrc2=size=320x240:rate=30:duration=5 -f lavfi -i "
                        "sine=frequency=440:sample_rate=44100:duration=5 -c:v libx264 -preset "
                        "ultrafast -g 30 -pix_fmt yuv420p -c:a aac -b:a 96k -shortest");
}

// A picture that changes slowly, so one frame more or less looks the same.
std::string SlowClip() {
  return test::MakeClip("player-slow-3s.mp4",
                        "-f lavfi -i gradients=size=320x240:rate=25:duration=3:speed=0.002 -f "
                        "lavfi -i sine=frequency=440:sample_rate=44100:duration=3 -c:v libx264 "
                        "-preset ultrafast -qp 10 -pix_fmt yuv420p -c:a aac -shortest");
}

std::string AudioOnlyClip() {
  return test::MakeClip("player-tone-2s.m4a",
                        "-f lavfi -i sine=frequency=440:sample_rate=44100:duration=2 -c:a aac");
}

std::string SubtitleOnlyFile() {
  const std::string srt = test::WriteFixture(
      "player-only-text.srt", "1\n00:00:00,000 --> 00:00:02,000\nNo picture, no sound\n\n");
  return test::MakeClip("player-only-text.mkv", "-i " + test::ShellQuote(srt) + " -c:s srt");
}

bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  const auto limit = std::chrono::steady_clock::now() + timeout;
  while (!done()) {
    if (std::chrono::steady_clock::now() > limit) return false;
    std::this_thread::sleep_for(10ms);
  }
  return true;
}

class PlayerTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "disk", 1);
    // The disk driver's default pause between buffers is the buffer's duration.
    test::LoadLibrariesOrFail(PlayerLibraries);
  }

  void SetUp() override {
    audioFile_ =
        test::FixturePath(std::string("player-audio-") +
                          ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".raw");
    std::filesystem::remove(audioFile_);
    setenv("SDL_DISKAUDIOFILE", audioFile_.c_str(), 1);
    TFFPlayer probe;
    ASSERT_TRUE(probe.LoadLibraries("")) << probe.LastError();
  }

  std::vector<std::int16_t> WrittenAudio() const {
    std::ifstream in(audioFile_, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::int16_t> samples(bytes.size() / 2);
    std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
    return samples;
  }

  std::string audioFile_;
};

struct TEvents {
  std::mutex Lock;
  std::vector<TPlayState> States;
  std::vector<std::int64_t> Positions;
  bool Has(TPlayState state) {
    std::lock_guard lock(Lock);
    for (TPlayState s : States)
      if (s == state) return true;
    return false;
  }
  std::int64_t LastPosition() {
    std::lock_guard lock(Lock);
    return Positions.empty() ? -1 : Positions.back();
  }
  void Attach(TFFPlayer& player) {
    player.OnState = [this](TCustomPlayer&, TPlayState state) {
      std::lock_guard lock(Lock);
      States.push_back(state);
    };
    player.OnPosition = [this](TCustomPlayer&, std::int64_t position) {
      std::lock_guard lock(Lock);
      Positions.push_back(position);
    };
  }
};

TEST_F(PlayerTest, AToneClipPlaysToItsEndInSyncAndWritesTheWholeTone) {
  const std::string clip = ToneClip();
  TFFPlayer player;
  TEvents events;
  events.Attach(player);
  std::int64_t duration = 0;
  player.OnFileOpen = [&](TCustomPlayer&, std::int64_t d, int w, int h, int&, int&) {
    duration = d;
    EXPECT_EQ(w, 320);
    EXPECT_EQ(h, 240);
  };
  ASSERT_TRUE(player.Open(clip, 0)) << player.LastError();
  EXPECT_NEAR(duration, 5000000, 100000);

  // The video clock follows the audio clock while it plays.
  std::vector<double> diffs;
  while (!events.Has(TPlayState::psEnd) && diffs.size() < 2000) {
    std::this_thread::sleep_for(20ms);
    const double video = player.VideoClockSeconds();
    const double audio = player.AudioClockSeconds();
    if (video > 0.5 && audio > 0.5 && audio < 4.5) diffs.push_back(std::fabs(video - audio));
  }
  ASSERT_TRUE(WaitFor([&] { return events.Has(TPlayState::psEnd); }, 20s));
  player.Close(true);
  EXPECT_TRUE(events.Has(TPlayState::psPlay));
  EXPECT_TRUE(events.Has(TPlayState::psStop));
  EXPECT_NEAR(static_cast<double>(events.LastPosition()), 5e6, 300000);

  ASSERT_GT(diffs.size(), 20u);
  std::sort(diffs.begin(), diffs.end());
  // The refresh corrects the picture only once it stands a whole frame
  // period (33 ms at 30 fps) off the audio clock, so the two may keep any
  // offset below that. The clocks are read one after the other, so on a
  // loaded machine (or under a sanitizer) a few samples fall outside; nine in
  // ten must not.
  EXPECT_LT(diffs[diffs.size() / 2], SyncSlack * 0.034);
  EXPECT_LT(diffs[diffs.size() * 90 / 100], SyncSlack * 0.040);

  // The written audio: as long as the clip, holding the tone.
  const std::vector<std::int16_t> samples = WrittenAudio();
  ASSERT_FALSE(samples.empty());
  const int channels = 1;  // a mono tone plays on a mono device
  std::size_t first = 0, last = 0;
  for (std::size_t i = 0; i < samples.size(); ++i)
    if (std::abs(samples[i]) > 500) {
      if (first == 0) first = i;
      last = i;
    }
  const double seconds = static_cast<double>(last - first) / (Rate * channels);
  EXPECT_NEAR(seconds, 5.0, 0.1);
  int crossings = 0;
  for (std::size_t i = first + 1; i <= last; ++i)
    if ((samples[i - 1] < 0) != (samples[i] < 0)) ++crossings;
  EXPECT_NEAR(crossings / 2.0 / seconds, ToneHz, ToneHz * 0.02);
}

double Psnr(const TBitmap& a, const TBitmap& b) {
  double sum = 0;
  std::size_t n = 0;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width() * 3; ++x) {
      const double d = a.Row(y)[x] - b.Row(y)[x];
      sum += d * d;
      ++n;
    }
  if (sum == 0) return 99;
  return 10 * std::log10(255.0 * 255.0 / (sum / static_cast<double>(n)));
}

TEST_F(PlayerTest, PauseStopsBothClocksAndTheSnapshotIsTheSourcePicture) {
  const std::string clip = SlowClip();
  TFFPlayer player;
  TEvents events;
  events.Attach(player);
  ASSERT_TRUE(player.Open(clip, 0)) << player.LastError();
  ASSERT_TRUE(WaitFor([&] { return player.VideoClockSeconds() > 1.0; }, 10s));
  player.TogglePause();
  EXPECT_TRUE(player.Paused());
  EXPECT_TRUE(events.Has(TPlayState::psPause));
  std::this_thread::sleep_for(100ms);
  const double video = player.VideoClockSeconds();
  const double audio = player.AudioClockSeconds();
  std::this_thread::sleep_for(400ms);
  EXPECT_DOUBLE_EQ(player.VideoClockSeconds(), video);
  EXPECT_DOUBLE_EQ(player.AudioClockSeconds(), audio);

  // The picture on screen against the source picture at that time.
  const TBitmap frame = player.CurrentFrame();
  ASSERT_EQ(frame.Width(), 320);
  ASSERT_EQ(frame.Height(), 240);
  const std::string snapshot = test::FixturePath("player-snapshot.bmp");
  ASSERT_TRUE(SaveBitmapToBmp(frame, snapshot));
  const std::string reference = test::FixturePath("player-reference.bmp");
  const auto extracted = test::RunCommand(
      "ffmpeg -v error -y -i " + test::ShellQuote(clip) + " -ss " + std::to_string(video) +
      " -frames:v 1 -pix_fmt bgr24 " + test::ShellQuote(reference));
  ASSERT_EQ(extracted.Status, 0);
  const auto saved = LoadBitmapFromBmp(snapshot);
  const auto source = LoadBitmapFromBmp(reference);
  ASSERT_TRUE(saved && source);
  ASSERT_EQ(source->Width(), 320);
  EXPECT_GE(Psnr(*saved, *source), 30.0);

  player.TogglePause();
  EXPECT_FALSE(player.Paused());
  EXPECT_TRUE(events.Has(TPlayState::psResume));
  ASSERT_TRUE(WaitFor([&] { return player.VideoClockSeconds() > video + 0.2; }, 10s));
  // Continues from where it stopped, not from where the wall clock is.
  EXPECT_LT(player.VideoClockSeconds(), video + 1.0);
  EXPECT_GT(player.AudioClockSeconds(), audio);
  player.Close(true);
}

double MeanByte(const TBitmap& bitmap) {
  double sum = 0;
  for (int y = 0; y < bitmap.Height(); ++y)
    for (int x = 0; x < bitmap.Width() * 3; ++x) sum += bitmap.Row(y)[x];
  return sum / (3.0 * bitmap.Width() * bitmap.Height());
}

TEST_F(PlayerTest, TheFrameHookDrawsOnThePictureAndItsFailuresAreReported) {
  const std::string clip = SlowClip();
  TFFPlayer player;
  std::mutex lock;
  std::vector<std::string> messages;
  std::atomic<int> calls{0};
  std::atomic<bool> fail{false};
  player.Hook = true;
  player.OnHook = [&](TCustomPlayer&, TBitmap& bitmap, std::int64_t) {
    ++calls;
    if (fail) throw std::runtime_error("boom");
    for (int y = 0; y < bitmap.Height(); ++y)
      std::memset(bitmap.Row(y), 255, static_cast<std::size_t>(bitmap.Width()) * 3);
  };
  player.OnLog = [&](TCustomPlayer&, TLogType, const std::string& text) {
    std::lock_guard guard(lock);
    messages.push_back(text);
  };
  ASSERT_TRUE(player.Open(clip, 0)) << player.LastError();
  ASSERT_TRUE(WaitFor([&] { return player.VideoClockSeconds() > 0.5; }, 10s));
  const TBitmap white = player.CurrentFrame();
  ASSERT_EQ(white.Width(), 320);
  EXPECT_GE(MeanByte(white), 235);  // the hook's white, through YUV and back
  fail = true;
  const int before = calls;
  ASSERT_TRUE(WaitFor([&] { return calls > before + 3; }, 10s));
  std::this_thread::sleep_for(200ms);
  // A failing hook leaves the source picture on screen.
  EXPECT_LT(MeanByte(player.CurrentFrame()), 200);
  player.Close(true);
  std::lock_guard guard(lock);
  ASSERT_FALSE(messages.empty());
  EXPECT_EQ(messages.back(), "Error occurs OnHook: boom");
  EXPECT_EQ(player.LastError(), "");
}

TEST_F(PlayerTest, ASeekToTheMiddleReportsAPositionThere) {
  const std::string clip = ToneClip();
  TFFPlayer player;
  TEvents events;
  events.Attach(player);
  player.OnFileOpen = [](TCustomPlayer&, std::int64_t, int, int, int&, int&) {};
  ASSERT_TRUE(player.Open(clip, 0)) << player.LastError();
  ASSERT_TRUE(WaitFor([&] { return events.LastPosition() > 300000; }, 10s));
  const std::int64_t before = events.LastPosition();
  ASSERT_LT(before, 1500000);  // far from the target, so only the seek gets there
  player.Seek(2500000);
  const auto asked = std::chrono::steady_clock::now();
  ASSERT_TRUE(WaitFor([&] { return events.LastPosition() >= 2000000; }, 10s));
  EXPECT_LT(std::chrono::steady_clock::now() - asked, 1500ms);
  std::this_thread::sleep_for(100ms);
  EXPECT_NEAR(static_cast<double>(events.LastPosition()), 2.5e6, 500000);
  player.Close(true);
}

TEST_F(PlayerTest, AnAudioOnlyFileShowsTheWaveformAndHasNoPicture) {
  const std::string clip = AudioOnlyClip();
  TFFPlayer player;
  TEvents events;
  events.Attach(player);
  int frameWidth = 0;
  player.OnFileOpen = [&](TCustomPlayer&, std::int64_t, int w, int, int&, int&) { frameWidth = w; };
  ASSERT_TRUE(player.Open(clip, 0)) << player.LastError();
  EXPECT_EQ(frameWidth, -1);
  EXPECT_TRUE(player.WaveformShown());
  ASSERT_TRUE(WaitFor([&] { return player.AudioClockSeconds() > 0.3; }, 10s));
  const TBitmap& frame = player.CurrentFrame();
  EXPECT_EQ(frame.Width(), 0);
  EXPECT_EQ(frame.Height(), 0);
  const double before = player.AudioClockSeconds();
  ASSERT_TRUE(WaitFor([&] { return player.AudioClockSeconds() > before + 0.2; }, 10s));
  EXPECT_TRUE(player.Playing());
  EXPECT_FALSE(player.Paused());
  player.Close(true);
}

TEST_F(PlayerTest, AFileWithNeitherStreamFailsToOpen) {
  const std::string file = SubtitleOnlyFile();
  TFFPlayer player;
  EXPECT_FALSE(player.Open(file, 0));
  EXPECT_EQ(player.LastError(), file + ": could not open codecs, no stream to play.");
  EXPECT_FALSE(player.Playing());
  // A missing file fails with the opener's text, and the player stays usable.
  EXPECT_FALSE(player.Open(file + ".missing", 0));
  EXPECT_NE(player.LastError().find(file + ".missing"), std::string::npos);
}

TEST_F(PlayerTest, ClosingOnTheUserInterfaceThreadWhilePositionsArriveDoesNotHang) {
  const std::string clip = AudioOnlyClip();
  TEventLoop ui;
  TFFPlayer player(&ui);
  std::atomic<int> positions{0};
  std::atomic<bool> onUi{true};
  player.OnPosition = [&](TCustomPlayer&, std::int64_t) {
    if (!ui.IsCurrent()) onUi = false;
    ++positions;
  };
  ASSERT_TRUE(player.Open(clip, 0)) << player.LastError();
  ui.RunUntil([&] { return positions > 5; }, 10s);
  EXPECT_GT(positions, 5);
  player.Close(true);  // the player thread may be waiting in Invoke right now
  EXPECT_FALSE(player.Playing());
  EXPECT_TRUE(onUi);
}

TEST_F(PlayerTest, PlayWavAndWaitPlaysAShortSound) {
  // 0.1 s of a mono 8 kHz square wave in a WAV file.
  const int rate = 8000, count = 800;
  std::string wav = "RIFF";
  auto put32 = [&](std::uint32_t v) {
    for (int i = 0; i < 4; ++i) wav.push_back(static_cast<char>((v >> (8 * i)) & 0xff));
  };
  auto put16 = [&](std::uint16_t v) {
    wav.push_back(static_cast<char>(v & 0xff));
    wav.push_back(static_cast<char>(v >> 8));
  };
  put32(36 + count * 2);
  wav += "WAVEfmt ";
  put32(16);
  put16(1);
  put16(1);
  put32(rate);
  put32(rate * 2);
  put16(2);
  put16(16);
  wav += "data";
  put32(count * 2);
  for (int i = 0; i < count; ++i) put16(static_cast<std::uint16_t>((i / 10) % 2 ? 8000 : -8000));
  const auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(PlayWavAndWait(reinterpret_cast<const std::uint8_t*>(wav.data()), wav.size()));
  EXPECT_GE(std::chrono::steady_clock::now() - start, 80ms);
  EXPECT_FALSE(PlayWavAndWait(reinterpret_cast<const std::uint8_t*>("RIFF"), 4));
}

}  // namespace
}  // namespace trovenix
