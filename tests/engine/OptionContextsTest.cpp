#include "TaskFixture.h"
#include "media/AVCodecStubs.h"
#include "media/AVFormatStubs.h"
#include "media/AVUtilStubs.h"
#include "media/MediaPtr.h"

namespace trovenix {
namespace {

using OptionStore = test::TaskTest;

TEST_F(OptionStore, CodecOptionsGoToEveryKindTheyFit) {
  auto& codec = task.OptionContexts.CodecOpts;
  EXPECT_TRUE(task.SetDefaultOption("g", "17"));  // a video option
  EXPECT_EQ(codec[mkVideo]->gop_size, 17);
  EXPECT_EQ(codec[mkData]->gop_size, 17);  // data and attachment take anything
  EXPECT_NE(codec[mkAudio]->gop_size, 17);
  EXPECT_NE(codec[mkSubtitle]->gop_size, 17);

  EXPECT_TRUE(task.SetDefaultOption("ar", "22050"));  // audio only
  EXPECT_EQ(codec[mkAudio]->sample_rate, 22050);
  EXPECT_EQ(codec[mkVideo]->sample_rate, 0);

  EXPECT_TRUE(task.SetDefaultOption("flags", "+global_header"));  // audio and video
  EXPECT_TRUE(codec[mkAudio]->flags & AV_CODEC_FLAG_GLOBAL_HEADER);
  EXPECT_TRUE(codec[mkVideo]->flags & AV_CODEC_FLAG_GLOBAL_HEADER);

  EXPECT_EQ(task.OptionContexts.OptNames, (std::vector<std::string>{"g", "ar", "flags"}));
}

TEST_F(OptionStore, FormatThenScalerThenPrefixedNames) {
  EXPECT_TRUE(task.SetDefaultOption("packetsize", "2324"));
  EXPECT_EQ(task.OptionContexts.FormatOpts->packet_size, 2324u);
  EXPECT_TRUE(task.SetDefaultOption("sws_flags", "bilinear"));
  // "ab" is the audio context's bit rate.
  EXPECT_TRUE(task.SetDefaultOption("ab", "96000"));
  EXPECT_EQ(task.OptionContexts.CodecOpts[mkAudio]->bit_rate, 96000);
  EXPECT_NE(task.OptionContexts.CodecOpts[mkVideo]->bit_rate, 96000);
  // The video bit rate stays off the audio context.
  EXPECT_TRUE(task.SetDefaultOption("b", "900000"));
  EXPECT_EQ(task.OptionContexts.CodecOpts[mkVideo]->bit_rate, 900000);
  EXPECT_EQ(task.OptionContexts.CodecOpts[mkAudio]->bit_rate, 96000);
  // A prefixed name the library does not know is tried without its prefix.
  EXPECT_TRUE(task.SetDefaultOption("vqmin", "3"));
  EXPECT_EQ(task.OptionContexts.CodecOpts[mkVideo]->qmin, 3);
  EXPECT_EQ(task.OptionContexts.OptNames,
            (std::vector<std::string>{"packetsize", "sws_flags", "ab", "b", "qmin"}));
}

TEST_F(OptionStore, RejectedAndUnknownOptions) {
  test::LogCapture library;
  EXPECT_FALSE(task.SetDefaultOption("", "1"));
  EXPECT_FALSE(task.SetDefaultOption("g", "  "));
  EXPECT_FALSE(task.SetDefaultOption("no_such_option", "1"));
  EXPECT_TRUE(library.Lines().empty());

  EXPECT_FALSE(task.SetDefaultOption("g", "lots"));
  EXPECT_TRUE(library.Contains(0, "Invalid value \"lots\" for option \"g\"\n"));
  EXPECT_TRUE(task.OptionContexts.OptNames.empty());
}

TEST_F(OptionStore, DebugOptionsRaiseTheVerbosity) {
  int raisedTo = -1;
  task.DebugLevelCallback = [&](int level) { raisedTo = level; };
  EXPECT_TRUE(task.SetIntOption("g", 5));
  EXPECT_EQ(raisedTo, -1);
  EXPECT_TRUE(task.SetIntOption("debug", 1));
  EXPECT_EQ(raisedTo, 2);
}

TEST_F(OptionStore, StoredOptionsApplyWhereTheirFlagsFit) {
  task.SetDefaultOption("g", "17");
  task.SetDefaultOption("ab", "96000");
  CodecContextPtr video(ff::avcodec_alloc_context3(nullptr));
  CodecContextPtr audio(ff::avcodec_alloc_context3(nullptr));
  auto& codec = task.OptionContexts.CodecOpts;
  task.ApplyStoredOptions(video.get(), codec[mkVideo].get(),
                          AV_OPT_FLAG_VIDEO_PARAM | AV_OPT_FLAG_ENCODING_PARAM);
  task.ApplyStoredOptions(audio.get(), codec[mkAudio].get(),
                          AV_OPT_FLAG_AUDIO_PARAM | AV_OPT_FLAG_ENCODING_PARAM);
  EXPECT_EQ(video->gop_size, 17);
  EXPECT_NE(audio->gop_size, 17);
  EXPECT_EQ(audio->bit_rate, 96000);
}

TEST_F(OptionStore, ContextsComeAndGoWithTheTask) {
  task.ReleaseOptionContexts();
  EXPECT_EQ(task.OptionContexts.FormatOpts, nullptr);
  EXPECT_FALSE(task.SetDefaultOption("g", "17"));
  task.CreateOptionContexts();
  for (int kind = 0; kind < 5; ++kind)
    EXPECT_EQ(task.OptionContexts.CodecOpts[kind]->codec_type, static_cast<AVMediaType>(kind));
  EXPECT_NE(task.OptionContexts.SwsOpts, nullptr);
}

}  // namespace
}  // namespace trovenix
