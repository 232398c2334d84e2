// The six choices that survive a restart, read once when the Additional
// Options dialog is created and written when the main window closes.
#pragma once

#include <functional>
#include <string>

#include "app/MainWindowModel.h"
#include "app/SettingsStore.h"

namespace trovenix {

// Value names in the store, in the order they are written.
inline constexpr const char* SettingOutputFolder = "Output Folder";
inline constexpr const char* SettingComboOutputFormat = "ComboOutputFormat";
inline constexpr const char* SettingOverwrite = "Overwrite";
inline constexpr const char* SettingDropDownItems = "DropDownItems";
inline constexpr const char* SettingLetterBox = "LetterBox";
inline constexpr const char* SettingSkin = "Skin";

inline constexpr const char* DefaultSkin = "Elegance";

// What the settings read into and write from. The skin belongs to the
// skinning side of the program, so it is reached through two calls.
struct TSettingsSubject {
  TMainWindowModel& Model;
  std::function<std::string()> Skin;
  std::function<void(const std::string&)> SetSkin;
};

// Reads the values into the subject in the order of the table. A missing or
// wrongly typed value among the first five ends the reading there and writes
// the current choices back at once (on the first run this fills the store).
// A blank or unreadable skin gives the skin "Elegance".
void LoadSettings(ISettingsStore& store, TSettingsSubject& subject);

// Writes the six values from the current choices. A store that cannot be
// written keeps what it had; nothing is reported.
void SaveSettings(ISettingsStore& store, const TSettingsSubject& subject);

}  // namespace trovenix
