// The program's skinning: each skin is a Qt style sheet applied to the whole
// application. The ten built-in sheets are compiled in as resources; *.qss
// files in the skins folder join them (see TSkinCatalogue for the names).
//
// Skins change colours, borders and glyphs only, never sizes that the fixed
// layouts depend on. The black preview panel keeps its black in every skin
// when it carries the dynamic property "trovenixPreview" set to true.
#pragma once

#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "app/SkinCatalogue.h"
#include "app/SkinSwitch.h"

namespace trovenix {

class TSkinManager final : public ISkinSwitch {
 public:
  void SetSkinFolder(const std::string& folder) { catalogue_.SetFolder(folder); }
  const std::string& SkinFolder() const { return catalogue_.Folder(); }

  std::vector<std::string> SkinNames() const override { return catalogue_.Names(); }
  std::string Skin() const override { return current_; }

  // Applies the named skin to the application (a plain built-in name such as
  // "Elegance" means "Elegance (internal)"); Skin() then gives the full name.
  // A skin that is unknown or whose sheet cannot be read gives the default
  // skin "Elegance (internal)" instead, and false.
  bool SetSkin(const std::string& name) override;

  // The style sheet of a skin; empty when it is unknown or cannot be read.
  QString StyleSheet(const std::string& name) const;

 private:
  static std::optional<QString> ReadSheet(const TSkinEntry& entry);
  void Apply(const TSkinEntry& entry, const QString& sheet);

  TSkinCatalogue catalogue_;
  std::string current_;
};

}  // namespace trovenix
