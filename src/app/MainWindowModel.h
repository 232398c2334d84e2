// Everything the main window shows, without any window: the choice controls,
// the run-time state, the additional options, the output folder and the
// enabled state of the other controls. The window's widgets show this and
// hand every user change to it; tests drive it directly.
#pragma once

#include <string>

#include "app/AdditionalOptions.h"
#include "app/CommandControls.h"
#include "app/RunState.h"
#include "profiles/FormatCatalogue.h"
#include "profiles/ProfileState.h"

namespace trovenix {

struct TMainWindowModel {
  TProfileState Profile = MakeStartUpState();
  TRunState Run;
  TAdditionalOptions Options;
  TCommandControls Commands;
  std::string OutputFolder;      // text of the output folder box
  std::string LastPickedFolder;  // where the folder picker opens next
};

// The format-change hooks of the window: the drop-down count follows the
// Additional Options box; writeOutputColumn (may be empty) rewrites the file
// list's Output column.
TFormatChangeHooks FormatHooks(TMainWindowModel& model,
                               std::function<void(const std::string&)> writeOutputColumn = {});

// The number box of the Additional Options dialog changed: the value is
// clamped and, when it changed, becomes the output-format list's drop-down
// count at once.
void SetDropDownItems(TMainWindowModel& model, int value);

// Locks the settings controls while a batch runs: the command buttons but
// Stop Convert, every choice list including the output-format list, the
// volume track bar, the file list's context menu and the top-level menus.
// The preview panel's playback buttons are not part of it.
void DisableControls(TMainWindowModel& model);

// Enables every control DisableControls locks, unconditionally: video lists
// that the output format had disabled stay enabled until the format changes.
void EnableControls(TMainWindowModel& model);

// Whether the window may close now: not while a batch step runs.
bool CloseQuery(const TMainWindowModel& model);

// Where the folder picker opens: the folder picked last, or the folder box's
// text before anything was picked.
std::string FolderPickerStart(const TMainWindowModel& model);

// A folder the user confirmed in the picker.
void FolderPicked(TMainWindowModel& model, const std::string& folder);

}  // namespace trovenix
