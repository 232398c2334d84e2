#include "engine/FFmpeg.h"

namespace trovenix {
// The stream creators themselves come with output files; without an output
// there is nothing to add a stream to.
void TCustomFFmpeg::AddVideoStream() {
  if (OutputFiles.empty()) throw FFmpegException(NoOutputFileText);
}

void TCustomFFmpeg::AddAudioStream() {
  if (OutputFiles.empty()) throw FFmpegException(NoOutputFileText);
}

void TCustomFFmpeg::AddSubtitleStream() {
  if (OutputFiles.empty()) throw FFmpegException(NoOutputFileText);
}

}  // namespace trovenix
