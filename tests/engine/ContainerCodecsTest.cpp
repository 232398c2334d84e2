// A container that cannot hold a stream's codec is refused before anything is
// written, instead of a file whose stream no reader recognises.
#include <filesystem>
#include <fstream>

#include "TaskFixture.h"

namespace fs = std::filesystem;

namespace trovenix {
namespace {

std::string VorbisClip() {
  return test::MakeClip("vorbis-1s.mkv", "-f lavfi -i sine=d=1:sample_rate=48000 -c:a libvorbis");
}

class ContainerCodecs : public test::TaskTest {};

TEST_F(ContainerCodecs, RefusedBeforeAnythingIsWritten) {
  const fs::path dir = fs::path(test::FixturePath("container-codecs"));
  fs::remove_all(dir);
  fs::create_directories(dir);
  const struct {
    const char* file;
    const char* acodec;
    std::string error;  // empty: converts
  } cases[] = {
      {"copy.ts", "copy",
       "Codec vorbis cannot be stored in the mpegts container (output stream #0.0)"},
      {"encoded.ts", "libvorbis",
       "Codec vorbis cannot be stored in the mpegts container (output stream #0.0)"},
      {"copy.mov", "copy",
       "Codec vorbis cannot be stored in the mov container (output stream #0.0)"},
      {"mp2.ts", "mp2", ""},
      {"copy.mka", "copy", ""},
  };
  for (const auto& c : cases) {
    const std::string output = (dir / c.file).string();
    if (!c.error.empty()) std::ofstream(output) << "precious";
    task.PrepareTask();
    ASSERT_TRUE(task.OpenInputFile(VorbisClip())) << task.LastError;
    task.ParseOption("acodec", c.acodec);
    ASSERT_GE(task.OpenOutputFile(output), 0) << task.LastError;
    task.Start(false);
    EXPECT_EQ(task.Failed, !c.error.empty()) << c.file << ": " << task.ErrorMessage;
    if (c.error.empty()) {
      EXPECT_TRUE(task.Finished) << c.file;
      EXPECT_NEAR(test::ProbeDurationSeconds(output), 1.0, 0.1) << c.file;
      continue;
    }
    EXPECT_EQ(task.ErrorMessage, c.error);
    std::ifstream kept(output);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "precious") << c.file;
  }
  // Only the finished outputs and the untouched files: no temporary file is left.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), {}), static_cast<long>(std::size(cases)));
}

}  // namespace
}  // namespace trovenix
