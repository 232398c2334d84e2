// Switches the C library to a locale whose decimal separator is a comma, for
// tests of number reading that must not depend on the user's locale.
#pragma once

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/Fixtures.h"

namespace trovenix::test {

// True when such a locale is now active; restore with RestoreCLocale(). When
// none is installed, one is compiled into the fixture folder (when the
// system's locale sources are there).
inline bool UseCommaLocale() {
  for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8"})
    if (std::setlocale(LC_ALL, name)) return true;
  const std::string folder = FixturePath("locales");
  if (!std::filesystem::exists(folder + "/de_DE.UTF-8")) {
    std::filesystem::create_directories(folder);
    RunCommand("localedef -i de_DE -f UTF-8 " + ShellQuote(folder + "/de_DE.UTF-8") +
               " 2>/dev/null");
  }
  ::setenv("LOCPATH", folder.c_str(), 1);
  const bool set = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
  ::unsetenv("LOCPATH");
  return set && std::localeconv()->decimal_point == std::string(",");
}

inline void RestoreCLocale() {
  std::setlocale(LC_ALL, "C");
}

}  // namespace trovenix::test
