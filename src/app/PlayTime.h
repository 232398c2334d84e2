// The elapsed / total time under the preview panel, as "0:12 / 1:05".
#pragma once

#include <cstdint>
#include <string>

namespace trovenix {

// "m:ss", or "h:mm:ss" from an hour on; negative times count as 0.
std::string FormatPlayTime(std::int64_t us);
// "elapsed / total"; an unknown total (<= 0) shows as "--:--".
std::string FormatPlayTimes(std::int64_t positionUs, std::int64_t durationUs);

}  // namespace trovenix
