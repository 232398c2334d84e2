#include <filesystem>

#include "media/AVFormatStubs.h"
#include "media/AVUtilStubs.h"

#include "ComponentFixture.h"

namespace fs = std::filesystem;

namespace trovenix {
namespace {

using test::ComponentTest;

TEST_F(ComponentTest, DeletingATaskRenumbersTheOthers) {
  std::vector<std::string> names;
  for (int i = 0; i < 3; ++i) {
    TInputOptions options;
    EXPECT_EQ(component.CreateTask(Clip(), &options), i) << component.LastErrorText();
    EXPECT_EQ(options.FileName, Clip());  // the caller's record is completed
  }
  TFFmpeg* second = &component.Task(1);
  TFFmpeg* third = &component.Task(2);
  component.DeleteTask(0);
  ASSERT_EQ(component.TaskCount(), 2);
  EXPECT_EQ(&component.Task(0), second);
  EXPECT_EQ(second->Index, 0);
  EXPECT_EQ(third->Index, 1);
  EXPECT_THROW(component.Task(2), std::out_of_range);
  EXPECT_THROW(component.SetTaskOutput(5, Output("x.mkv")), std::out_of_range);
  component.ClearTaskList();
  EXPECT_EQ(component.TaskCount(), 0);
}

TEST_F(ComponentTest, CreateAndOutputFailuresTellWhy) {
  EXPECT_EQ(component.CreateTask(test::FixturePath("no-such-file.mp4")), -1);
  EXPECT_NE(component.LastErrorText().find("no such file or directory"), std::string::npos)
      << component.LastErrorText();
  EXPECT_EQ(component.TaskCount(), 0);

  TInputOptions badFormat;
  badFormat.FileFormat = "no-such-format";
  EXPECT_EQ(component.CreateTask(Clip(), &badFormat), -1);
  EXPECT_EQ(component.LastErrorText(), "Unknown input format: no-such-format");

  const struct {
    void (*Set)(TOutputOptions&);
    std::string Error;
  } cases[] = {
      {[](TOutputOptions& o) { o.AudioTag = "mp4"; }, "audio tag parameter must be 4 chars"},
      {[](TOutputOptions& o) { o.VideoTag = "xvid5"; }, "video tag parameter must be 4 chars"},
      {[](TOutputOptions& o) { o.FrameSize = "641x480"; }, "Frame size must be a multiple of 2"},
      {[](TOutputOptions& o) { o.ExtOptions = "r=abc"; }, "Incorrect frame rate"},
  };
  for (const auto& c : cases) {
    const int index = component.CreateTask(Clip());
    ASSERT_GE(index, 0) << component.LastErrorText();
    TOutputOptions options;
    c.Set(options);
    EXPECT_FALSE(component.SetTaskOutput(index, Output("rejected.mkv"), &options));
    EXPECT_EQ(component.LastErrorText(), c.Error);
    EXPECT_EQ(component.TaskCount(), index + 1);  // the task stays for the caller to delete
  }
  EXPECT_FALSE(component.SetTaskOutput(0, Output("rejected.nosuchextension")));
  EXPECT_EQ(component.LastErrorText(),
            "Unable to find a suitable output format for '" + Output("rejected.nosuchextension") + "'");
}

TEST_F(ComponentTest, PropertiesAndTheirEffectOnTasks) {
  component.SetProgressInterval(50);
  EXPECT_EQ(component.ProgressInterval(), 100);
  component.SetProgressInterval(250);
  EXPECT_EQ(component.ProgressInterval(), 250);
  EXPECT_EQ(TEngineComponent::Version(), "1.0");

  component.SetPreviewBitmap(true);
  const int index = component.CreateTask(Clip());
  ASSERT_GE(index, 0);
  EXPECT_EQ(component.Task(index).PreviewFlags, 2);
  component.SetPreviewBitmap(false);
  EXPECT_EQ(component.Task(index).PreviewFlags, 0);
}

TEST_F(ComponentTest, OutputRecordReachesTheTask) {
  const int index = component.CreateTask(Clip());
  ASSERT_GE(index, 0);
  TOutputOptions options;
  options.VideoCodec = "mpeg4";
  options.AudioCodec = "aac";
  options.Volume = 512;
  options.AudioChannels = 1;
  options.AudioSampleRate = 22050;
  options.FrameRate = "15";
  options.RecordingTime = 1500;
  options.Title = std::string(600, 't');
  options.Genre = "Jazz";
  options.Year = 2026;
  options.HookTimeRanges = "1000-5000, 20000-30000";
  options.ExtOptions = "newaudio\r\nacodec=mp2\r\n";
  ASSERT_TRUE(component.SetTaskOutput(index, Output("record.mkv"), &options))
      << component.LastErrorText();
  const TFFmpeg& task = component.Task(index);
  EXPECT_EQ(options.FileName, Output("record.mkv"));
  EXPECT_EQ(task.AudioVolume, 512);
  EXPECT_EQ(task.AudioChannels, 1);
  EXPECT_EQ(task.AudioSampleRate, 22050);
  EXPECT_EQ(task.RecordingTime, 1500000);
  EXPECT_EQ(task.TotalDurationMs, 1500);
  EXPECT_EQ(task.HookRanges, (std::vector<THookRange>{{1000000, 5000000}, {20000000, 30000000}}));
  ASSERT_EQ(task.OutputFiles.size(), 1u);
  // The metadata went to the output as it was opened.
  const AVDictionary* metadata = task.OutputFiles[0]->Context->metadata;
  const auto value = [&](const char* key) {
    const AVDictionaryEntry* entry = ff::av_dict_get(metadata, key, nullptr, 0);
    return entry ? std::string(entry->value) : std::string("(none)");
  };
  EXPECT_EQ(value("year"), "2026");
  EXPECT_EQ(value("title").size(), 511u);
  EXPECT_EQ(value("genre"), "Jazz");
  EXPECT_EQ(value("author"), "(none)");
  // "newaudio" ran after the output was opened, with the codec given before it.
  EXPECT_EQ(task.OutputFiles[0]->Streams.size(), 3u);
}

}  // namespace
}  // namespace trovenix
