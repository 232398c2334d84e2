#include "app/DroppedFiles.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <sstream>
#include <system_error>

#include "app/OpenDialogFilter.h"
#include "engine/OptionValues.h"

namespace trovenix {
namespace {

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

}  // namespace

const std::vector<std::string>& SupportedExtensions() {
  static const std::vector<std::string> extensions = [] {
    // The first entry's patterns: "*.avi;*.mpeg;..." after the first "|".
    const std::string& filter = OpenDialogFilterText();
    const std::size_t start = filter.find('|') + 1;
    const std::string patterns = filter.substr(start, filter.find('|', start) - start);
    std::vector<std::string> found;
    std::stringstream list(patterns);
    for (std::string pattern; std::getline(list, pattern, ';');) {
      pattern = TrimSpaces(pattern);
      if (pattern.size() > 1 && pattern[0] == '*') found.push_back(Lower(pattern.substr(1)));
    }
    return found;
  }();
  return extensions;
}

std::vector<std::string> MediaFilesInFolder(const std::string& folder,
                                            const std::vector<std::string>& extensions) {
  namespace fs = std::filesystem;
  std::vector<std::string> files;
  std::error_code ec;
  fs::recursive_directory_iterator it(folder, fs::directory_options::skip_permission_denied, ec);
  for (const fs::recursive_directory_iterator end; !ec && it != end; it.increment(ec)) {
    std::error_code typeError;
    if (!it->is_regular_file(typeError)) continue;
    const std::string extension = Lower(it->path().extension().string());
    if (std::find(extensions.begin(), extensions.end(), extension) != extensions.end())
      files.push_back(it->path().string());
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::vector<std::string> ExpandDroppedPaths(const std::vector<std::string>& paths) {
  std::vector<std::string> files;
  for (const std::string& path : paths) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
      for (std::string& file : MediaFilesInFolder(path, SupportedExtensions()))
        files.push_back(std::move(file));
    } else {
      files.push_back(path);
    }
  }
  return files;
}

}  // namespace trovenix
