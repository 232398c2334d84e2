// Sound and picture stay together with every video entry: a source with a
// white flash and a beep at the same moment every second is converted, and
// the outputs are read back with the ffmpeg program as a player would,
// timing each flash picture and each beep onset.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <vector>

#include "support/Fixtures.h"

namespace fs = std::filesystem;

namespace trovenix {
namespace {

using test::ShellQuote;

constexpr int SampleRate = 48000;
constexpr double AllowedMs = 45.0;

// 3.5 s at 29.97 fps and 48 kHz: from frame 30 on, every 30th frame starts
// three white frames (at 1.001 s, 2.002 s, 3.003 s), and a 1 kHz beep of
// 0.1 s starts at the same moments.
std::string Source() {
  return test::MakeClip(
      "lipsync-source.mkv",
      "-f lavfi -i " +
          ShellQuote("color=black:s=160x120:r=30000/1001:d=3.5,drawbox=x=0:y=0:w=iw:h=ih:"
                     "color=white:t=fill:enable='gte(n,30)*lt(mod(n,30),3)'") +
          " -f lavfi -i " +
          ShellQuote(
              "aevalsrc='0.5*sin(2*PI*1000*t)*lt(mod(t,1.001),0.1)*gte(t,1)':s=48000:d=3.5") +
          " -ac 2 -c:v libx264 -preset ultrafast -c:a pcm_s16le");
}

struct TMarks {
  std::vector<double> Flashes;  // seconds, the first bright picture of each flash
  std::vector<double> Beeps;    // seconds, the first loud sample after a silence
};

// Reads a file as a player would: pictures with their times, the sound
// padded to start on the same time line.
TMarks ReadMarks(const std::string& file) {
  const std::string sound = file + ".s16";
  const auto run =
      test::RunCommand("ffmpeg -nostdin -v info -i " + ShellQuote(file) +
                       " -map 0:v:0 -vf scale=16:16,format=gray,showinfo -f null - -map 0:a:0"
                       " -af aresample=async=1:first_pts=0 -ac 1 -ar 48000 -f s16le -y " +
                       ShellQuote(sound) + " 2>&1 >/dev/null");
  TMarks marks;
  std::istringstream lines(run.Output);
  bool bright = false;
  for (std::string line; std::getline(lines, line);) {
    const std::size_t time = line.find("pts_time:");
    const std::size_t mean = line.find("mean:[");
    if (line.find("showinfo") == std::string::npos || time == std::string::npos ||
        mean == std::string::npos)
      continue;
    const double seconds = std::atof(line.c_str() + time + 9);
    const bool now = std::atoi(line.c_str() + mean + 6) > 128;
    if (now && !bright) marks.Flashes.push_back(seconds);
    bright = now;
  }
  std::ifstream in(sound, std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  int quiet = 0;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const int value = static_cast<std::int16_t>(static_cast<unsigned char>(bytes[i]) |
                                                static_cast<unsigned char>(bytes[i + 1]) << 8);
    if (std::abs(value) > 3000) {
      if (quiet > SampleRate * 3 / 10)
        marks.Beeps.push_back(static_cast<double>(i / 2) / SampleRate);
      quiet = 0;
    } else {
      ++quiet;
    }
  }
  fs::remove(sound);
  return marks;
}

// Each beep against the nearest flash, in ms; negative: the sound is ahead.
std::vector<double> OffsetsMs(const TMarks& marks) {
  std::vector<double> offsets;
  for (double beep : marks.Beeps) {
    if (marks.Flashes.empty()) break;
    double nearest = marks.Flashes.front();
    for (double flash : marks.Flashes)
      if (std::fabs(flash - beep) < std::fabs(nearest - beep)) nearest = flash;
    offsets.push_back((beep - nearest) * 1000.0);
  }
  return offsets;
}

struct TEntry {
  int Pos;
  const char* Ext;
};

const TEntry VideoEntries[] = {{0, "mp4"},  {1, "mp4"},  {2, "mp4"},  {4, "mp4"},  {5, "mp4"},
                               {6, "mp4"},  {8, "mp4"},  {9, "mp4"},  {10, "mp4"}, {12, "mp4"},
                               {13, "wmv"}, {15, "mp4"}, {16, "mp4"}, {17, "mp4"}, {18, "mp4"},
                               {19, "mp4"}, {21, "3gp"}, {22, "3g2"}, {24, "avi"}, {25, "avi"},
                               {27, "mp4"}, {28, "mpg"}, {29, "mpg"}, {30, "mov"}, {32, "wmv"}};

// The entries' names as --list-formats prints them ("POS\tNAME").
std::string EntryName(const std::string& listing, int pos) {
  const std::string key = "\n" + std::to_string(pos) + "\t";
  const std::size_t at = ("\n" + listing).find(key);
  if (at == std::string::npos) return std::to_string(pos);
  const std::size_t start = at + key.size() - 1;
  return listing.substr(start, listing.find('\n', start) - start);
}

TEST(LipSync, EveryVideoEntryKeepsSoundAndPictureTogether) {
  const std::string source = Source();
  // The source itself is the measure's zero.
  const std::vector<double> own = OffsetsMs(ReadMarks(source));
  ASSERT_EQ(own.size(), 3u);
  for (double offset : own) EXPECT_NEAR(offset, 0.0, 1.0);

  const std::string listing =
      test::RunCommand(std::string(TROVENIX_CONVERT) + " --list-formats 2>/dev/null").Output;
  std::string table = "Lip sync (ms, sound ahead negative), three flashes each:\n";
  for (const TEntry& e : VideoEntries) {
    const std::string name = EntryName(listing, e.Pos);
    SCOPED_TRACE(name);
    const fs::path dir = test::FixturePath("lipsync") + "/entry-" + std::to_string(e.Pos);
    fs::remove_all(dir);
    fs::create_directories(dir);
    const auto run = test::RunCommand(
        std::string(TROVENIX_CONVERT) + " --format " + std::to_string(e.Pos) + " --output-dir " +
        ShellQuote(dir.string()) + " " + ShellQuote(source) + " 2>/dev/null");
    EXPECT_EQ(run.Status, 0) << run.Output;
    const std::vector<double> offsets =
        OffsetsMs(ReadMarks((dir / (std::string("lipsync-source.") + e.Ext)).string()));
    EXPECT_EQ(offsets.size(), 3u);
    char row[160];
    std::snprintf(row, sizeof row, "  %-40s", name.c_str());
    table += row;
    for (double offset : offsets) {
      EXPECT_LE(std::fabs(offset), AllowedMs);
      std::snprintf(row, sizeof row, " %5.0f", offset);
      table += row;
    }
    table += "\n";
  }
  std::printf("%s", table.c_str());
}

}  // namespace
}  // namespace trovenix
