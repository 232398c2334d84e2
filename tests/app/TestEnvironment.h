// What every window test process sets before Qt starts: Qt's offscreen
// platform unless the caller chose another, and configuration and runtime
// folders of its own, so that no test touches the user's.
#pragma once

#include <QTemporaryDir>
#include <QtGlobal>

inline void UseTestEnvironment(const QTemporaryDir& folder) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qputenv("XDG_CONFIG_HOME", folder.path().toLocal8Bit());
  qputenv("XDG_RUNTIME_DIR", folder.path().toLocal8Bit());
}
