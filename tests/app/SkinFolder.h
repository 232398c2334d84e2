// A "Skins" folder of its own for one test, removed afterwards.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

namespace trovenix::test {

class TSkinFolder {
 public:
  TSkinFolder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "trovenix-skins-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data());
  }
  ~TSkinFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TSkinFolder(const TSkinFolder&) = delete;
  TSkinFolder& operator=(const TSkinFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  std::string Folder() const { return path_.string(); }
  void Write(const std::string& name, const std::string& text) const {
    std::ofstream(path_ / name, std::ios::binary) << text;
  }

 private:
  std::filesystem::path path_;
};

}  // namespace trovenix::test
