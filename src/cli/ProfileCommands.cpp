#include "cli/ProfileCommands.h"

#include "cli/UsageError.h"
#include "profiles/FormatCatalogue.h"

namespace trovenix::cli {

bool StartUpWithFormat(const std::string& format, TProfileState& state, std::string& error) {
  state = MakeStartUpState();
  // Showing the window loads the first entry's lists.
  ComboOutputFormatChange(state);
  if (format.empty()) return true;
  const auto position = ResolveFormatArgument(state, format, error);
  if (!position) return false;
  SelectFormat(state, *position);
  return true;
}

void PrintChoices(const TProfileState& state, std::ostream& out) {
  out << "ComboOutputFormat\t" << state.ComboOutputFormat.ItemIndex << "\t\""
      << state.ComboOutputFormat.Text() << "\"\t" << state.OutputExtension << "\n";
  for (const std::string& name : ChoiceControlNames()) {
    const TChoiceControl& control = *ControlByFormName(state, name);
    out << name << (control.Enabled ? "" : " (disabled)")
        << (control.ItemIndex < 0 ? " (nothing selected)" : "") << "\n";
    for (std::size_t i = 0; i < control.Items.size(); ++i)
      out << (static_cast<int>(i) == control.ItemIndex ? "  * \"" : "    \"") << control.Items[i]
          << "\"\n";
  }
}

int RunListFormats(std::ostream& out) {
  const TProfileState state = MakeStartUpState();
  const auto& items = state.ComboOutputFormat.Items;
  for (std::size_t i = 0; i < items.size(); ++i) out << i << "\t" << items[i] << "\n";
  return 0;
}

int RunShowChoices(const std::string& format, std::ostream& out, std::ostream& err) {
  TProfileState state;
  std::string error;
  if (!StartUpWithFormat(format, state, error)) return UsageError(err, error);
  PrintChoices(state, out);
  return 0;
}

}  // namespace trovenix::cli
