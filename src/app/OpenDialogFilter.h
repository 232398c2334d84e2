// The file types the open-file dialog of the add step offers.
#pragma once

#include <string>
#include <vector>

namespace trovenix {

// The filter as one text: a description and its patterns per entry, each
// followed by "|"; patterns separated by ";", some with a blank after it.
const std::string& OpenDialogFilterText();

// A filter text turned into name filters of the form "description
// (pattern pattern ...)", in order; the first is selected when the dialog
// opens. Blanks around the patterns are dropped.
std::vector<std::string> NameFilters(const std::string& filterText);

}  // namespace trovenix
