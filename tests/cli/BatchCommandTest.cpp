// trovenix-convert's batch mode: the catalogue's entries applied to real files,
// checked with ffprobe.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <vector>

#include "support/Fixtures.h"

namespace fs = std::filesystem;

namespace trovenix {
namespace {

using test::ShellQuote;

// 640x480 H.264 at 29.97 fps with 48 kHz stereo AAC, one second.
std::string Source() {
  return test::MakeClip("cli-batch-source.mp4",
                        "-f lavfi -i testsrc=size=640x480:rate=30000/1001 "
                        "-f lavfi -i sine=sample_rate=48000 -ac 2 -t 1 -pix_fmt yuv420p "
                        "-c:v libx264 -preset ultrafast -c:a aac -shortest");
}

// An empty folder of its own for one case.
std::string Folder(const std::string& name) {
  const fs::path dir = test::FixturePath("cli-batch") + "/" + name;
  fs::remove_all(dir);
  fs::create_directories(dir);
  return dir.string();
}

test::CommandResult Batch(const std::string& args, bool withErrors = false) {
  return test::RunCommand(std::string(TROVENIX_CONVERT) + " " + args +
                          (withErrors ? " 2>&1" : " 2>/dev/null"));
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// What ffprobe reads in a file: the container and the first video and audio
// stream.
struct TProbed {
  bool Readable = false;
  std::string Format;
  std::string Brand;
  int VideoStreams = 0;
  std::string VideoCodec;
  int Width = 0;
  int Height = 0;
  double Fps = 0;
  int AudioStreams = 0;
  std::string AudioCodec;
  int SampleRate = 0;
  int Channels = 0;
};

double Rate(const std::string& fraction) {
  const std::size_t slash = fraction.find('/');
  if (slash == std::string::npos) return std::atof(fraction.c_str());
  const double den = std::atof(fraction.c_str() + slash + 1);
  return den == 0 ? 0 : std::atof(fraction.substr(0, slash).c_str()) / den;
}

TProbed Probe(const std::string& file) {
  const auto result = test::RunCommand(
      "ffprobe -v error -of flat -show_entries "
      "format=format_name:format_tags=major_brand:"
      "stream=index,codec_type,codec_name,width,height,r_frame_rate,sample_rate,channels " +
      ShellQuote(file) + " 2>/dev/null");
  TProbed probed;
  probed.Readable = result.Status == 0;
  // Lines such as streams.stream.0.codec_name="mpeg4" or format.format_name="avi".
  std::map<std::string, std::map<std::string, std::string>> streams;
  for (const std::string& line : Lines(result.Output)) {
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos) continue;
    const std::string key = line.substr(0, equals);
    std::string value = line.substr(equals + 1);
    if (value.size() >= 2 && value.front() == '"') value = value.substr(1, value.size() - 2);
    if (key == "format.format_name") probed.Format = value;
    if (key == "format.tags.major_brand") probed.Brand = value;
    const std::string prefix = "streams.stream.";
    if (key.rfind(prefix, 0) == 0) {
      const std::size_t dot = key.find('.', prefix.size());
      streams[key.substr(prefix.size(), dot - prefix.size())][key.substr(dot + 1)] = value;
    }
  }
  for (auto& [index, fields] : streams) {
    if (fields["codec_type"] == "video") {
      if (probed.VideoStreams++ > 0) continue;
      probed.VideoCodec = fields["codec_name"];
      probed.Width = std::atoi(fields["width"].c_str());
      probed.Height = std::atoi(fields["height"].c_str());
      probed.Fps = Rate(fields["r_frame_rate"]);
    } else if (fields["codec_type"] == "audio") {
      if (probed.AudioStreams++ > 0) continue;
      probed.AudioCodec = fields["codec_name"];
      probed.SampleRate = std::atoi(fields["sample_rate"].c_str());
      probed.Channels = std::atoi(fields["channels"].c_str());
    }
  }
  return probed;
}

// The final line the batch prints for one file.
std::string RowLine(const std::string& source, const std::string& output,
                    const std::string& progress) {
  return source + "\t" + output + "\t" + progress;
}

// Container names as ffprobe gives them; the MP4 family shares one demuxer and
// differs in its major brand.
const std::string IsoFamily = "mov,mp4,m4a,3gp,3g2,mj2";

struct TEntryCase {
  int Pos;
  std::string Name;
  std::string Ext;
  std::string Format;
  std::string Brand;       // major brand, empty when the container has none
  std::string VideoCodec;  // empty: no video stream
  int Width;
  int Height;
  double Fps;
  std::string AudioCodec;
  int SampleRate;
  int Channels;
};

// Every entry with the choices it selects by itself, after start-up. The
// source is 640x480 at 29.97 fps, 48 kHz stereo: "Auto" asks for 25 fps,
// "Original Video Size" keeps 640x480, an unselected frame rate keeps 29.97,
// and builders that leave the channels unset keep the source's two. The AMR
// audio of the mobile entries becomes AAC on a build without an AMR encoder.
// clang-format off
const std::vector<TEntryCase> EntryCases = {
    {0, "iPod (*.mp4)", "mp4", IsoFamily, "isom", "mpeg4", 320, 240, 25, "aac", 44100, 2},
    {1, "iPod Extra (640 x 480) (*.mp4)", "mp4", IsoFamily, "isom", "mpeg4", 640, 480, 25, "aac", 44100, 2},
    {2, "iPod Video For TV (*.mp4)", "mp4", IsoFamily, "isom", "mpeg4", 640, 480, 25, "aac", 44100, 2},
    {4, "iPod Touch (*.mp4)", "mp4", IsoFamily, "isom", "mpeg4", 480, 320, 25, "aac", 44100, 2},
    {5, "iPod Touch Extra (640 x 480) (*.mp4)", "mp4", IsoFamily, "isom", "mpeg4", 640, 480, 25, "aac", 44100, 2},
    {6, "iPod Touch Wide Screen (*.mp4)", "mp4", IsoFamily, "isom", "mpeg4", 720, 406, 25, "aac", 44100, 2},
    {8, "iPhone (*.mp4)", "mp4", IsoFamily, "isom", "mpeg4", 480, 320, 25, "aac", 44100, 2},
    {9, "iPhone Extra (640 x 480) (*.mp4)", "mp4", IsoFamily, "isom", "mpeg4", 640, 480, 25, "aac", 44100, 2},
    {10, "iPhone Wide Screen (*.mp4)", "mp4", IsoFamily, "isom", "mpeg4", 720, 480, 25, "aac", 44100, 2},
    {12, "Zune Mpeg4 Video (*.mp4)", "mp4", IsoFamily, "isom", "mpeg4", 320, 240, 29.97, "aac", 44100, 2},
    {13, "Zune WMV Windows Media Video (*.wmv)", "wmv", "asf", "", "wmv2", 320, 240, 25, "wmav2", 48000, 2},
    {15, "PSP Video (*.mp4)", "mp4", IsoFamily, "isom", "mpeg4", 368, 208, 29.97, "aac", 24000, 2},
    {16, "PS3 Video (*.mp4)", "mp4", IsoFamily, "isom", "h264", 720, 480, 29.97, "aac", 44100, 2},
    {17, "PS3 Video(480P) (*.mp4)", "mp4", IsoFamily, "isom", "h264", 720, 480, 29.97, "aac", 44100, 2},
    {18, "PS3 Video(720P) (*.mp4)", "mp4", IsoFamily, "isom", "h264", 1280, 720, 29.97, "aac", 44100, 2},
    {19, "PS3 Video(1080P) (*.mp4)", "mp4", IsoFamily, "isom", "h264", 1920, 1072, 29.97, "aac", 44100, 2},
    {21, "3GP - Mobile Video Format (*.3gp)", "3gp", IsoFamily, "3gp", "mpeg4", 176, 144, 25, "aac", 8000, 1},
    {22, "3G2 - Mobile Video Format (*.3g2)", "3g2", IsoFamily, "3g2", "mpeg4", 176, 144, 25, "aac", 8000, 1},
    {23, "AAC - Advance Audio Coding (*.aac)", "aac", "aac", "", "", 0, 0, 0, "aac", 48000, 2},
    {24, "AVI - Audio Video Interleave (*.avi)", "avi", "avi", "", "mpeg4", 640, 480, 25, "pcm_s16le", 48000, 2},
    {25, "AVI - DivX Video (*.avi)", "avi", "avi", "", "mpeg4", 640, 480, 25, "mp3", 48000, 2},
    {26, "MP3 - Mpeg Layer3 Audio (*.mp3)", "mp3", "mp3", "", "", 0, 0, 0, "mp3", 48000, 2},
    {27, "MP4 - MPEG4 Video (*.mp4)", "mp4", IsoFamily, "isom", "mpeg4", 640, 480, 25, "aac", 44100, 2},
    {28, "MPEG-1 Movie (*.mpg)", "mpg", "mpeg", "", "mpeg1video", 320, 240, 25, "mp2", 44100, 2},
    {29, "MPEG-2 Movie (*.mpg)", "mpg", "mpeg", "", "mpeg2video", 320, 240, 25, "mp2", 44100, 2},
    {30, "MOV - QuickTime Video (*.mov)", "mov", IsoFamily, "qt", "mpeg4", 640, 480, 25, "aac", 44100, 2},
    {31, "WMA - Windows Media Audio (*.wma)", "wma", "asf", "", "", 0, 0, 0, "wmav2", 48000, 2},
    {32, "WMV - Windows Media Video (*.wmv)", "wmv", "asf", "", "wmv2", 320, 240, 25, "wmav2", 48000, 2},
};
// clang-format on

TEST(BatchCommand, EveryEntryConvertsWithItsDefaultChoices) {
  ASSERT_EQ(EntryCases.size(), 28u);  // the catalogue's entries, separators left out
  const std::string source = Source();
  const std::string listed = "\n" + Batch("--list-formats").Output;
  for (const TEntryCase& c : EntryCases) {
    SCOPED_TRACE(c.Name);
    const std::string folder = Folder("entry-" + std::to_string(c.Pos));
    // The entry is picked by its text; the position is what --list-formats shows.
    const auto result = Batch("--format " + ShellQuote(c.Name) + " --output-dir " +
                              ShellQuote(folder) + " " + ShellQuote(source));
    const std::string output = folder + "/cli-batch-source." + c.Ext;
    EXPECT_EQ(result.Status, 0);
    EXPECT_EQ(result.Output, RowLine(source, output, "Done") + "\nAll Conversions Completed\n");
    EXPECT_NE(listed.find("\n" + std::to_string(c.Pos) + "\t" + c.Name + "\n"), std::string::npos);

    const TProbed probed = Probe(output);
    ASSERT_TRUE(probed.Readable);
    EXPECT_EQ(probed.Format, c.Format);
    EXPECT_EQ(probed.Brand.substr(0, c.Brand.size()), c.Brand);
    if (c.VideoCodec.empty()) {
      EXPECT_EQ(probed.VideoStreams, 0);
    } else {
      EXPECT_EQ(probed.VideoStreams, 1);
      EXPECT_EQ(probed.VideoCodec, c.VideoCodec);
      EXPECT_EQ(probed.Width, c.Width);
      EXPECT_EQ(probed.Height, c.Height);
      EXPECT_NEAR(probed.Fps, c.Fps, 0.01);
    }
    EXPECT_EQ(probed.AudioStreams, 1);
    EXPECT_EQ(probed.AudioCodec, c.AudioCodec);
    EXPECT_EQ(probed.SampleRate, c.SampleRate);
    EXPECT_EQ(probed.Channels, c.Channels);
  }
}

// An old output is replaced only by a conversion that succeeds; a failed
// one, whether the source cannot be read or the chosen options cannot be
// encoded, leaves it byte for byte.
TEST(BatchCommand, OverwriteReplacesAnOldOutputOnlyWhenTheConversionSucceeds) {
  const std::string folder = Folder("overwrite");
  const std::string old = "an older conversion the user wants to keep\n";
  const std::string unreadable =
      test::WriteFixture("cli-batch-unreadable.mkv", std::string(4096, '\x5a'));
  const std::string mpeg1 = "--format " + ShellQuote("MPEG-1 Movie (*.mpg)");
  const struct {
    std::string What;
    std::string Source;
    std::string Args;
    std::string Error;  // the start of the text after "Fail: "
  } failures[] = {
      {"unreadable source", unreadable, mpeg1, unreadable + ": "},
      // MPEG-1 audio knows no 54 kHz.
      {"sampling rate the encoder refuses", Source(),
       mpeg1 + " --choose " + ShellQuote("ComboSamplingRate=54000 Hz"),
       "Error while opening codec"},
  };
  for (const auto& f : failures) {
    SCOPED_TRACE(f.What);
    const std::string output =
        folder + "/" + fs::path(f.Source).filename().replace_extension(".mpg").string();
    test::WriteFixture("cli-batch/overwrite/" + fs::path(output).filename().string(), old);
    const auto result = Batch(f.Args + " --overwrite --output-dir " + ShellQuote(folder) + " " +
                              ShellQuote(f.Source));
    EXPECT_EQ(result.Status, 1);
    const auto lines = Lines(result.Output);
    ASSERT_EQ(lines.size(), 2u) << result.Output;
    EXPECT_EQ(lines[0].rfind(RowLine(f.Source, output, "Fail: " + f.Error), 0), 0u) << lines[0];
    EXPECT_EQ(lines[1], "All Conversions Completed");
    EXPECT_EQ(ReadFile(output), old);
  }
  // Nothing else is left in the folder: no half-written or renamed files.
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder))
    names.insert(entry.path().filename().string());
  EXPECT_EQ(names, (std::set<std::string>{"cli-batch-source.mpg", "cli-batch-unreadable.mpg"}));

