#include "engine/OptionValues.h"

#include <gtest/gtest.h>

#include <clocale>

#include "engine/FFmpegException.h"

namespace trovenix {
namespace {

TEST(OptionValues, Integers) {
  const struct {
    std::string text;
    std::int64_t value;
  } good[] = {{"12", 12}, {" 12 ", 12}, {"+5", 5}, {"-5", -5}, {"0", 0}};
  for (const auto& c : good) {
    EXPECT_EQ(ParseIntValue(c.text), c.value) << c.text;
    EXPECT_EQ(ParseInt64Value(c.text), c.value) << c.text;
  }
  EXPECT_EQ(ParseInt64Value("5000000000"), 5000000000LL);
  for (const std::string bad : {"abc", "", " ", "12abc", "1.5", "+-1", "5000000000"}) {
    try {
      ParseIntValue(bad);
      ADD_FAILURE() << "accepted " << bad;
    } catch (const EConvertError& e) {
      EXPECT_EQ(std::string(e.what()), "\"" + bad + "\" is not a valid integer value");
    }
  }
}

TEST(OptionValues, RealsUseAFullStopWhateverTheLocale) {
  EXPECT_DOUBLE_EQ(ParseRealValue("1.5"), 1.5);
  EXPECT_DOUBLE_EQ(ParseRealValue("-0.25"), -0.25);
  EXPECT_DOUBLE_EQ(ParseRealValue("10"), 10.0);
  EXPECT_THROW(ParseRealValue("1,5"), EConvertError);
  EXPECT_THROW(ParseRealValue("x"), EConvertError);
  for (const char* locale : {"de_DE.UTF-8", "fr_FR.UTF-8", "C.UTF-8"}) {
    if (!std::setlocale(LC_ALL, locale)) continue;
    EXPECT_DOUBLE_EQ(ParseRealValue("1.5"), 1.5) << locale;
  }
  std::setlocale(LC_ALL, "C");
}

}  // namespace
}  // namespace trovenix
