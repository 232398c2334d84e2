// The C runtime's file and text functions, bound from the same runtime the
// media libraries use so that file handles and texts can pass between them.
// Each variable is the runtime function of the same name without "my_".
#pragma once

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#define TROVENIX_MYUTIL_ENTRY_POINTS(X) \
  X(my_fclose, fclose)                  \
  X(my_fopen, fopen)                    \
  X(my_fprintf, fprintf)                \
  X(my_fread, fread)                    \
  X(my_fseek, fseek)                    \
  X(my_ftell, ftell)                    \
  X(my_fwrite, fwrite)                  \
  X(my_snprintf, snprintf)              \
  X(my_strtod, strtod)                  \
  X(my_strtok, strtok)                  \
  X(my_strtol, strtol)                  \
  X(my_vsprintf, vsprintf)

namespace ff {
#define TROVENIX_DECLARE_RUNTIME_ENTRY_POINT(name, symbol) extern decltype(&::symbol) name;
TROVENIX_MYUTIL_ENTRY_POINTS(TROVENIX_DECLARE_RUNTIME_ENTRY_POINT)
}  // namespace ff