  // The same old file is replaced by a conversion that works, under its own name.
  const std::string output = folder + "/cli-batch-source.mpg";
  const auto replaced =
      Batch(mpeg1 + " --overwrite --output-dir " + ShellQuote(folder) + " " + ShellQuote(Source()));
  EXPECT_EQ(replaced.Status, 0);
  EXPECT_EQ(Lines(replaced.Output).at(0), RowLine(Source(), output, "Done"));
  EXPECT_EQ(Probe(output).VideoCodec, "mpeg1video");
  EXPECT_FALSE(fs::exists(folder + "/cli-batch-source-1.mpg"));
}

TEST(BatchCommand, WithoutOverwriteAnExistingOutputGetsANumberedSibling) {
  const std::string folder = Folder("numbered");
  const std::string mp3 =
      std::string("--format ").append(ShellQuote("MP3 - Mpeg Layer3 Audio (*.mp3)"));
  const std::string first = folder + "/cli-batch-source.mp3";
  const std::string second = folder + "/cli-batch-source-1.mp3";
  const std::string third = folder + "/cli-batch-source-2.mp3";

  const auto one = Batch(mp3 + " --output-dir " + ShellQuote(folder) + " " + ShellQuote(Source()));
  EXPECT_EQ(one.Status, 0);
  EXPECT_EQ(Lines(one.Output).at(0), RowLine(Source(), first, "Done"));
  const std::string firstBytes = ReadFile(first);

  // A second run names its output -1; the same file twice in one batch gets -1 and -2.
  const auto two = Batch(mp3 + " --output-dir " + ShellQuote(folder) + " " + ShellQuote(Source()));
  EXPECT_EQ(two.Status, 0);
  EXPECT_EQ(Lines(two.Output).at(0), RowLine(Source(), second, "Done"));
  EXPECT_EQ(ReadFile(first), firstBytes);
  fs::remove(second);
  const auto twice = Batch(mp3 + " --output-dir " + ShellQuote(folder) + " " +
                           ShellQuote(Source()) + " " + ShellQuote(Source()));
  EXPECT_EQ(twice.Status, 0);
  EXPECT_EQ(twice.Output, RowLine(Source(), second, "Done") + "\n" +
                              RowLine(Source(), third, "Done") + "\nAll Conversions Completed\n");
  EXPECT_EQ(ReadFile(first), firstBytes);
  EXPECT_EQ(Probe(second).AudioCodec, "mp3");
  EXPECT_EQ(Probe(third).AudioCodec, "mp3");
}

