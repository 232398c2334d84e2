// A drop-down list that accepts no typed text, as the window shows it: its
// items, the selected item (or none) and whether the user can change it. The
// window binds its combo boxes to these; everything else reads them here.
#pragma once

#include <string>
#include <vector>

namespace trovenix {

struct TChoiceControl {
  std::vector<std::string> Items;
  int ItemIndex = -1;  // -1: nothing selected, the text is empty
  bool Enabled = true;

  // The selected item, or the empty text when nothing is selected.
  std::string Text() const;

  // Removes every item; nothing is selected afterwards.
  void Clear();

  // Selects position n; a position outside the list selects nothing.
  void SelectIndex(int n);

  // Selects the first item equal to text; nothing when no item is.
  void SelectItem(const std::string& text);

  // Replaces the items and selects the first item equal to selected (nothing
  // when selected is empty or not among the items).
  void Replace(std::vector<std::string> items, const std::string& selected);

  // Position of the first item equal to text, or -1.
  int IndexOf(const std::string& text) const;
};

// The output-format list also knows how many items it shows when dropped down.
struct TFormatListControl : TChoiceControl {
  int DropDownCount = 8;
};

}  // namespace trovenix
