#include "app/MainWindowModel.h"

#include <utility>

namespace trovenix {
namespace {

void SetLockableEnabled(TMainWindowModel& model, bool enabled) {
  TProfileState& p = model.Profile;
  for (TChoiceControl* control :
       {static_cast<TChoiceControl*>(&p.ComboOutputFormat), &p.ComboVideoSize, &p.ComboVideoBitrate,
        &p.ComboVideoFramerate, &p.ComboVideoCodec, &p.ComboLetterBox, &p.ComboAudioBitrate,
        &p.ComboAudioChannels, &p.ComboSamplingRate, &p.ComboAudioCodec, &p.ComboAspectRatio})
    control->Enabled = enabled;
  TCommandControls& c = model.Commands;
  for (bool* flag : {&c.AddVideo, &c.Remove, &c.ClearAll, &c.ConvertNow, &c.TrackBar1,
                     &c.ListContextMenu, &c.MenuFile, &c.MenuOptions, &c.MenuSkins, &c.MenuHelp})
    *flag = enabled;
}

}  // namespace

TFormatChangeHooks FormatHooks(TMainWindowModel& model,
                               std::function<void(const std::string&)> writeOutputColumn) {
  TFormatChangeHooks hooks;
  hooks.WriteOutputColumn = std::move(writeOutputColumn);
  hooks.ReadDropDownItems = [&model]() -> std::optional<int> {
    return model.Options.DropDownItems;
  };
  return hooks;
}

void SetDropDownItems(TMainWindowModel& model, int value) {
  if (model.Options.SetDropDownItems(value))
    model.Profile.ComboOutputFormat.DropDownCount = model.Options.DropDownItems;
}

void DisableControls(TMainWindowModel& model) {
  SetLockableEnabled(model, false);
}

void EnableControls(TMainWindowModel& model) {
  SetLockableEnabled(model, true);
}

bool CloseQuery(const TMainWindowModel& model) {
  return !model.Run.Converting;
}

std::string FolderPickerStart(const TMainWindowModel& model) {
  return model.LastPickedFolder.empty() ? model.OutputFolder : model.LastPickedFolder;
}

void FolderPicked(TMainWindowModel& model, const std::string& folder) {
  model.LastPickedFolder = folder;
  model.OutputFolder = folder;
}

}  // namespace trovenix
