#include "player/FrameHook.h"

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "support/Fixtures.h"
#include "support/LogCapture.h"

namespace trovenix {
namespace {

namespace fs = std::filesystem;

const std::string Complete = FRAME_HOOK_COMPLETE;
const std::string WithoutConfigure = FRAME_HOOK_WITHOUT_CONFIGURE;
const std::string WithoutProcess = FRAME_HOOK_WITHOUT_PROCESS;

// Address of a trace the test hook exports. The library must already be
// loaded; the extra reference taken here is given back at once.
template <typename T>
T* HookSymbol(const std::string& library, const char* name) {
  void* handle = ::dlopen(library.c_str(), RTLD_NOW | RTLD_NOLOAD);
  if (!handle) return nullptr;
  T* symbol = static_cast<T*>(::dlsym(handle, name));
  ::dlclose(handle);
  return symbol;
}

std::string Text(const std::string& library, const char* name) {
  const char* text = HookSymbol<char>(library, name);
  return text ? text : "<missing>";
}

int Number(const std::string& library, const char* name) {
  const int* number = HookSymbol<int>(library, name);
  return number ? *number : -1;
}

void ResetTraces(const std::string& library) {
  if (char* trace = HookSymbol<char>(library, "HookReleaseTrace")) trace[0] = '\0';
  if (char* cwd = HookSymbol<char>(library, "HookConfigureCwd")) cwd[0] = '\0';
}

// A text buffer the test hook appends its tags to.
struct TTagPicture {
  char Text[32] = {};
  TPicture Picture;
  TTagPicture() {
    Picture.data[0] = reinterpret_cast<std::uint8_t*>(Text);
    Picture.linesize[0] = sizeof Text;
  }
};

class TTempFolder {
 public:
  TTempFolder()
      : path_(fs::temp_directory_path() /
              ("trovenix-hook-" + std::to_string(::getpid()) + "-" + std::to_string(next_++))) {
    fs::create_directories(path_);
  }
  ~TTempFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  const fs::path& Path() const { return path_; }

 private:
  static inline int next_ = 0;
  fs::path path_;
};

class TCurrentFolderBack {
 public:
  TCurrentFolderBack() : saved_(fs::current_path()) {}
  ~TCurrentFolderBack() { fs::current_path(saved_); }

 private:
  fs::path saved_;
};

class FrameHookTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::LoadLibrariesOrFail();
    Log.emplace();
  }
  std::optional<test::LogCapture> Log;
};

TEST_F(FrameHookTest, AddWithoutArgumentsFails) {
  TFrameHookList hooks;
  EXPECT_EQ(hooks.Add({}), -2);
  EXPECT_TRUE(hooks.Empty());
}

TEST_F(FrameHookTest, SameLibraryTwiceIsLoadedOnceAndConfiguredTwice) {
  // A private copy, so that unloading it at the end touches no other test.
  TTempFolder folder;
  const std::string copy = (folder.Path() / "libcopiedhook.so").string();
  fs::copy_file(Complete, copy);

  TFrameHookList hooks;
  ASSERT_EQ(hooks.Add({copy, "a"}), 0);
  ASSERT_EQ(hooks.Add({copy, "b", "extra"}), 0);
  EXPECT_EQ(hooks.Count(), 2u);
  EXPECT_EQ(Number(copy, "HookLoadCount"), 1);
  EXPECT_EQ(Number(copy, "HookLastArgc"), 3);
  EXPECT_EQ(Number(copy, "HookArgvTerminated"), 1);
  EXPECT_EQ(Text(copy, "HookLastArgv0"), copy);

  TTagPicture picture;
  hooks.Process(picture.Picture, 0, 2, 2, 0);
  EXPECT_STREQ(picture.Text, "ab");  // each entry kept the context it configured
  hooks.Release();
  EXPECT_EQ(Text(copy, "HookReleaseTrace"), "ab");

  // The loader holds exactly one reference: dropping it together with the one
  // taken here unloads the library.
  void* handle = ::dlopen(copy.c_str(), RTLD_NOW | RTLD_NOLOAD);
  ASSERT_NE(handle, nullptr);
  ::dlclose(handle);
  ::dlclose(handle);
  handle = ::dlopen(copy.c_str(), RTLD_NOW | RTLD_NOLOAD);
  EXPECT_EQ(handle, nullptr) << "the library was loaded more than once";
  if (handle) ::dlclose(handle);
}

