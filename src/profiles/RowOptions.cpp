#include "profiles/RowOptions.h"

#include "profiles/BatchRules.h"
#include "profiles/FormatCatalogue.h"
#include "profiles/OptionBuilders.h"

namespace trovenix {

TInputOptions RowInputOptions(const std::string& sourcePath) {
  TInputOptions options;
  options.FileName = sourcePath;
  options.StartTime = 0;
  return options;
}

TOutputOptions RowOutputOptions(const TProfileState& state, const std::string& videoSizeCell,
                                const std::string& durationCell) {
  TOutputOptions options;
  BuildOutputOptions(state, options);
  options.FrameRate = SelectedFrameRate(state);
  options.Volume = state.VolumeValue;
  options.AspectRatio = AspectRatioText(state.ComboAspectRatio.ItemIndex, videoSizeCell);
  const int limitMs = RecordingTimeForDuration(durationCell);
  if (limitMs >= 0) options.RecordingTime = limitMs;
  return options;
}

}  // namespace trovenix
