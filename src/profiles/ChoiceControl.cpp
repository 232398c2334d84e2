#include "profiles/ChoiceControl.h"

#include <algorithm>
#include <utility>

namespace trovenix {

std::string TChoiceControl::Text() const {
  if (ItemIndex < 0 || ItemIndex >= static_cast<int>(Items.size())) return {};
  return Items[static_cast<std::size_t>(ItemIndex)];
}

void TChoiceControl::Clear() {
  Items.clear();
  ItemIndex = -1;
}

void TChoiceControl::SelectIndex(int n) {
  ItemIndex = n >= 0 && n < static_cast<int>(Items.size()) ? n : -1;
}

void TChoiceControl::SelectItem(const std::string& text) {
  ItemIndex = IndexOf(text);
}

void TChoiceControl::Replace(std::vector<std::string> items, const std::string& selected) {
  Items = std::move(items);
  ItemIndex = selected.empty() ? -1 : IndexOf(selected);
}

int TChoiceControl::IndexOf(const std::string& text) const {
  const auto it = std::find(Items.begin(), Items.end(), text);
  return it == Items.end() ? -1 : static_cast<int>(it - Items.begin());
}

}  // namespace trovenix
