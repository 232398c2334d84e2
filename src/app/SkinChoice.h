// The skin chooser's behaviour without its window. The chooser lists fixed
// display names; a click applies the skin standing at the same position in
// the sorted list of all available skins, taken when the chooser opened.
// Skin files in the skins folder therefore shift which skin a display name
// applies, as they always have.
#pragma once

#include <string>
#include <vector>

#include "app/SkinSwitch.h"

namespace trovenix {

class TSkinChoice {
 public:
  explicit TSkinChoice(ISkinSwitch& skins) : skins_(skins) {}

  // The names the chooser shows, in their order.
  static const std::vector<std::string>& DisplayNames();

  // The chooser is shown: remembers the skin in effect and the sorted list.
  void Opened();
  // A display name at this position was clicked (-1: none selected).
  void Clicked(int position);
  // OK keeps the skin in effect; Cancel brings back the remembered one.
  void Accepted() {}
  void Cancelled();

  const std::vector<std::string>& HiddenList() const { return hidden_; }
  const std::string& SkinWhenOpened() const { return opened_; }

 private:
  ISkinSwitch& skins_;
  std::vector<std::string> hidden_;
  std::string opened_;
};

}  // namespace trovenix
