// Enabled state of the main window's controls that are not choice lists: the
// command buttons, the volume track bar, the file list's context menu and
// the top-level menus. The choice lists keep theirs in TProfileState.
#pragma once

namespace trovenix {

struct TCommandControls {
  bool AddVideo = true;
  bool Remove = true;
  bool ClearAll = true;
  bool StopConvert = true;
  bool ConvertNow = true;
  bool TrackBar1 = true;
  bool ListContextMenu = true;  // the file list's menu opens on right click
  bool MenuFile = true;
  bool MenuOptions = true;
  bool MenuSkins = true;
  bool MenuHelp = true;
};

}  // namespace trovenix
