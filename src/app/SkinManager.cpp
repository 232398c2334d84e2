#include "app/SkinManager.h"

#include <QApplication>
#include <QFile>

namespace trovenix {

std::optional<QString> TSkinManager::ReadSheet(const TSkinEntry& entry) {
  QFile file(
      entry.Internal
          ? QStringLiteral(":/trovenix/skins/%1.qss").arg(QString::fromStdString(entry.Source))
          : QString::fromStdString(entry.Source));
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  return QString::fromUtf8(file.readAll());
}

QString TSkinManager::StyleSheet(const std::string& name) const {
  const std::optional<TSkinEntry> entry = catalogue_.Find(name);
  return entry ? ReadSheet(*entry).value_or(QString()) : QString();
}

void TSkinManager::Apply(const TSkinEntry& entry, const QString& sheet) {
  if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance()))
    app->setStyleSheet(sheet);
  current_ = entry.Name;
}

bool TSkinManager::SetSkin(const std::string& name) {
  if (const std::optional<TSkinEntry> entry = catalogue_.Find(name)) {
    // An empty file is a valid skin (the plain look); a failed read is not.
    if (const std::optional<QString> sheet = ReadSheet(*entry)) {
      Apply(*entry, *sheet);
      return true;
    }
  }
  const std::optional<TSkinEntry> fallback = catalogue_.Find(TSkinCatalogue::DefaultSkin);
  if (fallback) Apply(*fallback, ReadSheet(*fallback).value_or(QString()));
  return false;
}

}  // namespace trovenix