// Two at a time: every file ends Done with an output of its own, also files of
// the same name from different folders, and a file that fails does not stop
// the others.
TEST(BatchCommand, TwoJobsConvertEveryFileToItsOwnOutput) {
  const std::string folder = Folder("jobs");
  const std::string inputs = Folder("jobs-inputs");
  std::vector<std::string> sources;
  for (const char* name : {"a/clip.mp4", "b/clip.mp4", "c/other.mp4", "d/last.mp4"}) {
    const fs::path path = fs::path(inputs) / name;
    fs::create_directories(path.parent_path());
    fs::copy_file(Source(), path);
    sources.push_back(path.string());
  }
  std::string files;
  for (const std::string& source : sources) files += " " + ShellQuote(source);
  const std::string wmv = "--format " + ShellQuote("WMV - Windows Media Video (*.wmv)");

  const auto result = Batch(wmv + " --jobs 2 --output-dir " + ShellQuote(folder) + files);
  EXPECT_EQ(result.Status, 0) << result.Output;
  auto lines = Lines(result.Output);
  ASSERT_EQ(lines.size(), sources.size() + 1) << result.Output;
  EXPECT_EQ(lines.back(), "All Conversions Completed");
  lines.pop_back();
  std::sort(lines.begin(), lines.end());  // rows are printed as they end
  EXPECT_EQ(lines, (std::vector<std::string>{
                       RowLine(sources[0], folder + "/clip.wmv", "Done"),
                       RowLine(sources[1], folder + "/clip-1.wmv", "Done"),
                       RowLine(sources[2], folder + "/other.wmv", "Done"),
                       RowLine(sources[3], folder + "/last.wmv", "Done"),
                   }));
  for (const std::string name : {"clip.wmv", "clip-1.wmv", "other.wmv", "last.wmv"}) {
    const TProbed probed = Probe(folder + "/" + name);
    EXPECT_EQ(probed.VideoCodec, "wmv2") << name;
    EXPECT_EQ(probed.AudioCodec, "wmav2") << name;
  }

  const std::string unreadable = test::WriteFixture("cli-batch-jobs-unreadable.mp4", "not a movie");
  const auto mixed = Batch(wmv + " --jobs 2 --output-dir " + ShellQuote(Folder("jobs-mixed")) +
                           " " + ShellQuote(unreadable) + files);
  EXPECT_EQ(mixed.Status, 1);
  const auto mixedLines = Lines(mixed.Output);
  ASSERT_EQ(mixedLines.size(), sources.size() + 2) << mixed.Output;
  EXPECT_EQ(std::count_if(mixedLines.begin(), mixedLines.end(),
                          [](const std::string& line) { return line.ends_with("\tDone"); }),
            static_cast<long>(sources.size()));
  EXPECT_EQ(mixedLines.back(), "All Conversions Completed");
}

