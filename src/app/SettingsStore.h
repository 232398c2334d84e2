// The per-user store the six settings live in, as the settings routines see
// it: one key of named text and integer values. The window uses the Qt
// implementation; tests may use either.
#pragma once

#include <optional>
#include <string>

namespace trovenix {

class ISettingsStore {
 public:
  virtual ~ISettingsStore() = default;
  virtual bool Contains(const std::string& name) const = 0;
  // The value as text; nullopt when it is missing or not text.
  virtual std::optional<std::string> ReadString(const std::string& name) const = 0;
  // The value as a 32-bit integer; nullopt when it is missing or not one.
  virtual std::optional<int> ReadInteger(const std::string& name) const = 0;
  virtual void WriteString(const std::string& name, const std::string& value) = 0;
  virtual void WriteInteger(const std::string& name, int value) = 0;
  // Writes what was written to the store's file; false when it cannot.
  virtual bool Flush() = 0;
};

}  // namespace trovenix
