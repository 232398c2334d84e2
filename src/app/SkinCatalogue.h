// The skins the program knows: the ten built into it and the style-sheet
// files (*.qss) found in the skins folder. Names only; reading and applying a
// sheet is TSkinManager's. No Qt here, so the naming rules are tested alone.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace trovenix {

struct TSkinEntry {
  std::string Name;  // as listed and stored: "Elegance (internal)", "MyOwn"
  bool Internal = false;
  std::string Source;  // the resource base name of a built-in skin, the path of a file
};

class TSkinCatalogue {
 public:
  // The skin used when a requested one is unknown or unreadable.
  static constexpr const char* DefaultSkin = "Elegance (internal)";
  static constexpr const char* InternalSuffix = " (internal)";

  // The built-in skins, in alphabetical order.
  static const std::vector<TSkinEntry>& InternalSkins();

  void SetFolder(std::string folder) { folder_ = std::move(folder); }
  const std::string& Folder() const { return folder_; }

  // Every available skin, sorted by name without regard to case: the
  // built-in ones and each readable *.qss file of the folder (named after the
  // file without its extension). The folder is read again on every call, so
  // files added meanwhile show up. A file that cannot be opened, or whose name
  // is already taken by a built-in skin, is left out without a message.
  std::vector<TSkinEntry> Entries() const;
  std::vector<std::string> Names() const;

  // The skin of that exact name; failing that, the built-in skin of that
  // plain name, so that "Elegance" (the name the settings store holds by
  // default) means "Elegance (internal)" unless a file "Elegance.qss" exists.
  std::optional<TSkinEntry> Find(const std::string& name) const;

 private:
  std::string folder_;
};

}  // namespace trovenix
