#include "profiles/FormatCatalogue.h"

#include <algorithm>
#include <cctype>
#include <charconv>

#include "profiles/ChoiceLists.h"
#include "profiles/FormatTable.h"
#include "profiles/OptionBuilders.h"

namespace trovenix {
namespace {

constexpr int DefaultDropDownCount = 25;

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

int DropDownCountFromSetting(const TFormatChangeHooks& hooks) {
  if (!hooks.ReadDropDownItems) return DefaultDropDownCount;
  const std::optional<int> count = hooks.ReadDropDownItems();
  return count ? *count : DefaultDropDownCount;
}

bool IsSeparator(const std::string& text) {
  return text.find(FormatSeparatorMark) != std::string::npos;
}

}  // namespace

void FillFormatCatalogue(TProfileState& state) {
  state.ComboOutputFormat.Clear();
  state.ComboOutputFormat.Items = FormatCatalogueItems();
  state.ComboOutputFormat.DropDownCount = static_cast<int>(state.ComboOutputFormat.Items.size());
  state.ComboOutputFormat.SelectIndex(0);
}

void FillChoiceLists(TProfileState& state) {
  const TheAVCodec* row = FindFormatRow(state.ComboOutputFormat.Text());
  if (row == nullptr) return;
  state.OutputExtension = row->ExtensionTag;
  if (const auto plan = ChoiceListPlan(row->ProfileCode)) ApplyChoiceListPlan(*plan, state);
}

void UpdateVideoControls(TProfileState& state, const std::string& tag) {
  const bool enabled = Lower(tag) != "mp3";
  for (TChoiceControl* control :
       {&state.ComboVideoSize, &state.ComboVideoBitrate, &state.ComboVideoFramerate,
        &state.ComboVideoCodec, &state.ComboLetterBox})
    control->Enabled = enabled;
}

void ComboOutputFormatChange(TProfileState& state, const TFormatChangeHooks& hooks) {
  if (IsSeparator(state.ComboOutputFormat.Text())) {
    // Selecting a position from here does not count as the user's change.
    state.ComboOutputFormat.SelectIndex(state.LastFormatIndex);
    return;
  }
  FillChoiceLists(state);
  if (const TheAVCodec* row = FindFormatRow(state.ComboOutputFormat.Text()))
    state.OutputExtension = row->ExtensionTag;
  if (hooks.WriteOutputColumn) hooks.WriteOutputColumn(state.OutputExtension);
  UpdateVideoControls(state, state.OutputExtension);
  state.ComboOutputFormat.DropDownCount = DropDownCountFromSetting(hooks);
  state.LastFormatIndex = state.ComboOutputFormat.ItemIndex;
}

void ComboOutputFormatDropDown(TProfileState& state, const TFormatChangeHooks& hooks) {
  state.ComboOutputFormat.DropDownCount = DropDownCountFromSetting(hooks);
}

void SelectFormat(TProfileState& state, int position, const TFormatChangeHooks& hooks) {
  state.ComboOutputFormat.SelectIndex(position);
  ComboOutputFormatChange(state, hooks);
}

void BuildOutputOptions(const TProfileState& state, TOutputOptions& options) {
  const TheAVCodec* row = FindFormatRow(state.ComboOutputFormat.Text());
  if (row == nullptr) return;
  switch (row->ProfileCode) {
    case 3:
    case 4:
    case 6:
    case 13:
    case 14:
    case 15:
      BuildAacDeviceOptions(state, options);
      break;
    case 0:
    case 1:
      BuildAmrOptions(state, options);
      break;
    case 18:
    case 19:
    case 20:
    case 49:
    case 50:
    case 53:
    case 58:
    case 59:
    case 60:
    case 61:
    case 37:
    case 22:
    case 23:
    case 41:
    case 27:
    case 28:
    case 29:
    case 26:
    case 45:
    case 31:
      BuildGenericOptions(state, options);
      break;
    default:
      break;
  }
  // What every device of the catalogue plays: 8-bit 4:2:0 pictures and at
  // most two channels of sound, whatever the source holds.
  options.PixelFormat = "yuv420p";
  options.MaxAudioChannels = 2;
}

std::optional<int> ResolveFormatArgument(const TProfileState& state, const std::string& argument,
                                         std::string& error) {
  const std::vector<std::string>& items = state.ComboOutputFormat.Items;
  int position = -1;
  const char* end = argument.data() + argument.size();
  const auto [ptr, ec] = std::from_chars(argument.data(), end, position);
  if (!argument.empty() && ec == std::errc() && ptr == end) {
    if (position < 0 || position >= static_cast<int>(items.size())) {
      error = "format position " + argument + " is outside the list (0 to " +
              std::to_string(items.size() - 1) + ")";
      return std::nullopt;
    }
  } else {
    auto it = std::find(items.begin(), items.end(), argument);
    if (it == items.end())
      it = std::find_if(items.begin(), items.end(),
                        [&](const std::string& item) { return Lower(item) == Lower(argument); });
    if (it == items.end()) {
      error = "unknown format \"" + argument + "\"; --list-formats shows the formats";
      return std::nullopt;
    }
    position = static_cast<int>(it - items.begin());
  }
  if (IsSeparator(items[static_cast<std::size_t>(position)])) {
    error = "format position " + std::to_string(position) + " is a separator, not a format";
    return std::nullopt;
  }
  return position;
}

}  // namespace trovenix
