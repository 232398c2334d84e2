// trovenix-convert's argument conventions: --version, "--" before file names
// that start with "-", folders refused as sources, modes that do not mix.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>

#include "TrovenixVersion.h"
#include "support/Fixtures.h"

namespace fs = std::filesystem;

namespace trovenix {
namespace {

using test::ShellQuote;

const std::string Program = TROVENIX_CONVERT;

std::string Clip() {
  return test::MakeClip(
      "cli-args-1s.mp4",
      "-f lavfi -i testsrc=size=160x120:rate=25 -f lavfi -i sine=sample_rate=44100 "
      "-t 1 -c:v mpeg4 -c:a aac -shortest");
}

// An empty folder of its own for one test.
std::string Folder(const std::string& name) {
  const fs::path dir = test::FixturePath("cli-args") + "/" + name;
  fs::remove_all(dir);
  fs::create_directories(dir);
  return dir.string();
}

// Runs the program in folder; standard error is kept apart from the output.
struct TRun {
  int Status;
  std::string Output;
  std::string Errors;
};
TRun RunIn(const std::string& folder, const std::string& args) {
  const std::string errors = folder + "/stderr.txt";
  const auto result = test::RunCommand("cd " + ShellQuote(folder) + " && " + ShellQuote(Program) +
                                       " " + args + " 2>" + ShellQuote(errors));
  const auto text = test::RunCommand("cat " + ShellQuote(errors));
  fs::remove(errors);
  return {result.Status, result.Output, text.Output};
}

TEST(CommandLine, VersionPrintsTheProjectVersion) {
  const auto result = test::RunCommand(Program + " --version");
  EXPECT_EQ(result.Status, 0);
  EXPECT_EQ(result.Output, std::string("trovenix-convert ") + TrovenixVersion + "\n");
}

// A source called "-x.mp4" in the current folder is a file after "--" in
// every mode that takes files, and the value of an option without it.
TEST(CommandLine, DoubleDashEndsTheOptions) {
  const std::string folder = Folder("dash");
  fs::copy_file(Clip(), folder + "/-x.mp4");
  fs::create_directories(folder + "/out");
  const struct {
    std::string Args;
    std::string Output;
  } cases[] = {
      {"--probe -- -x.mp4", "-x.mp4\t160x120\t25\t00:00:01\n"},
      {"--probe a.mp4 -- -x.mp4 --probe",
       "a.mp4\tError\ta.mp4: no such file or directory\n-x.mp4\t160x120\t25\t00:00:01\n"
       "--probe\tError\t--probe: no such file or directory\n"},
      {"--format 26 --output-dir out -- -x.mp4",
       "-x.mp4\tout/-x.mp3\tDone\nAll Conversions Completed\n"},
      // An option that may be repeated takes one value a time, not the file after it.
      {"--format 26 --output-dir out --choose 'ComboAudioBitrate=128 Kbps' ./-x.mp4",
       "./-x.mp4\tout/-x-1.mp3\tDone\nAll Conversions Completed\n"},
      {"--input -x.mp4 --output -x.mov --option vcodec=copy --option acodec=copy", "Done\n"},
  };
  for (const auto& c : cases) {
    const TRun run = RunIn(folder, c.Args);
    EXPECT_EQ(run.Output, c.Output) << c.Args << "\n" << run.Errors;
  }
  EXPECT_TRUE(fs::exists(folder + "/out/-x.mp3"));
  EXPECT_TRUE(fs::exists(folder + "/out/-x-1.mp3"));
  EXPECT_GT(test::ProbeDurationSeconds(folder + "/-x.mov"), 0.5);

  // Without "--" the name reads as an option the program does not know.
  const TRun refused = RunIn(folder, "--probe -x.mp4");
  EXPECT_EQ(refused.Status, 2);
  EXPECT_EQ(refused.Output, "");
  EXPECT_NE(refused.Errors.find("-x.mp4"), std::string::npos) << refused.Errors;
}

// A folder is refused before anything is read or written, in every mode, with
// a message that names it.
TEST(CommandLine, AFolderIsRefusedAsASource) {
  const std::string folder = Folder("folder");
  fs::create_directories(folder + "/clips");
  fs::copy_file(Clip(), folder + "/clips/a.mp4");
  fs::create_directories(folder + "/out");
  for (const std::string args :
       {"--probe clips/a.mp4 clips", "--format 26 --output-dir out clips/a.mp4 clips",
        "--input clips --output out/a.mp3", "--output-dir out -- clips/"}) {
    const TRun run = RunIn(folder, args);
    EXPECT_EQ(run.Status, 2) << args;
    EXPECT_EQ(run.Output, "") << args;
    EXPECT_NE(run.Errors.find("is a folder; give the files in it instead"), std::string::npos)
        << args << "\n"
        << run.Errors;
    EXPECT_TRUE(fs::is_empty(folder + "/out")) << args;
  }
}

// Options of one mode are refused in another, so nothing is silently left out.
TEST(CommandLine, ModesDoNotMix) {
  const std::string folder = Folder("modes");
  const struct {
    std::string Args;
    std::string Message;
  } cases[] = {
      {"a.mp4", "say what to do"},
      {"--input a.mp4 --output b.mp4 --output-dir .",
       "--input and --output-dir cannot be used together"},
      {"--probe a.mp4 --list-formats", "--probe and --list-formats cannot be used together"},
      {"--probe a.mp4 --jobs 2", "--jobs does not go with --probe"},
      {"--format 26 --probe a.mp4", "--format does not go with --probe"},
      {"--output-dir . --option vcodec=copy a.mp4", "--option does not go with --output-dir"},
      {"--input a.mp4 --output b.mp4 c.mp4", "--input takes no FILE"},
      {"--input a.mp4 --input b.mp4 --output c.mp4", "--input"},
      {"--output-dir . --jobs 0 a.mp4", "--jobs"},
      {"--output-dir . --volume 11 a.mp4", "--volume"},
      {"--input a.mp4 --output b.mp4 --option \"$(printf 'vcodec=copy\\nacodec=copy')\"",
       "line breaks"},
  };
  for (const auto& c : cases) {
    const TRun run = RunIn(folder, c.Args);
    EXPECT_EQ(run.Status, 2) << c.Args;
    EXPECT_EQ(run.Output, "") << c.Args;
    EXPECT_NE(run.Errors.find(c.Message), std::string::npos) << c.Args << "\n" << run.Errors;
    EXPECT_NE(run.Errors.find("Try 'trovenix-convert --help'."), std::string::npos) << c.Args;
  }
}

TEST(CommandLine, HelpNamesEveryOption) {
  const auto help = test::RunCommand(Program + " --help");
  EXPECT_EQ(help.Status, 0);
  // Texts are looked for across the line breaks of the layout.
  std::string text;
  for (const char c : help.Output)
    if (!std::isspace(static_cast<unsigned char>(c)) || (!text.empty() && text.back() != ' '))
      text += std::isspace(static_cast<unsigned char>(c)) ? ' ' : c;
  for (const std::string name :
       {"--input FILE", "--output FILE", "--input-option NAME=VALUE", "--option NAME=VALUE",
        "--log-level LEVEL", "--progress-interval MS", "--output-dir DIR", "--format NAME|POS",
        "--choose CONTROL=ITEM", "--volume 0..10", "--jobs N", "--overwrite", "--probe",
        "--list-formats", "--show-choices", "--version", "After --, every argument is a FILE",
        "A folder is refused"})
    EXPECT_NE(text.find(name), std::string::npos) << name;
}

}  // namespace
}  // namespace trovenix
