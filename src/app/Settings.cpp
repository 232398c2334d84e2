#include "app/Settings.h"

#include "engine/OptionValues.h"

namespace trovenix {
namespace {

// Steps 2 to 6 of the reading; false at the first value that is missing or
// of the wrong type.
bool ReadChoices(const ISettingsStore& store, TMainWindowModel& model) {
  // A missing folder reads as empty, as a first run has none.
  if (store.Contains(SettingOutputFolder)) {
    const auto folder = store.ReadString(SettingOutputFolder);
    if (!folder) return false;
    model.OutputFolder = *folder;
  } else {
    model.OutputFolder.clear();
  }

  const auto format = store.ReadInteger(SettingComboOutputFormat);
  if (!format) return false;
  // Selected as stored: a position past the end selects nothing. The choice
  // lists follow when the window is shown.
  if (*format >= 0) model.Profile.ComboOutputFormat.SelectIndex(*format);

  const auto overwrite = store.ReadInteger(SettingOverwrite);
  if (!overwrite) return false;
  model.Options.Overwrite = *overwrite != 0;

  const auto dropDownItems = store.ReadInteger(SettingDropDownItems);
  if (!dropDownItems) return false;
  if (*dropDownItems >= 0) SetDropDownItems(model, *dropDownItems);

  const auto letterBox = store.ReadInteger(SettingLetterBox);
  if (!letterBox) return false;
  if (*letterBox >= 0) model.Profile.ComboLetterBox.SelectIndex(*letterBox);
  return true;
}

}  // namespace

void LoadSettings(ISettingsStore& store, TSettingsSubject& subject) {
  if (!ReadChoices(store, subject.Model)) {
    SaveSettings(store, subject);
    return;
  }
  const auto skin = store.ReadString(SettingSkin);
  if (skin && !TrimSpaces(*skin).empty())
    subject.SetSkin(*skin);
  else
    subject.SetSkin(DefaultSkin);
}

void SaveSettings(ISettingsStore& store, const TSettingsSubject& subject) {
  const TMainWindowModel& model = subject.Model;
  store.WriteString(SettingOutputFolder, model.OutputFolder);
  store.WriteInteger(SettingComboOutputFormat, model.Profile.ComboOutputFormat.ItemIndex);
  store.WriteInteger(SettingOverwrite, model.Options.Overwrite ? 1 : 0);
  store.WriteInteger(SettingDropDownItems, model.Options.DropDownItems);
  store.WriteInteger(SettingLetterBox, model.Profile.ComboLetterBox.ItemIndex);
  store.WriteString(SettingSkin, subject.Skin());
  store.Flush();
}

}  // namespace trovenix
