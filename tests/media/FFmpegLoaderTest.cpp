#include "media/FFmpegLoader.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cfenv>
#include <filesystem>
#include <stdexcept>

extern "C" {
#include <libavcodec/version_major.h>
#include <libavdevice/version_major.h>
#include <libavfilter/version_major.h>
#include <libavformat/version_major.h>
#include <libavutil/version.h>
#include <libswresample/version_major.h>
#include <libswscale/version_major.h>
}

#include "media/AVCodecStubs.h"
#include "media/AVFilterStubs.h"
#include "media/MyUtilStubs.h"
#include "media/SwScaleStubs.h"
#include "support/Fixtures.h"

namespace fs = std::filesystem;

namespace trovenix {
namespace {

constexpr TLibrarySet AllLibraries{liAVCodec, liAVDevice, liAVFilter,   liAVFormat,
                                   liAVUtil,  liSwScale,  liSwResample, liMyUtil};

class FFmpegLoaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    loader.UnloadLibrarySet(AllLibraries);
    loader.SetLibraryPath("");
  }
  void TearDown() override {
    loader.UnloadLibrarySet(AllLibraries);
    loader.SetLibraryPath("");
    if (!folder.empty()) fs::remove_all(folder);
  }
  // A fresh folder holding the given file as the swscale library.
  std::string FolderWithSwScale(const fs::path& folderPath, const std::string& stub) {
    folder = folderPath;
    fs::remove_all(folder);
    fs::create_directories(folder);
    fs::copy_file(stub, folder / loader.LibraryFileName(liSwScale));
    return folder.string();
  }
  static std::string FileOf(const void* address) {
    Dl_info info{};
    return dladdr(address, &info) ? info.dli_fname : "";
  }

  TFFmpegLoader& loader = FFLoader();
  fs::path folder;
};

TEST_F(FFmpegLoaderTest, FileNamesFollowTheHeadersMajorVersions) {
  const struct {
    TLibraryIndex index;
    std::string name;
  } cases[] = {
      {liAVCodec, "libavcodec.so." + std::to_string(LIBAVCODEC_VERSION_MAJOR)},
      {liAVDevice, "libavdevice.so." + std::to_string(LIBAVDEVICE_VERSION_MAJOR)},
      {liAVFilter, "libavfilter.so." + std::to_string(LIBAVFILTER_VERSION_MAJOR)},
      {liAVFormat, "libavformat.so." + std::to_string(LIBAVFORMAT_VERSION_MAJOR)},
      {liAVUtil, "libavutil.so." + std::to_string(LIBAVUTIL_VERSION_MAJOR)},
      {liSwScale, "libswscale.so." + std::to_string(LIBSWSCALE_VERSION_MAJOR)},
      {liMyUtil, "libc.so.6"},
      {liSwResample, "libswresample.so." + std::to_string(LIBSWRESAMPLE_VERSION_MAJOR)},
  };
  for (const auto& c : cases) EXPECT_EQ(loader.LibraryFileName(c.index), c.name);
}

TEST_F(FFmpegLoaderTest, EngineLibrariesLoadAsASetAndUnload) {
  for (int i = 0; i < LibraryCount; ++i)
    EXPECT_FALSE(loader.IsLibraryLoaded(static_cast<TLibraryIndex>(i))) << i;
  EXPECT_FALSE(loader.LibrarySetLoaded(EngineLibraries));

  ASSERT_TRUE(loader.LoadLibrarySet(EngineLibraries)) << loader.GetLastLoadError();
  EXPECT_TRUE(loader.LibrarySetLoaded(EngineLibraries));
  EXPECT_TRUE(loader.IsLibraryLoaded(liSwResample));
  EXPECT_TRUE(loader.IsLibraryLoaded(liMyUtil));
  EXPECT_FALSE(loader.IsLibraryLoaded(liAVDevice));
  ASSERT_NE(ff::avcodec_find_decoder, nullptr);
  EXPECT_NE(ff::avcodec_find_decoder(AV_CODEC_ID_H264), nullptr);
  // "myutil" is the C runtime the libraries use.
  EXPECT_EQ(ff::my_strtol("42", nullptr, 10), 42);

  // A second load of a loaded set touches nothing.
  void* codecHandle = loader.LibraryHandle(liAVCodec);
  auto* const decoderEntry = ff::avcodec_find_decoder;
  EXPECT_TRUE(loader.LoadLibrarySet(EngineLibraries));
  EXPECT_EQ(loader.LibraryHandle(liAVCodec), codecHandle);
  EXPECT_EQ(ff::avcodec_find_decoder, decoderEntry);

  loader.UnloadLibrarySet(EngineLibraries);
  EXPECT_FALSE(loader.LibrarySetLoaded(EngineLibraries));
  EXPECT_EQ(ff::avcodec_find_decoder, nullptr);
  EXPECT_EQ(ff::avfilter_version, nullptr);
  EXPECT_EQ(loader.LibraryHandle(liAVCodec), nullptr);
}

