#include "app/HelpFile.h"

#include <QDir>
#include <QFileInfo>

namespace trovenix {

QString HelpFilePath(const QString& programDir) {
  const QDir dir(programDir);
  for (const QString& candidate : {dir.filePath(QStringLiteral("help.html")),
                                   dir.filePath(QStringLiteral("../share/trovenix/help.html"))}) {
    const QFileInfo file(candidate);
    if (file.isFile()) return file.canonicalFilePath();
  }
  return {};
}

bool OpenHelpFile(const QString& programDir, IUrlOpener& opener) {
  const QString path = HelpFilePath(programDir);
  if (path.isEmpty()) return false;
  // Opened at its table of contents.
  QUrl url = QUrl::fromLocalFile(path);
  url.setFragment(QStringLiteral("contents"));
  return opener.OpenUrl(url);
}

}  // namespace trovenix
