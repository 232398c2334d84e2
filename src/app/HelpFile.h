// The program's guide, help.html, opened in the default browser.
#pragma once

#include <QString>

#include "app/UrlOpener.h"

namespace trovenix {

// Where the guide is: beside the program (the build tree and a plain copy of
// the program's folder), else in the installed share folder
// (<prefix>/share/trovenix/help.html for <prefix>/bin). Empty if neither exists.
QString HelpFilePath(const QString& programDir);

// Opens the guide; false when it is missing or nothing could open it.
bool OpenHelpFile(const QString& programDir, IUrlOpener& opener = DesktopUrlOpener());

}  // namespace trovenix
