#include "engine/FFmpegTask.h"

namespace trovenix {

TFFmpeg::~TFFmpeg() {
  // The worker still calls into this object while it ends, so it must be gone
  // before this part of the task is.
  if (Running) StopRequested = true;
  Resume();
  WaitFor();
  Probe.Close();
}

void TFFmpeg::ReleasingFiles() { Probe.Close(); }

}  // namespace trovenix
