#include "app/SkinCatalogue.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace trovenix {
namespace {

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

// Alphabetical as a user reads it; names differing only in case still get a
// fixed order.
bool NameBefore(const TSkinEntry& a, const TSkinEntry& b) {
  const std::string la = Lower(a.Name), lb = Lower(b.Name);
  return la != lb ? la < lb : a.Name < b.Name;
}

bool Readable(const std::filesystem::path& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return false;
  std::ifstream file(path, std::ios::binary);
  return file.good();
}

}  // namespace

const std::vector<TSkinEntry>& TSkinCatalogue::InternalSkins() {
  static const std::vector<TSkinEntry> skins = {
      {"Acryl (internal)", true, "acryl"},
      {"DarkGlass (internal)", true, "darkglass"},
      {"Elegance (internal)", true, "elegance"},
      {"Golden (internal)", true, "golden"},
      {"Grey (internal)", true, "grey"},
      {"MacOS2 (internal)", true, "macos2"},
      {"Office2007 Blue (internal)", true, "office2007blue"},
      {"Opus (internal)", true, "opus"},
      {"Sporting (internal)", true, "sporting"},
      {"Vista (internal)", true, "vista"},
  };
  return skins;
}

std::vector<TSkinEntry> TSkinCatalogue::Entries() const {
  std::vector<TSkinEntry> entries = InternalSkins();
  if (!folder_.empty()) {
    std::error_code error;
    std::vector<TSkinEntry> files;
    // A missing or unreadable folder simply adds nothing.
    for (std::filesystem::directory_iterator it(folder_, error), end; !error && it != end;
         it.increment(error)) {
      const std::filesystem::path& path = it->path();
      if (Lower(path.extension().string()) != ".qss") continue;
      const std::string name = path.stem().string();
      if (name.empty() || !Readable(path)) continue;
      const auto sameName = [&](const TSkinEntry& e) { return e.Name == name; };
      if (std::none_of(entries.begin(), entries.end(), sameName) &&
          std::none_of(files.begin(), files.end(), sameName))
        files.push_back({name, false, path.string()});
    }
    entries.insert(entries.end(), files.begin(), files.end());
  }
  std::sort(entries.begin(), entries.end(), NameBefore);
  return entries;
}

std::vector<std::string> TSkinCatalogue::Names() const {
  std::vector<std::string> names;
  for (const TSkinEntry& entry : Entries()) names.push_back(entry.Name);
  return names;
}

std::optional<TSkinEntry> TSkinCatalogue::Find(const std::string& name) const {
  const std::vector<TSkinEntry> entries = Entries();
  for (const TSkinEntry& entry : entries)
    if (entry.Name == name) return entry;
  const std::string internalName = name + InternalSuffix;
  for (const TSkinEntry& entry : entries)
    if (entry.Internal && entry.Name == internalName) return entry;
  return std::nullopt;
}

}  // namespace trovenix
