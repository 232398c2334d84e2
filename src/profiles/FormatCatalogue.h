// The output-format list and what picking an entry does: loading the entry's
// choice lists, the extension tag, the video controls' enabled state, and
// running the entry's option builder.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "engine/EngineOptions.h"
#include "profiles/ProfileState.h"

namespace trovenix {

// What a format change does outside the choice controls. Either may be empty.
struct TFormatChangeHooks {
  // Writes the extension tag into the Output column of every source list row.
  std::function<void(const std::string& tag)> WriteOutputColumn;
  // The "DropDownItems" setting; nullopt when it cannot be read.
  std::function<std::optional<int>()> ReadDropDownItems;
};

// Fills the output-format list with its 33 items, shows them all when dropped
// down and selects the first.
void FillFormatCatalogue(TProfileState& state);

// Sets OutputExtension and runs the list routine of the selected entry; does
// nothing when the selected text is no entry of the catalogue.
void FillChoiceLists(TProfileState& state);

// Disables the video size, bit-rate, frame-rate, codec and letterbox controls
// for the tag "mp3" (any case); enables them for every other tag.
void UpdateVideoControls(TProfileState& state, const std::string& tag);

// The user picked the selected item of the output-format list (also run once
// when the window is shown). A separator re-selects LastFormatIndex and
// changes nothing else.
void ComboOutputFormatChange(TProfileState& state, const TFormatChangeHooks& hooks = {});

// The output-format list is about to open: its drop-down count follows the
// "DropDownItems" setting, or 25 when that cannot be read.
void ComboOutputFormatDropDown(TProfileState& state, const TFormatChangeHooks& hooks = {});

// Selects a position of the output-format list as the user would and runs the
// selection change.
void SelectFormat(TProfileState& state, int position, const TFormatChangeHooks& hooks = {});

// Runs the option builder of the selected entry into options; nothing when
// the selected text is no entry. Throws TConvertError like the builders.
void BuildOutputOptions(const TProfileState& state, TOutputOptions& options);

// A format named on a command line, by its position in the output-format list
// or by its text (exact first, then ignoring case). Separators and unknown
// names give nullopt with the reason in error.
std::optional<int> ResolveFormatArgument(const TProfileState& state, const std::string& argument,
                                         std::string& error);

}  // namespace trovenix
