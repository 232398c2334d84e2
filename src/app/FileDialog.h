// The open-file dialog of the add step, behind an interface so that tests
// answer it.
#pragma once

#include <string>
#include <vector>

namespace trovenix {

class IFileDialog {
 public:
  virtual ~IFileDialog() = default;
  // Shows the dialog; the chosen files in the order it returns them, none
  // when the user cancelled.
  virtual std::vector<std::string> ChooseFiles() = 0;
};

}  // namespace trovenix
