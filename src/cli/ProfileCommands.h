// trovenix-convert --list-formats and --show-choices: the output-format list
// and the choice lists a format loads, without converting anything.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "profiles/ProfileState.h"

namespace trovenix::cli {

// True for the arguments this file handles (the first is --list-formats or
// --show-choices).
bool IsProfileCommand(const std::vector<std::string>& args);

// Runs --list-formats or --show-choices [--format NAME|POS]. Returns the exit
// status: 0, or 2 with a message on err for bad arguments.
int RunProfileCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The state after start-up, then format (empty: none) picked as the user
// would. False with the reason in error when format names no format.
bool StartUpWithFormat(const std::string& format, TProfileState& state, std::string& error);

// Prints the selected format and, for each of the nine choice controls, its
// items with the selected one marked.
void PrintChoices(const TProfileState& state, std::ostream& out);

}  // namespace trovenix::cli