TEST_F(FrameHookTest, ProcessAndReleaseReachEveryEntryInOrder) {
  TFrameHookList hooks;
  ASSERT_EQ(hooks.Add({Complete, "x"}), 0);
  ASSERT_EQ(hooks.Add({WithoutConfigure}), 0);  // only the file name: no Configure needed
  ASSERT_EQ(hooks.Add({Complete, "y"}), 0);
  ResetTraces(Complete);
  ResetTraces(WithoutConfigure);

  TTagPicture picture;
  hooks.Process(picture.Picture, 3, 640, 480, 1234567);
  EXPECT_STREQ(picture.Text, "x0y");
  EXPECT_EQ(Number(Complete, "HookLastFormat"), 3);
  EXPECT_EQ(Number(Complete, "HookLastWidth"), 640);
  EXPECT_EQ(Number(Complete, "HookLastHeight"), 480);
  EXPECT_EQ(*HookSymbol<std::int64_t>(Complete, "HookLastPts"), 1234567);
  EXPECT_EQ(*HookSymbol<void*>(WithoutConfigure, "HookLastContext"), nullptr);

  hooks.Release();
  EXPECT_TRUE(hooks.Empty());
  EXPECT_EQ(Text(Complete, "HookReleaseTrace"), "xy");
  EXPECT_EQ(Text(WithoutConfigure, "HookReleaseTrace"), "0");

  hooks.Process(picture.Picture, 3, 640, 480, 0);
  EXPECT_STREQ(picture.Text, "x0y");
}

TEST_F(FrameHookTest, FailedAddsReturnTheirCodeAndLogTheirText) {
  const std::string missing = "/nonexistent-trovenix-folder/libnohook.so";
  ASSERT_EQ(::dlopen(missing.c_str(), RTLD_NOW), nullptr);
  const std::string missingText = std::string(::dlerror()) + "\n";

  struct Case {
    std::vector<std::string> Args;
    int Code;
    std::string Line;
  };
  const Case cases[] = {
      {{missing}, -1, missingText},
      {{WithoutConfigure, "x"},
       -2,
       "Failed to find Configure entrypoint in " + WithoutConfigure + "\n"},
      {{WithoutProcess}, -2, "Failed to find Process entrypoint in " + WithoutProcess + "\n"},
      {{Complete, "fail"}, -22, "Failed to Configure " + Complete + "\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Line);
    TFrameHookList hooks;
    EXPECT_EQ(hooks.Add(c.Args), c.Code);
    EXPECT_TRUE(hooks.Empty());
    EXPECT_TRUE(Log->Contains(0, c.Line));
  }
}

TEST_F(FrameHookTest, LibraryFolderIsCurrentDuringAddAndRestoredAfter) {
  const fs::path before = fs::current_path();
  const std::string hookFolder = fs::canonical(fs::path(Complete).parent_path()).string();
  TFrameHookList hooks;

  ASSERT_EQ(hooks.Add({Complete, "c"}), 0);
  EXPECT_EQ(Text(Complete, "HookConfigureCwd"), hookFolder);
  EXPECT_EQ(fs::current_path(), before);

  EXPECT_EQ(hooks.Add({Complete, "fail"}), -22);
  EXPECT_EQ(fs::current_path(), before);

  TTempFolder empty;
  EXPECT_EQ(hooks.Add({(empty.Path() / "libmissing.so").string()}), -1);
  EXPECT_EQ(fs::current_path(), before);
}

TEST_F(FrameHookTest, RelativeNameWithFolderIsFoundFromTheCallersFolder) {
  const fs::path library = fs::canonical(Complete);
  const fs::path relative = library.parent_path().filename() / library.filename();
  TCurrentFolderBack back;
  fs::current_path(library.parent_path().parent_path());

  TFrameHookList hooks;
  ASSERT_EQ(hooks.Add({relative.string(), "r"}), 0);
  EXPECT_EQ(Text(Complete, "HookConfigureCwd"), library.parent_path().string());
  EXPECT_EQ(fs::current_path(), library.parent_path().parent_path());
}

TEST_F(FrameHookTest, ListsOnSeveralThreadsAddAtOnce) {
  const fs::path before = fs::current_path();
  constexpr int Threads = 8;
  std::vector<TFrameHookList> lists(Threads);
  std::vector<int> results(Threads, 1);
  {
    std::vector<std::jthread> workers;
    for (int i = 0; i < Threads; ++i)
      workers.emplace_back([&, i] {
        const std::string tag(1, static_cast<char>('a' + i));
        results[i] = lists[i].Add({WithoutConfigure}) | lists[i].Add({Complete, tag});
      });
  }
  for (int i = 0; i < Threads; ++i) {
    EXPECT_EQ(results[i], 0);
    TTagPicture picture;
    lists[i].Process(picture.Picture, 0, 1, 1, 0);
    // Not "0" + std::string(...): GCC 12 at -O3 warns about it (-Wrestrict).
    std::string expected = "0";
    expected += static_cast<char>('a' + i);
    EXPECT_EQ(picture.Text, expected);
  }
  EXPECT_EQ(fs::current_path(), before);
}

}  // namespace
}  // namespace trovenix
