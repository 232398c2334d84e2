// The settings store on QSettings: organisation "Qelvar", application
// "Marlune", in the user's configuration folder (~/.config/Qelvar/Marlune.conf).
#pragma once

#include <QSettings>

#include "app/SettingsStore.h"

namespace trovenix {

class TQtSettingsStore final : public ISettingsStore {
 public:
  TQtSettingsStore();
  bool Contains(const std::string& name) const override;
  std::optional<std::string> ReadString(const std::string& name) const override;
  std::optional<int> ReadInteger(const std::string& name) const override;
  void WriteString(const std::string& name, const std::string& value) override;
  void WriteInteger(const std::string& name, int value) override;
  bool Flush() override;

  // Where the store lives.
  QString FileName() const { return settings_.fileName(); }

 private:
  mutable QSettings settings_;
};

}  // namespace trovenix
