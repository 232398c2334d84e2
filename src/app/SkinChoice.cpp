#include "app/SkinChoice.h"

namespace trovenix {

const std::vector<std::string>& TSkinChoice::DisplayNames() {
  static const std::vector<std::string> names = {
      "Acrylic", "Dark Glass",       "Elegant Blue", "Golden", "Grey",
      "Mac OS2", "Office 2007 Blue", "Opus",         "Sport",  "Vista"};
  return names;
}

void TSkinChoice::Opened() {
  opened_ = skins_.Skin();
  hidden_ = skins_.SkinNames();
}

void TSkinChoice::Clicked(int position) {
  if (position < 0 || position >= static_cast<int>(hidden_.size())) return;
  skins_.SetSkin(hidden_[static_cast<std::size_t>(position)]);
}

void TSkinChoice::Cancelled() {
  skins_.SetSkin(opened_);
}

}  // namespace trovenix
