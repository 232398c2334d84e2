// The output format catalogue: one row per format the user can choose, and
// the items of the output-format list built from it.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace trovenix {

struct TheAVCodec {
  const char* DisplayName;   // exact text of the list entry
  const char* ExtensionTag;  // upper case; the file extension is its lower case
  int ProfileCode;           // selects the list routine and the option builder
};

extern const std::array<TheAVCodec, 28> FormatTable;

// The text of the list's separators: 14 blanks and 41 hyphens.
extern const char* const FormatSeparator;

// What a separator's text contains, and how a picked separator is recognised.
extern const char* const FormatSeparatorMark;

// The 33 items of the output-format list in order, separators included.
std::vector<std::string> FormatCatalogueItems();

// The first row whose DisplayName equals text exactly, or nullptr.
const TheAVCodec* FindFormatRow(const std::string& text);

}  // namespace trovenix
