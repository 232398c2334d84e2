// What the skin chooser needs of the skinning: the list of skins, the current
// one and a way to change it. TSkinManager is the program's; tests may bring
// their own.
#pragma once

#include <string>
#include <vector>

namespace trovenix {

class ISkinSwitch {
 public:
  virtual ~ISkinSwitch() = default;
  // Every available skin, sorted alphabetically.
  virtual std::vector<std::string> SkinNames() const = 0;
  // The skin in effect (empty before any was set).
  virtual std::string Skin() const = 0;
  // Applies a skin; false if it is unknown or could not be read.
  virtual bool SetSkin(const std::string& name) = 0;
};

}  // namespace trovenix
