// Damaged copies of short clips of every common container through the probe
// and three catalogue entries: every run ends with a result of its own, no
// process dies of a signal or runs on, no temporary file stays behind and no
// output outlasts its source by much.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <sstream>
#include <vector>

#include "support/DamagedMedia.h"
#include "support/Fixtures.h"

namespace fs = std::filesystem;

namespace trovenix {
namespace {

using test::ShellQuote;

constexpr double RunLimitSeconds = 60;

struct TSource {
  std::string Name;  // file name of the clean clip
  std::string Args;  // how ffmpeg makes it
};

// One second at 64x48 where there is video: small enough that the whole
// corpus converts quickly, also under the sanitizers.
const std::vector<TSource> Sources = {
    {"corpus.avi",
     "-f lavfi -i testsrc=d=1:s=64x48:r=10 -f lavfi -i sine=d=1 -c:v mpeg4 -c:a libmp3lame"},
    {"corpus.mp4",
     "-f lavfi -i testsrc=d=1:s=64x48:r=10 -f lavfi -i sine=d=1 -c:v libx264 -preset ultrafast "
     "-pix_fmt yuv420p -c:a aac"},
    {"corpus.mkv",
     "-f lavfi -i testsrc=d=1:s=64x48:r=10 -f lavfi -i sine=d=1 -c:v mpeg4 -c:a libvorbis"},
    {"corpus.mpg",
     "-f lavfi -i testsrc=d=1:s=64x48:r=10 -f lavfi -i sine=d=1 -c:v mpeg2video -c:a mp2"},
    {"corpus.wmv",
     "-f lavfi -i testsrc=d=1:s=64x48:r=10 -f lavfi -i sine=d=1 -c:v wmv2 -c:a wmav2"},
    {"corpus.mp3", "-f lavfi -i sine=d=1 -c:a libmp3lame"},
    {"corpus.wav", "-f lavfi -i sine=d=1:sample_rate=8000"},
};

struct TDamage {
  std::string Tag;
  std::string (*Make)(const std::string&);
};

const std::vector<TDamage> Damages = {
    {"cut20", [](const std::string& b) { return test::Truncated(b, 0.2); }},
    {"cut50", [](const std::string& b) { return test::Truncated(b, 0.5); }},
    {"cut90", [](const std::string& b) { return test::Truncated(b, 0.9); }},
    {"noise1", [](const std::string& b) { return test::Overwritten(b, 1, 40); }},
    {"noise2", [](const std::string& b) { return test::Overwritten(b, 2, 40, 512); }},
    {"noise3", [](const std::string& b) { return test::Overwritten(b, 3, 200, 512); }},
    {"zeroed", [](const std::string& b) { return test::HeaderZeroed(b, 512); }},
    {"hole", [](const std::string& b) { return test::PieceCut(b, 0.4, 0.6); }},
};

// The catalogue entries every copy goes through: iPod, AVI and MP3.
const struct {
  int Format;
  std::string Ext;
} Entries[] = {{0, "mp4"}, {24, "avi"}, {26, "mp3"}};

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::string Folder(const std::string& name) {
  const fs::path dir = test::FixturePath("corpus") + "/" + name;
  fs::remove_all(dir);
  fs::create_directories(dir);
  return dir.string();
}

std::string FileList(const std::vector<std::string>& files) {
  std::string list;
  for (const std::string& file : files) list += " " + ShellQuote(file);
  return list;
}

// One probe run over the files: a line for each, in order.
void CheckProbe(const std::vector<std::string>& files) {
  SCOPED_TRACE("probe");
  const auto run = test::RunLimited(std::string(TROVENIX_CONVERT) + " --probe" + FileList(files),
                                    RunLimitSeconds);
  ASSERT_FALSE(run.TimedOut);
  ASSERT_EQ(run.Signal, 0) << "died of a signal";
  ASSERT_TRUE(run.Exited);
  const auto lines = Lines(run.Output);
  ASSERT_EQ(lines.size(), files.size()) << run.Output;
  bool anyError = false;
  for (std::size_t i = 0; i < files.size(); ++i) {
    EXPECT_EQ(lines[i].rfind(files[i] + "\t", 0), 0u) << lines[i];
    anyError |= lines[i].rfind(files[i] + "\tError\t", 0) == 0;
  }
  EXPECT_EQ(run.ExitStatus, anyError ? 1 : 0);
}

// One batch run of an entry over the files, one after the other (a batch
// of short files costs less than a process for each): every row ends Done
// with an output no longer than longestSeconds, or Fail with a reason and
// no output.
void CheckConversions(const std::vector<std::string>& files, const std::string& folderName,
                      int format, const std::string& ext, double longestSeconds) {
  SCOPED_TRACE("format " + std::to_string(format));
  const std::string folder = Folder(folderName + "-" + std::to_string(format));
  const auto run =
      test::RunLimited(std::string(TROVENIX_CONVERT) + " --format " + std::to_string(format) +
                           " --output-dir " + ShellQuote(folder) + FileList(files),
                       RunLimitSeconds);
  ASSERT_FALSE(run.TimedOut) << "ran longer than " << RunLimitSeconds << " s";
  ASSERT_EQ(run.Signal, 0) << "died of a signal";
  ASSERT_TRUE(run.Exited);
  const auto lines = Lines(run.Output);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back(), "All Conversions Completed");
  // Rows that cannot be prepared come first, the others as they end; a
  // reason may run over several lines.
  std::map<std::string, std::string> rows;
  for (const std::string& line : lines) {
    const std::string source = line.substr(0, line.find('\t'));
    if (std::find(files.begin(), files.end(), source) == files.end()) continue;
    EXPECT_EQ(rows.count(source), 0u) << "two rows for " << source;
    rows[source] = line;
  }
  bool allDone = true;
  for (const std::string& file : files) {
    SCOPED_TRACE(file);
    const std::string output = folder + "/" + fs::path(file).stem().string() + "." + ext;
    const std::string row = file + "\t" + output + "\t";
    const std::string line = rows[file];
    if (line == row + "Done") {
      EXPECT_LE(test::ProbeDurationSeconds(output), longestSeconds)
          << "the output outlasts its source";
    } else {
      allDone = false;
      EXPECT_EQ(line.rfind(row + "Fail: ", 0), 0u) << line;
      EXPECT_GT(line.size(), (row + "Fail: ").size()) << "a failure names its reason";
      EXPECT_FALSE(fs::exists(output));
    }
  }
  EXPECT_EQ(run.ExitStatus, allDone ? 0 : 1);
  for (const auto& entry : fs::directory_iterator(folder))
    EXPECT_NE(entry.path().extension(), ".part") << entry.path();
}

void CheckCorpus(const std::vector<std::string>& files, const std::string& folderName,
                 double longestSeconds) {
  CheckProbe(files);
  for (const auto& entry : Entries)
    CheckConversions(files, folderName, entry.Format, entry.Ext, longestSeconds);
}

class RobustnessCorpus : public testing::TestWithParam<TSource> {};

TEST_P(RobustnessCorpus, DamagedCopiesEndWithAResult) {
  const TSource& source = GetParam();
  const std::string clean = test::MakeClip(source.Name, source.Args);
  const std::string bytes = test::ReadBytes(clean);
  ASSERT_GT(bytes.size(), 1000u);
  const std::string kind = fs::path(source.Name).extension().string().substr(1);
  std::vector<std::string> files;
  for (const TDamage& damage : Damages)
    files.push_back(
        test::WriteFixture("corpus-" + kind + "-" + damage.Tag + "." + kind, damage.Make(bytes)));
  // The clips last one second; a damaged copy may not stretch that much.
  CheckCorpus(files, "out-" + kind, 2.5);
}

INSTANTIATE_TEST_SUITE_P(Containers, RobustnessCorpus, testing::ValuesIn(Sources),
                         [](const testing::TestParamInfo<TSource>& info) {
                           return fs::path(info.param.Name).extension().string().substr(1);
                         });

// A stream with a header and no frame, and a two-hour jump of one packet time.
TEST(RobustnessCorpusSpecial, HeaderOnlyAndTimeJumpEndWithAResult) {
  const std::string headerOnly = test::MakeClip(
      "corpus-header-only.avi", "-f lavfi -i testsrc=d=1:s=64x48:r=10 -c:v mpeg4 -frames:v 0");
  const std::string flv = test::MakeClip(
      "corpus-jump-source.flv",
      "-f lavfi -i testsrc=d=2:s=64x48:r=10 -f lavfi -i sine=d=2 -c:v flv1 -c:a libmp3lame");
  const std::string jump = test::WriteFixture(
      "corpus-jump.flv", test::FlvVideoTagTimeSet(test::ReadBytes(flv), 12, 7200000));
  CheckCorpus({headerOnly}, "out-header-only", 2.5);
  CheckCorpus({jump}, "out-jump", 3.5);
}

}  // namespace
}  // namespace trovenix
