#include "cli/ProfileCommands.h"

#include "profiles/FormatCatalogue.h"

namespace trovenix::cli {
namespace {

int UsageError(const std::string& text, std::ostream& err) {
  err << "trovenix-convert: " << text << "\n"
      << "Try 'trovenix-convert --help'.\n";
  return 2;
}

void ListFormats(std::ostream& out) {
  const TProfileState state = MakeStartUpState();
  const auto& items = state.ComboOutputFormat.Items;
  for (std::size_t i = 0; i < items.size(); ++i) out << i << "\t" << items[i] << "\n";
}

}  // namespace

bool IsProfileCommand(const std::vector<std::string>& args) {
  return !args.empty() && (args[0] == "--list-formats" || args[0] == "--show-choices");
}

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

int RunProfileCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.empty()) return UsageError("no command given", err);
  if (args[0] == "--list-formats") {
    if (args.size() > 1) return UsageError("--list-formats takes no arguments", err);
    ListFormats(out);
    return 0;
  }
  if (args[0] != "--show-choices") return UsageError("unknown option '" + args[0] + "'", err);
  std::string format;
  for (std::size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "--format" && i + 1 < args.size() && format.empty()) {
      format = args[++i];
      if (format.empty()) return UsageError("--format needs a name or position", err);
    } else if (args[i] == "--format") {
      return UsageError(
          format.empty() ? "--format needs a name or position" : "--format given twice", err);
    } else {
      return UsageError("unknown argument '" + args[i] + "' for --show-choices", err);
    }
  }
  TProfileState state;
  std::string error;
  if (!StartUpWithFormat(format, state, error)) return UsageError(error, err);
  PrintChoices(state, out);
  return 0;
}

}  // namespace trovenix::cli