// A row's input is opened when the row starts, not before the batch: a list
// longer than the open-file limit converts every file.
TEST(BatchCommand, MoreFilesThanTheOpenFileLimitAllConvert) {
  const std::string tiny = test::MakeClip(
      "cli-batch-tiny.mp4",
      "-f lavfi -i testsrc=size=64x48:rate=25 -f lavfi -i sine=sample_rate=44100 -t 0.2 "
      "-c:v mpeg4 -c:a aac -shortest");
  const std::string inputs = Folder("limit-inputs");
  std::string files;
  const int count = 40;
  for (int i = 0; i < count; ++i) {
    const std::string path = inputs + "/tiny" + std::to_string(i) + ".mp4";
    fs::copy_file(tiny, path);
    files.append(" ").append(ShellQuote(path));
  }
  const std::string mp3 =
      std::string("--format ").append(ShellQuote("MP3 - Mpeg Layer3 Audio (*.mp3)"));
  const auto result = test::RunCommand("ulimit -n 32 && " + std::string(TROVENIX_CONVERT) + " " +
                                       mp3 + " --jobs 2 --output-dir " +
                                       ShellQuote(Folder("limit")) + files + " 2>/dev/null");
  EXPECT_EQ(result.Status, 0) << result.Output;
  const auto lines = Lines(result.Output);
  EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                          [](const std::string& line) { return line.ends_with("\tDone"); }),
            count)
      << result.Output;
}

