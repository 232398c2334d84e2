// The one form of trovenix-convert's complaints about its arguments.
#pragma once

#include <ostream>
#include <string>

namespace trovenix::cli {

// Exit status of a command whose arguments were refused.
inline constexpr int UsageErrorStatus = 2;

// Writes "trovenix-convert: TEXT" and the hint to --help on err; returns
// UsageErrorStatus.
int UsageError(std::ostream& err, const std::string& text);

}  // namespace trovenix::cli
