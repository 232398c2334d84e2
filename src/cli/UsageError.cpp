#include "cli/UsageError.h"

namespace trovenix::cli {

int UsageError(std::ostream& err, const std::string& text) {
  err << "trovenix-convert: " << text << "\n"
      << "Try 'trovenix-convert --help'.\n";
  return UsageErrorStatus;
}

}  // namespace trovenix::cli
