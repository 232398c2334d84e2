// trovenix-convert's batch mode on the files people have: a phone video with
// a display rotation, 5.1 sound, a mono film, 10-bit pictures and an MP3
// with a cover picture, each converted with every entry of the catalogue
// and checked with ffprobe and ffmpeg as black boxes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <sstream>
#include <vector>

#include "support/Fixtures.h"

namespace fs = std::filesystem;

namespace trovenix {
namespace {

using test::ShellQuote;

// 90x160 as seen, with a white band over the top third of the picture; stored
// as 160x90 with the band on the right and a display matrix that turns it a
// quarter counter-clockwise, as phones write it.
std::string PhoneVideo() {
  const std::string plain = test::MakeClip(
      "rw-phone-plain.mp4",
      "-f lavfi -i color=black:s=90x160:r=25:d=0.5,drawbox=x=0:y=0:w=90:h=50:color=white:t=fill,"
      "transpose=clock -f lavfi -i sine=sample_rate=44100:d=0.5 -ac 2 -c:v libx264 "
      "-preset ultrafast -pix_fmt yuv420p -c:a aac -shortest");
  return test::MakeClip("rw-phone.mp4",
                        "-i " + ShellQuote(plain) + " -c copy -metadata:s:v:0 rotate=90");
}

std::string SurroundFilm() {
  return test::MakeClip("rw-surround.mkv",
                        "-f lavfi -i testsrc=s=160x120:r=25:d=0.5 -f lavfi "
                        "-i sine=sample_rate=48000:d=0.5,aformat=channel_layouts=5.1 "
                        "-c:v libx264 -preset ultrafast -c:a ac3 -shortest");
}

std::string MonoFilm() {
  return test::MakeClip("rw-mono.mkv",
                        "-f lavfi -i testsrc=s=160x120:r=25:d=0.5 -f lavfi "
                        "-i sine=sample_rate=44100:d=0.5 -ac 1 -c:v libx264 -preset ultrafast "
                        "-c:a aac -shortest");
}

std::string TenBitFilm() {
  return test::MakeClip("rw-tenbit.mkv",
                        "-f lavfi -i testsrc=s=160x120:r=25:d=0.5 -f lavfi "
                        "-i sine=sample_rate=44100:d=0.5 -ac 2 -pix_fmt yuv420p10le -c:v libx264 "
                        "-preset ultrafast -c:a aac -shortest");
}

std::string CoverMusic() {
  return test::MakeClip("rw-cover.mp3",
                        "-f lavfi -i sine=d=1 -f lavfi -i color=red:s=64x64:d=1 -map 0 -map 1 "
                        "-c:a libmp3lame -c:v mjpeg -frames:v 1 -disposition:v attached_pic");
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

struct TStream {
  std::string Type, Codec, PixFmt;
  int Width = 0, Height = 0, Channels = 0;
  bool Cover = false;
  bool Rotated = false;  // carries a display matrix
};

// The streams of a file as ffprobe reads them; empty when it cannot.
std::vector<TStream> Streams(const std::string& file) {
  const auto result = test::RunCommand(
      "ffprobe -v error -of flat -show_entries "
      "stream=codec_type,codec_name,width,height,channels,pix_fmt:stream_disposition=attached_pic:"
      "stream_side_data " +
      ShellQuote(file) + " 2>/dev/null");
  std::map<int, TStream> streams;
  for (const std::string& line : Lines(result.Output)) {
    // streams.stream.0.codec_name="h264", streams.stream.0.side_data_list.side_data.0.rotation=90
    const std::string prefix = "streams.stream.";
    const std::size_t equals = line.find('=');
    if (line.rfind(prefix, 0) != 0 || equals == std::string::npos) continue;
    const std::size_t dot = line.find('.', prefix.size());
    TStream& s = streams[std::atoi(line.c_str() + prefix.size())];
    const std::string key = line.substr(dot + 1, equals - dot - 1);
    std::string value = line.substr(equals + 1);
    if (value.size() >= 2 && value.front() == '"') value = value.substr(1, value.size() - 2);
    if (key == "codec_type") s.Type = value;
    if (key == "codec_name") s.Codec = value;
    if (key == "pix_fmt") s.PixFmt = value;
    if (key == "width") s.Width = std::atoi(value.c_str());
    if (key == "height") s.Height = std::atoi(value.c_str());
    if (key == "channels") s.Channels = std::atoi(value.c_str());
    if (key == "disposition.attached_pic") s.Cover = value == "1";
    if (key.find("side_data") != std::string::npos && key.ends_with(".rotation")) s.Rotated = true;
  }
  std::vector<TStream> list;
  for (auto& [index, s] : streams) list.push_back(s);
  return list;
}

// A copy, so that it outlives the list it was found in.
std::optional<TStream> Find(const std::vector<TStream>& streams, const std::string& type,
                            bool cover) {
  for (const TStream& s : streams)
    if (s.Type == type && s.Cover == cover) return s;
  return std::nullopt;
}

// The first picture as stored (no turn applied by the reader), shrunk to
// 4x4 grey values, rows from the top.
std::string StoredPicture4x4(const std::string& file) {
  return test::RunCommand("ffmpeg -nostdin -v error -noautorotate -i " + ShellQuote(file) +
                          " -frames:v 1 -vf scale=4:4 -f rawvideo -pix_fmt gray - 2>/dev/null")
      .Output;
}

struct TEntry {
  int Pos;
  std::string Ext;
  bool Video;
  bool KeepsSize;      // "Original Video Size": the output has the source's size
  bool ChannelsUnset;  // the builder leaves the channel count to the source
};

// clang-format off
const std::vector<TEntry> Entries = {
    {0, "mp4", true, false, true},   {1, "mp4", true, false, true},   {2, "mp4", true, false, true},
    {4, "mp4", true, false, true},   {5, "mp4", true, false, true},   {6, "mp4", true, false, true},
    {8, "mp4", true, false, false},  {9, "mp4", true, false, false},  {10, "mp4", true, false, false},
    {12, "mp4", true, false, false}, {13, "wmv", true, false, false}, {15, "mp4", true, false, false},
    {16, "mp4", true, false, false}, {17, "mp4", true, false, false}, {18, "mp4", true, false, false},
    {19, "mp4", true, false, false}, {21, "3gp", true, false, false}, {22, "3g2", true, false, false},
    {23, "aac", false, false, false}, {24, "avi", true, true, false}, {25, "avi", true, true, false},
    {26, "mp3", false, false, false}, {27, "mp4", true, true, false}, {28, "mpg", true, false, false},
    {29, "mpg", true, false, false}, {30, "mov", true, true, false}, {31, "wma", false, false, false},
    {32, "wmv", true, false, false},
};
// clang-format on

// Every entry converts all five sources in one batch; each output is then
// checked for what that source is about.
TEST(RealWorldSources, EveryEntryGivesWhatTheDevicePlays) {
  const std::string phone = PhoneVideo(), surround = SurroundFilm(), mono = MonoFilm(),
                    tenBit = TenBitFilm(), cover = CoverMusic();
  for (const TEntry& e : Entries) {
    SCOPED_TRACE("entry " + std::to_string(e.Pos));
    const fs::path dir = test::FixturePath("real-world") + "/entry-" + std::to_string(e.Pos);
    fs::remove_all(dir);
    fs::create_directories(dir);
    const auto run =
        test::RunCommand(std::string(TROVENIX_CONVERT) + " --format " + std::to_string(e.Pos) +
                         " --jobs 2 --output-dir " + ShellQuote(dir.string()) + " " +
                         ShellQuote(phone) + " " + ShellQuote(surround) + " " + ShellQuote(mono) +
                         " " + ShellQuote(tenBit) + " " + ShellQuote(cover) + " 2>/dev/null");
    EXPECT_EQ(run.Status, 0) << run.Output;
    const auto output = [&](const std::string& source) {
      return (dir / fs::path(source).filename().replace_extension("." + e.Ext)).string();
    };

    // The phone's picture is upright, without a turn left for the player.
    const auto phoneStreams = Streams(output(phone));
    const std::optional<TStream> picture = Find(phoneStreams, "video", false);
    ASSERT_EQ(picture.has_value(), e.Video);
    if (picture) {
      EXPECT_FALSE(picture->Rotated);
      if (e.KeepsSize) {
        EXPECT_EQ(picture->Width, 90);
        EXPECT_EQ(picture->Height, 160);
      }
      const std::string grey = StoredPicture4x4(output(phone));
      ASSERT_EQ(grey.size(), 16u);
      const auto at = [&](int row, int column) {
        return static_cast<unsigned char>(grey[static_cast<std::size_t>(row * 4 + column)]);
      };
      EXPECT_GT(at(0, 1) + at(0, 2), 400) << "the white band is not at the top";
      EXPECT_LT(at(3, 1) + at(3, 2), 120) << "the bottom is not black";
    }

    // 5.1 becomes stereo; mono stays mono where the source decides.
    const std::optional<TStream> film = Find(Streams(output(surround)), "audio", false);
    ASSERT_TRUE(film.has_value());
    EXPECT_GE(film->Channels, 1);
    EXPECT_LE(film->Channels, 2);
    const std::optional<TStream> single = Find(Streams(output(mono)), "audio", false);
    ASSERT_TRUE(single.has_value());
    if (e.ChannelsUnset) {
      EXPECT_EQ(single->Channels, 1);
    }

    // Ten-bit pictures are encoded as 8-bit 4:2:0.
    if (e.Video) {
      const std::optional<TStream> ten = Find(Streams(output(tenBit)), "video", false);
      ASSERT_TRUE(ten.has_value());
      EXPECT_EQ(ten->PixFmt, "yuv420p");
    }

    // The cover picture is no video; MP4 and MP3 keep it as cover art.
    const auto music = Streams(output(cover));
    EXPECT_TRUE(Find(music, "audio", false).has_value());
    EXPECT_FALSE(Find(music, "video", false).has_value());
    const bool keepsCover = e.Ext == "mp4" || e.Ext == "mp3";
    const std::optional<TStream> art = Find(music, "video", true);
    EXPECT_EQ(art.has_value(), keepsCover);
    if (art) {
      EXPECT_EQ(art->Codec, "mjpeg");
    }
  }
}

// The probe and the file list show the size as seen; a stream copy keeps the
// turn for the player to apply.
TEST(RealWorldSources, ThePhoneVideoIsProbedUprightAndCopiedWithItsTurn) {
  const std::string phone = PhoneVideo();
  const auto probed = test::RunCommand(std::string(TROVENIX_CONVERT) + " --probe " +
                                       ShellQuote(phone) + " 2>/dev/null");
  EXPECT_EQ(probed.Status, 0);
  EXPECT_EQ(probed.Output, phone + "\t90x160\t25\t00:00:00\n");

  const std::string copy = test::FixturePath("rw-phone-copy.mp4");
  const auto run =
      test::RunCommand(std::string(TROVENIX_CONVERT) + " --input " + ShellQuote(phone) +
                       " --option vcodec=copy --option acodec=copy --output " + ShellQuote(copy) +
                       " >/dev/null 2>&1");
  EXPECT_EQ(run.Status, 0);
  const auto streams = Streams(copy);
  const std::optional<TStream> picture = Find(streams, "video", false);
  ASSERT_TRUE(picture.has_value());
  EXPECT_TRUE(picture->Rotated);
  EXPECT_EQ(picture->Width, 160);
  EXPECT_EQ(picture->Height, 90);
}

// A filter chain of the user's sees the picture upright: a crop of the top
// third keeps only the white band.
TEST(RealWorldSources, AFilterChainRunsOnTheUprightPicture) {
  const std::string phone = PhoneVideo();
  const std::string out = test::FixturePath("rw-phone-filtered.avi");
  const auto run = test::RunCommand(
      std::string(TROVENIX_CONVERT) + " --input " + ShellQuote(phone) + " --option vcodec=mpeg4" +
      " --option vfilters=crop=90:48:0:0 --output " + ShellQuote(out) + " >/dev/null 2>&1");
  EXPECT_EQ(run.Status, 0);
  const std::optional<TStream> picture = Find(Streams(out), "video", false);
  ASSERT_TRUE(picture.has_value());
  EXPECT_EQ(picture->Width, 90);
  EXPECT_EQ(picture->Height, 48);
  const std::string grey = StoredPicture4x4(out);
  ASSERT_EQ(grey.size(), 16u);
  for (char value : grey) EXPECT_GT(static_cast<unsigned char>(value), 200);
}

}  // namespace
}  // namespace trovenix
