// Messages of option combinations that a video filter chain rules out.
#pragma once

namespace trovenix {

inline constexpr const char* CropWithFiltersText =
    "Cannot enable crop options and filters at the same time.";
inline constexpr const char* PadWithResizingFiltersText =
    "Cannot enable pad options and the filters which resize frame at the same time. "
    "(crop, rotate, scale, transpose, etc.)";

}  // namespace trovenix
