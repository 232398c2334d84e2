// Batch rules shared by the window and the command line: output names, the
// options of one row and the texts progress reports become.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "profiles/BatchRules.h"
#include "profiles/FormatCatalogue.h"
#include "profiles/OptionBuilders.h"
#include "profiles/RowOptions.h"
#include "profiles/VolumeControl.h"

namespace trovenix {
namespace {
namespace fs = std::filesystem;

class OutputFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("trovenix-batch-rules-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string Touch(const std::string& name) {
    std::ofstream(dir_ / name) << "x";
    return (dir_ / name).string();
  }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  fs::path dir_;
};

TEST_F(OutputFolder, UniqueOutputNameTakesTheFirstFreeNumber) {
  EXPECT_EQ(UniqueOutputName(Path("clip.mp4"), ".mp4"), Path("clip.mp4"));
  Touch("clip.mp4");
  EXPECT_EQ(UniqueOutputName(Path("clip.mp4"), ".mp4"), Path("clip-1.mp4"));
  Touch("clip-1.mp4");
  EXPECT_EQ(UniqueOutputName(Path("clip.mp4"), ".mp4"), Path("clip-2.mp4"));
  fs::create_directory(dir_ / "clip-2.mp4");  // a folder of that name is taken too
  EXPECT_EQ(UniqueOutputName(Path("clip.mp4"), ".mp4"), Path("clip-3.mp4"));
  // Outputs of rows still converting do not exist yet but are taken.
  EXPECT_EQ(UniqueOutputName(Path("clip.mp4"), ".mp4", {Path("clip-3.mp4"), Path("clip-4.mp4")}),
            Path("clip-5.mp4"));
  EXPECT_EQ(OutputFileName(dir_.string(), "/b/other.avi", "MP4", false, {Path("other.mp4")}),
            Path("other-1.mp4"));
}

TEST_F(OutputFolder, OutputFileName) {
  const std::string source = Touch("clip.avi");
  Touch("clip.mp4");
  Touch("clip-1.mp4");
  const std::string folder = dir_.string();
  EXPECT_EQ(OutputFileName(folder, "  " + source + " ", "MP4", false), Path("clip-2.mp4"));
  EXPECT_EQ(OutputFileName(folder + "/", source, "MP4", true), Path("clip.mp4"));
  EXPECT_EQ(OutputFileName(" " + folder + " ", source, "MPG", false), Path("clip.mpg"));
  EXPECT_EQ(OutputFileName(folder, "/elsewhere/show.final.mov", "3G2", false),
            Path("show.final.3g2"));
  EXPECT_EQ(OutputFileName(folder, "/elsewhere/noext", "AAC", false), Path("noext.aac"));
  // Overwriting never makes a source its own output.
  EXPECT_EQ(OutputFileName(folder, source, "AVI", true), Path("clip-1.avi"));
  EXPECT_TRUE(fs::exists(source));
}

TEST(BatchRules, AspectRatioText) {
  const std::pair<std::string, std::string> cells[] = {
      {"640x480", "1.3333"}, {"1280x720", "1.7778"},  {"720x480", "1.5"}, {"640x320", "2"},
      {"720x576", "1.25"},   {" 176x144 ", "1.2222"}, {"", "1.3333"},     {" ", "1.3333"},
      {"640", "1.3333"},     {"640x", "1.3333"},      {"axb", "1.3333"},  {"640x0", "1.3333"},
      {"0x480", "1.3333"},   {"640x480x2", "1.3333"}, {"Error", "1.3333"}};
  for (const auto& [cell, ratio] : cells) EXPECT_EQ(AspectRatioText(0, cell), ratio) << cell;
  EXPECT_EQ(AspectRatioText(1, "1280x720"), "4:3");
  EXPECT_EQ(AspectRatioText(2, "640x480"), "16:9");
  EXPECT_EQ(AspectRatioText(-1, "1280x720"), "1.7778");
}

TEST(BatchRules, TenHourLimitForUnknownDurations) {
  EXPECT_EQ(RecordingTimeForDuration("00:00:00"), 36000000);
  EXPECT_EQ(RecordingTimeForDuration("Unknown"), 36000000);
  EXPECT_EQ(RecordingTimeForDuration("00:00:01"), -1);
  EXPECT_EQ(RecordingTimeForDuration(" 00:00:00"), -1);
  EXPECT_EQ(RecordingTimeForDuration(""), -1);
}

TEST(BatchRules, ProgressTexts) {
  EXPECT_EQ(ProgressPercent(15000, 40000), 37);
  EXPECT_EQ(ProgressPercent(40000, 40000), 100);
  EXPECT_EQ(ProgressPercent(50000, 40000), 125);  // the bar gets it uncapped
  EXPECT_EQ(ProgressCellText(125), "100%");
  EXPECT_EQ(ProgressCellText(37), "37%");
  // Many hours in ms times 100 does not fit 32 bits.
  EXPECT_EQ(ProgressPercent(30000000, 36000000), 83);
  EXPECT_EQ(ProgressPercent(1000, 0), 0);
  EXPECT_EQ(ProgressPercent(1000, -5), 0);
  EXPECT_EQ(FramesCellText(-1), " ");
  EXPECT_EQ(FramesCellText(1234), "1234");
  const std::pair<std::int64_t, std::string> sizes[] = {
      {0, "0"},    {499, "0"},  {500, "0"},           {1500, "2"},
      {2500, "2"}, {2501, "3"}, {123456789, "123457"}};
  for (const auto& [bytes, kb] : sizes)
    EXPECT_EQ(FileSizeStatusText(bytes), "File Size : " + kb + " KBytes") << bytes;
}

TEST(BatchRules, RowOptionsAddRateVolumeAspectAndLimit) {
  TProfileState state = MakeStartUpState();
  ComboOutputFormatChange(state);
  SelectFormat(state, 19);
  const TOutputOptions hd = RowOutputOptions(state, "1280x720", "00:04:31");
  EXPECT_EQ(hd.VideoCodec, "libx264");
  EXPECT_EQ(hd.FrameSize, "1920x1072");
  EXPECT_EQ(hd.FrameRate, "29.97");
  EXPECT_EQ(hd.Volume, 255);
  EXPECT_EQ(hd.AspectRatio, "1.7778");
  EXPECT_EQ(hd.RecordingTime, -1);

  SelectFormat(state, 26);
  state.TrackBar1Position = 0;
  TrackBar1Change(state);
  const TOutputOptions audio = RowOutputOptions(state, " ", "Unknown");
  EXPECT_TRUE(audio.DisableVideo);
  EXPECT_EQ(audio.Volume, 1);
  EXPECT_EQ(audio.AspectRatio, "1.3333");
  EXPECT_EQ(audio.RecordingTime, 36000000);

  state.ComboAudioBitrate.ItemIndex = -1;
  EXPECT_THROW(RowOutputOptions(state, "640x480", "00:00:10"), TConvertError);

  const TInputOptions input = RowInputOptions("/videos/clip.avi");
  EXPECT_EQ(input.FileName, "/videos/clip.avi");
  EXPECT_EQ(input.StartTime, 0);
  EXPECT_EQ(input.StartTimeUs, -1);
}

}  // namespace
}  // namespace trovenix