// Choices the current entry does not offer are refused before anything is
// converted, with the items that can be chosen.
TEST(BatchCommand, ChoosingAnItemTheControlDoesNotHoldListsTheItems) {
  const struct {
    std::string Args;
    std::string Message;
  } cases[] = {
      {"--format 15 --choose " + ShellQuote("ComboVideoSize=640 x 480"),
       "ComboVideoSize holds no item \"640 x 480\"; its items are \"160 x 112\", \"320 x 240\", "
       "\"368 x 208\", \"480 x 272\""},
      // Exact texts only: the Zune size carries its trailing blank.
      {"--format 12 --choose " + ShellQuote("ComboVideoSize=320 x 240"),
       "ComboVideoSize holds no item \"320 x 240\"; its items are \"320 x 240 \", \"640 x 480\""},
      {"--format 26 --choose " + ShellQuote("ComboVideoCodec=MPEG4"),
       "ComboVideoCodec holds no items"},
      {"--format 27 --choose " + ShellQuote("ComboVideoSpeed=fast"),
       "unknown control \"ComboVideoSpeed\""},
  };
  const std::string folder = Folder("choose");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Args);
    const auto result =
        Batch(c.Args + " --output-dir " + ShellQuote(folder) + " " + ShellQuote(Source()), true);
    EXPECT_EQ(result.Status, 2);
    EXPECT_NE(result.Output.find(c.Message), std::string::npos) << result.Output;
    EXPECT_EQ(result.Output.find("Done"), std::string::npos);
    EXPECT_TRUE(fs::is_empty(folder));
  }
  // The item the entry does hold is taken, and the output follows it.
  const auto chosen = Batch("--format 15 --choose " + ShellQuote("ComboVideoSize=480 x 272") +
                            " --choose " + ShellQuote("ComboVideoFramerate=14.985 fps") +
                            " --output-dir " + ShellQuote(folder) + " " + ShellQuote(Source()));
  EXPECT_EQ(chosen.Status, 0);
  const TProbed probed = Probe(folder + "/cli-batch-source.mp4");
  EXPECT_EQ(probed.Width, 480);
  EXPECT_EQ(probed.Height, 272);
  EXPECT_NEAR(probed.Fps, 14.985, 0.01);
}

}  // namespace
}  // namespace trovenix
