#include "app/ProgramEntry.h"

#include <QApplication>
#include <cstdlib>

#include "app/BenchRun.h"
#include "app/DBusDesktopSession.h"
#include "app/Form1.h"
#include "app/Form4.h"
#include "app/QtFolderPicker.h"
#include "app/QtMessageBoxes.h"
#include "app/QtSettingsStore.h"
#include "app/QtUiThread.h"
#include "app/SkinnedAppDialogs.h"
#include "player/Previewer.h"

namespace trovenix {

void PreferXcbOnWayland() {
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  if (wayland && *wayland && !(platform && *platform)) setenv("QT_QPA_PLATFORM", "xcb", 1);
}

int RunProgram(int argc, char** argv) {
  PreferXcbOnWayland();
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Trovenix"));

  TQtUiThread uiThread;
  TQtMessageBoxes qtMessages;
  // A benchmark run reads the messages instead of showing them.
  const TBenchRequest bench = BenchRequestFromEnvironment();
  TBenchMessages benchMessages;
  IMessageBoxes& messages =
      bench.Active() ? static_cast<IMessageBoxes&>(benchMessages) : qtMessages;
  TQtFolderPicker folders;
  TQtSettingsStore store;
  TSkinnedAppDialogs dialogs;

  // Main window, skin chooser and about box, Additional Options: in this
  // order, also when the main window could not bind the media libraries.
  TDBusDesktopSession desktop;
  TForm1Services services{dialogs, messages, folders, store, {}, {}};
  services.ListJournalPath = DefaultListJournalPath();
  services.Desktop = &desktop;
  TForm1 form1(std::move(services), uiThread);
  qtMessages.SetParent(&form1);
  folders.SetParent(&form1);
  dialogs.CreateWindows(&form1);
  TForm4 form4(form1);

  if (form1.Terminated()) return 1;
  // A task's converted pictures show in a previewer window of this thread.
  InstallPreviewer(uiThread);
  form1.show();
  if (bench.Active()) StartBench(form1, bench, benchMessages);
  return application.exec();
}

}  // namespace trovenix
