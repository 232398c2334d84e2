// Collects what the media library's log receives while it lives.
#pragma once

#include <mutex>
#include <string>
#include <vector>

namespace trovenix::test {

class LogCapture {
 public:
  LogCapture();   // installs the callback; the libraries must be loaded
  ~LogCapture();  // restores the library's default callback
  LogCapture(const LogCapture&) = delete;
  LogCapture& operator=(const LogCapture&) = delete;

  struct Line {
    int Level;
    std::string Text;
  };
  std::vector<Line> Lines() const;
  bool Contains(int level, const std::string& text) const;
};

}  // namespace trovenix::test
