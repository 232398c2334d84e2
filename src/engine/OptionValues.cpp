#include "engine/OptionValues.h"

#include <charconv>
#include <limits>

#include "engine/FFmpegException.h"

namespace trovenix {
namespace {

// The number must fill the whole text (spaces around it aside); a leading
// plus sign is accepted.
template <class Number>
bool ParseWhole(const std::string& text, Number& value) {
  const std::string trimmed = TrimSpaces(text);
  const char* first = trimmed.data();
  const char* last = first + trimmed.size();
  const bool plus = first != last && *first == '+';
  if (plus) ++first;
  if (first == last || (plus && *first == '-')) return false;
  const auto [end, error] = std::from_chars(first, last, value);
  return error == std::errc() && end == last;
}

// Both integer widths reject a value with the same text.
EConvertError NotAnInteger(const std::string& text) {
  return EConvertError("\"" + text + "\" is not a valid integer value");
}

}  // namespace

std::string TrimSpaces(const std::string& text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

int ParseIntValue(const std::string& text) {
  int value = 0;
  if (!ParseWhole(text, value)) throw NotAnInteger(text);
  return value;
}

std::int64_t ParseInt64Value(const std::string& text) {
  std::int64_t value = 0;
  if (!ParseWhole(text, value)) throw NotAnInteger(text);
  return value;
}

double ParseRealValue(const std::string& text) {
  double value = 0;
  if (!ParseWhole(text, value))
    throw EConvertError("\"" + text + "\" is not a valid floating point value");
  return value;
}

}  // namespace trovenix
