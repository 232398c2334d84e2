// Checks that a handler call fails with an exact message.
#pragma once

#include <gtest/gtest.h>

#include <string>

namespace trovenix::test {

// Runs call and reports a failure unless it throws Exception with text.
template <class Exception, class Call>
void ExpectFailure(Call call, const std::string& text, const std::string& context = {}) {
  try {
    call();
    ADD_FAILURE() << "no exception; expected \"" << text << "\" " << context;
  } catch (const Exception& e) {
    EXPECT_EQ(std::string(e.what()), text) << context;
  }
}

}  // namespace trovenix::test
