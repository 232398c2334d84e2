// The folder picker of the output folder, behind an interface so that tests
// answer it.
#pragma once

#include <optional>
#include <string>

namespace trovenix {

class IFolderPicker {
 public:
  virtual ~IFolderPicker() = default;
  // Folders only, with the headline, opening at start; the chosen folder, or
  // nullopt when the user cancelled.
  virtual std::optional<std::string> ChooseFolder(const std::string& headline,
                                                  const std::string& start) = 0;
};

}  // namespace trovenix
