// The message boxes the window shows, behind an interface so that tests
// answer them.
#pragma once

#include <QString>

namespace trovenix {

class IMessageBoxes {
 public:
  virtual ~IMessageBoxes() = default;
  // An information box titled "Information" with an OK button.
  virtual void Information(const QString& text) = 0;
  // A question titled "Confirmation" with Yes and No; true for Yes.
  virtual bool Confirmation(const QString& text) = 0;
};

}  // namespace trovenix
