#include "app/QtSettingsStore.h"

#include <limits>

namespace trovenix {
namespace {

QString Key(const std::string& name) {
  return QString::fromStdString(name);
}

}  // namespace

TQtSettingsStore::TQtSettingsStore()
    : settings_(QStringLiteral("Qelvar"), QStringLiteral("Marlune")) {
  // Only the user's own file counts, not organisation-wide or system-wide ones.
  settings_.setFallbacksEnabled(false);
}

bool TQtSettingsStore::Contains(const std::string& name) const {
  return settings_.contains(Key(name));
}

std::optional<std::string> TQtSettingsStore::ReadString(const std::string& name) const {
  const QVariant value = settings_.value(Key(name));
  // The configuration file keeps numbers as text, so only lists and other
  // structured values are not text.
  switch (value.typeId()) {
    case QMetaType::QString:
    case QMetaType::QByteArray:
    case QMetaType::Int:
    case QMetaType::LongLong:
      return value.toString().toStdString();
    default:
      return std::nullopt;
  }
}

std::optional<int> TQtSettingsStore::ReadInteger(const std::string& name) const {
  const QVariant value = settings_.value(Key(name));
  bool ok = false;
  qlonglong number = 0;
  switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
      number = value.toLongLong(&ok);
      break;
    case QMetaType::QString:
      // Written as an integer, the value is read back as its decimal text;
      // anything else in its place is of the wrong type.
      number = value.toString().trimmed().toLongLong(&ok, 10);
      break;
    default:
      return std::nullopt;
  }
  if (!ok || number < std::numeric_limits<int>::min() || number > std::numeric_limits<int>::max())
    return std::nullopt;
  return static_cast<int>(number);
}

void TQtSettingsStore::WriteString(const std::string& name, const std::string& value) {
  settings_.setValue(Key(name), QString::fromStdString(value));
}

void TQtSettingsStore::WriteInteger(const std::string& name, int value) {
  settings_.setValue(Key(name), value);
}

bool TQtSettingsStore::Flush() {
  settings_.sync();
  return settings_.status() == QSettings::NoError;
}

}  // namespace trovenix
