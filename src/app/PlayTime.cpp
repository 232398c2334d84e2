#include "app/PlayTime.h"

#include <cstdio>

namespace trovenix {

std::string FormatPlayTime(std::int64_t us) {
  const std::int64_t seconds = us > 0 ? us / 1000000 : 0;
  const long long h = seconds / 3600, m = seconds / 60 % 60, s = seconds % 60;
  char text[32];
  if (h > 0)
    std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", h, m, s);
  else
    std::snprintf(text, sizeof text, "%lld:%02lld", m, s);
  return text;
}

std::string FormatPlayTimes(std::int64_t positionUs, std::int64_t durationUs) {
  return FormatPlayTime(positionUs) + " / " +
         (durationUs > 0 ? FormatPlayTime(durationUs) : std::string("--:--"));
}

}  // namespace trovenix
