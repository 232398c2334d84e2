// The video statistics file: one line per encoded frame.
#include <filesystem>
#include <fstream>
#include <regex>

#include "CommaLocale.h"
#include "HookTaskFixture.h"

namespace fs = std::filesystem;

namespace trovenix {
namespace {

std::vector<std::string> Lines(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

class VideoStats : public test::HookTaskTest {
 protected:
  void TearDown() override { test::RestoreCLocale(); }
};

TEST_F(VideoStats, OneLinePerEncodedFrame) {
  const std::string clip =
      test::MakeClip("testsrc-32x24-25fps-5s.avi",
                     "-f lavfi -i testsrc=size=32x24:rate=25 -t 5 -c:v mpeg4 -q:v 3");
  const std::string folder = test::FixturePath("hook-out");
  fs::create_directories(folder);
  const std::regex line(
      R"(frame= +\d+ q= *\d+\.\d (PSNR= +[\d.]+ )?f_size= +\d+ s_size= +\d+kB time= \d+\.\d{3} )"
      R"(br= +\d+\.\dkbits/s avg_br= +\d+\.\dkbits/s type= [IPB])");
  struct Case {
    const char* name;
    bool psnr, commaLocale;
  };
  for (const Case& c : {Case{"plain", false, false}, Case{"with PSNR", true, false},
                        Case{"in a locale with a decimal comma", false, true}}) {
    if (c.commaLocale && !test::UseCommaLocale()) continue;
    const std::string stats = folder + "/vstats.log";
    fs::remove(stats);
    test::TOptionList options{{"vcodec", "mpeg4"}, {"vstats_file", stats}};
    if (c.psnr) options.emplace_back("psnr", "");
    Convert(clip, "stats.avi", options);
    test::RestoreCLocale();
    ASSERT_FALSE(task.Failed) << c.name << ": " << task.ErrorMessage;
    const auto lines = Lines(stats);
    ASSERT_EQ(lines.size(), 125u) << c.name;
    EXPECT_EQ(lines.front().rfind("frame=     1 q=", 0), 0u) << lines.front();
    EXPECT_EQ(lines.front().back(), 'I') << lines.front();
    // The sizes are this run's own, though the task converted before.
    std::smatch sizes;
    ASSERT_TRUE(
        std::regex_search(lines.front(), sizes, std::regex(R"(f_size= +(\d+) s_size= +(\d+)kB)")));
    EXPECT_NEAR(std::stod(sizes[2]), std::stod(sizes[1]) / 1024.0, 0.5) << lines.front();
    for (const std::string& text : lines) {
      EXPECT_TRUE(std::regex_match(text, line)) << c.name << ": " << text;
      EXPECT_EQ(text.find("PSNR=") != std::string::npos, c.psnr) << c.name << ": " << text;
    }
  }
}

TEST_F(VideoStats, AFileThatCannotBeOpenedEndsTheTask) {
  const std::string clip =
      test::MakeClip("gray-160x120-25fps-1s.avi",
                     "-f lavfi -i color=gray:size=160x120:rate=25 -t 1 -c:v mpeg4 -q:v 2");
  const std::string stats = test::FixturePath("no-such-folder") + "/sub/vstats.log";
  const std::string output =
      Convert(clip, "no-stats.avi", {{"vcodec", "mpeg4"}, {"vstats_file", stats}});
  EXPECT_TRUE(task.Failed);
  EXPECT_EQ(task.ErrorMessage, "fopen fail: " + stats);
  EXPECT_FALSE(fs::exists(output));
}

}  // namespace
}  // namespace trovenix
