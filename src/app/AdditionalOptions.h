// The two choices of the Additional Options dialog.
#pragma once

namespace trovenix {

constexpr int DropDownItemsMin = 20;
constexpr int DropDownItemsMax = 60;
constexpr int DropDownItemsDefault = 24;

struct TAdditionalOptions {
  // An existing output file of the same name is written over instead of a
  // new name being chosen.
  bool Overwrite = false;
  // How many entries the output-format list shows when dropped down.
  int DropDownItems = DropDownItemsDefault;

  // The number box: the value is clamped to 20..60. True when the kept value
  // differs from the one before (the box's change handler then runs).
  bool SetDropDownItems(int value);
};

}  // namespace trovenix
