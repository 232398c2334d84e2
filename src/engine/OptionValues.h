// Numbers in option values. Reals always use a full stop as the decimal
// separator, whatever the user's locale.
#pragma once

#include <cstdint>
#include <string>

namespace trovenix {

// Throw EConvertError, e.g. "\"abc\" is not a valid integer value".
int ParseIntValue(const std::string& text);
std::int64_t ParseInt64Value(const std::string& text);
double ParseRealValue(const std::string& text);

// Spaces removed at both ends.
std::string TrimSpaces(const std::string& text);

}  // namespace trovenix
