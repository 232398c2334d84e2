#include "engine/FFmpeg.h"

namespace trovenix {
namespace {

constexpr const char* NoOutputFile = "At least one output file must be specified";

}  // namespace

// The stream creators themselves come with output files; without an output
// there is nothing to add a stream to.
void TCustomFFmpeg::AddVideoStream() {
  if (OutputFiles.empty()) throw FFmpegException(NoOutputFile);
}

void TCustomFFmpeg::AddAudioStream() {
  if (OutputFiles.empty()) throw FFmpegException(NoOutputFile);
}

void TCustomFFmpeg::AddSubtitleStream() {
  if (OutputFiles.empty()) throw FFmpegException(NoOutputFile);
}

}  // namespace trovenix
