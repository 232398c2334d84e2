#include "app/AdditionalOptions.h"

#include <algorithm>

namespace trovenix {

bool TAdditionalOptions::SetDropDownItems(int value) {
  const int clamped = std::clamp(value, DropDownItemsMin, DropDownItemsMax);
  const bool changed = clamped != DropDownItems;
  DropDownItems = clamped;
  return changed;
}

}  // namespace trovenix
