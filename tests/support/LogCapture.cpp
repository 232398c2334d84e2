#include "support/LogCapture.h"

#include <cstdarg>
#include <cstdio>

#include "media/AVUtilStubs.h"

namespace trovenix::test {
namespace {

std::mutex Lock;
std::vector<LogCapture::Line> Captured;

void Collect(void*, int level, const char* format, va_list args) {
  char text[1024];
  std::vsnprintf(text, sizeof text, format, args);
  std::lock_guard<std::mutex> guard(Lock);
  Captured.push_back({level, text});
}

}  // namespace

LogCapture::LogCapture() {
  std::lock_guard<std::mutex> guard(Lock);
  Captured.clear();
  ff::av_log_set_callback(Collect);
}

LogCapture::~LogCapture() { ff::av_log_set_callback(ff::av_log_default_callback); }

std::vector<LogCapture::Line> LogCapture::Lines() const {
  std::lock_guard<std::mutex> guard(Lock);
  return Captured;
}

bool LogCapture::Contains(int level, const std::string& text) const {
  for (const Line& line : Lines())
    if (line.Level == level && line.Text == text) return true;
  return false;
}

}  // namespace trovenix::test
