// The program trovenix: the application, the windows in their order, the UI
// loop.
#pragma once

namespace trovenix {

// Runs the program; its exit status.
int RunProgram(int argc, char** argv);

// Qt's xcb platform is chosen on a Wayland session unless the user chose a
// platform, so that the window runs through XWayland (the player draws into
// an X window of it). Runs before the application object exists.
void PreferXcbOnWayland();

}  // namespace trovenix
