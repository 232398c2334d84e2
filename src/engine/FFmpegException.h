// Exceptions of the conversion engine.
#pragma once

#include <stdexcept>
#include <string>

namespace trovenix {

// Every failure inside the engine; the component turns it into a result and
// an event at its boundary.
class FFmpegException : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// An option value that should be a number and is not, e.g.
// "\"abc\" is not a valid integer value".
class EConvertError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A broken precondition of a caller, such as a codec tag that is not four
// characters long.
class EAssertionFailed : public std::logic_error {
 public:
  using std::logic_error::logic_error;
};

}  // namespace trovenix
