// trovenix-convert --list-formats and --show-choices: the output-format list
// and the choice lists a format loads, without converting anything.
#pragma once

#include <ostream>
#include <string>

#include "profiles/ProfileState.h"

namespace trovenix::cli {

// --list-formats: the output-format list, one item a line with its position.
// Returns 0.
int RunListFormats(std::ostream& out);

// --show-choices [--format NAME|POS]: the choice lists after start-up and the
// format (empty: none). Returns 0, or 2 with the reason on err when format
// names no format.
int RunShowChoices(const std::string& format, std::ostream& out, std::ostream& err);

// The state after start-up, then format (empty: none) picked as the user
// would. False with the reason in error when format names no format.
bool StartUpWithFormat(const std::string& format, TProfileState& state, std::string& error);

// Prints the selected format and, for each of the nine choice controls, its
// items with the selected one marked.
void PrintChoices(const TProfileState& state, std::ostream& out);

}  // namespace trovenix::cli
