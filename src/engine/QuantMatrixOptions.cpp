// Custom quantizer matrices: 64 comma-separated coefficients.
#include <cctype>
#include <cstdint>
#include <cstring>
#include <optional>

#include "engine/FFmpeg.h"

namespace trovenix {
namespace {

// The integer at the start of an item, read like atoi: leading white space
// skipped, reading stops at the first character that is not a digit, and a
// missing number is 0. Large values are held at the int range.
std::int64_t LeadingInteger(const char* text) {
  while (std::isspace(static_cast<unsigned char>(*text))) ++text;
  const bool negative = *text == '-';
  if (*text == '-' || *text == '+') ++text;
  std::int64_t value = 0;
  for (; std::isdigit(static_cast<unsigned char>(*text)); ++text)
    if (value <= INT32_MAX) value = value * 10 + (*text - '0');
  return negative ? -value : value;
}

// A text with fewer than 64 items leaves the current matrix as it was.
void ParseMatrix(const std::string& text, std::optional<TQuantMatrix>& matrix) {
  TQuantMatrix parsed{};
  const char* item = text.c_str();
  for (int i = 0; i < 64; ++i) {
    parsed[i] = static_cast<std::uint16_t>(LeadingInteger(item));
    const char* comma = std::strchr(item, ',');
    if (i == 63) break;
    if (!comma)
      throw FFmpegException("Syntax error in matrix \"" + text + "\" at coeff " +
                            std::to_string(i));
    item = comma + 1;
  }
  matrix = parsed;
}

}  // namespace

void TCustomFFmpeg::SetIntraMatrix(const std::string& text) {
  ParseMatrix(text, IntraMatrix);
}

void TCustomFFmpeg::SetInterMatrix(const std::string& text) {
  ParseMatrix(text, InterMatrix);
}

}  // namespace trovenix
