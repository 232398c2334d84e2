// The message boxes of the batch: tests answer them, the window shows them,
// the command line prints them.
#pragma once

#include <string>

namespace trovenix {

class IMessageBoxes {
 public:
  virtual ~IMessageBoxes() = default;
  // An information box (title "Information", OK button).
  virtual void Information(const std::string& text) = 0;
  // A question titled "Confirmation" with Yes and No buttons; true for Yes.
  virtual bool Confirm(const std::string& text) = 0;
};

}  // namespace trovenix