TEST_F(FFmpegLoaderTest, PlayerLibrariesLeaveTheFilterLibraryAlone) {
  EXPECT_FALSE(loader.IsLibraryLoaded(liAVUtil));
  ASSERT_TRUE(loader.LoadLibrarySet(PlayerLibraries)) << loader.GetLastLoadError();
  EXPECT_TRUE(loader.IsLibraryLoaded(liAVUtil));
  EXPECT_TRUE(loader.IsLibraryLoaded(liSwResample));
  EXPECT_FALSE(loader.IsLibraryLoaded(liAVFilter));
  EXPECT_FALSE(loader.LibrarySetLoaded(EngineLibraries));
}

TEST_F(FFmpegLoaderTest, DeviceLibraryLoadsAndRegisters) {
  EXPECT_TRUE(loader.LoadLibraryItem(liAVDevice)) << loader.GetLastLoadError();
  EXPECT_TRUE(loader.IsLibraryLoaded(liAVDevice));
}

TEST_F(FFmpegLoaderTest, MissingEntryPointFailsTheWholeSet) {
  loader.SetLibraryPath(
      FolderWithSwScale(fs::temp_directory_path() / "trovenix-missing-entry", SWSCALE_STUB_INCOMPLETE));
  EXPECT_FALSE(loader.LoadLibrarySet(EngineLibraries));
  const std::string expected = "Load function sws_scale@" + loader.LibraryFileName(liSwScale) + " error: ";
  EXPECT_EQ(loader.GetLastLoadError().rfind(expected, 0), 0u) << loader.GetLastLoadError();
  EXPECT_GT(loader.GetLastLoadError().size(), expected.size()) << "the system's reason follows";
  for (int i = 0; i < LibraryCount; ++i) {
    EXPECT_FALSE(loader.IsLibraryLoaded(static_cast<TLibraryIndex>(i))) << i;
    EXPECT_EQ(loader.LibraryHandle(static_cast<TLibraryIndex>(i)), nullptr) << i;
  }
  EXPECT_EQ(ff::avcodec_find_decoder, nullptr);
}

TEST_F(FFmpegLoaderTest, UnloadableFileNamesFolderAndFile) {
  const fs::path dir = fs::temp_directory_path() / "trovenix-bad-library";
  folder = dir;
  fs::remove_all(dir);
  fs::create_directories(dir);
  test::RunCommand("echo 'not a library' > " +
                   test::ShellQuote((dir / loader.LibraryFileName(liSwScale)).string()));
  loader.SetLibraryPath(dir.string());
  EXPECT_FALSE(loader.LoadLibrarySet(PlayerLibraries));
  const std::string expected =
      "Load library " + dir.string() + "/" + loader.LibraryFileName(liSwScale) + " error: ";
  EXPECT_EQ(loader.GetLastLoadError().rfind(expected, 0), 0u) << loader.GetLastLoadError();
  EXPECT_FALSE(loader.IsLibraryLoaded(liAVCodec));
}

TEST_F(FFmpegLoaderTest, CommonFilesBesideTheProgramComeFirst) {
  const std::string common = DefaultLibraryPath();
  ASSERT_EQ(fs::path(common).filename(), "Common Files");
  ASSERT_EQ(fs::path(common).parent_path(), fs::read_symlink("/proc/self/exe").parent_path());
  loader.SetLibraryPath(FolderWithSwScale(common, SWSCALE_STUB_COMPLETE));
  ASSERT_TRUE(loader.LoadLibraryItem(liSwScale)) << loader.GetLastLoadError();
  EXPECT_EQ(fs::path(FileOf(reinterpret_cast<const void*>(ff::sws_scale))).parent_path(),
            fs::path(common));

  // Without the file in the folder the system's library is taken.
  loader.UnloadLibraryItem(liSwScale);
  fs::remove_all(folder);
  ASSERT_TRUE(loader.LoadLibraryItem(liSwScale)) << loader.GetLastLoadError();
  EXPECT_NE(fs::path(FileOf(reinterpret_cast<const void*>(ff::sws_scale))).parent_path(),
            fs::path(common));
}

TEST_F(FFmpegLoaderTest, EmptySetIsAnAssertionFailure) {
  for (auto call : {+[] { FFLoader().LoadLibrarySet({}); }, +[] { FFLoader().UnloadLibrarySet({}); },
                    +[] { FFLoader().LibrarySetLoaded({}); }}) {
    try {
      call();
      ADD_FAILURE() << "no exception";
    } catch (const std::invalid_argument& e) {
      EXPECT_STREQ(e.what(), "Assertion failure");
    }
  }
}

TEST_F(FFmpegLoaderTest, ProgramRunsWithFloatingPointExceptionsMasked) {
  EXPECT_EQ(std::fegetround(), FE_TONEAREST);
  EXPECT_EQ(fegetexcept(), 0);
}

}  // namespace
}  // namespace trovenix
