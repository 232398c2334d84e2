// Audio, sync, program and mux settings that keep their value when given one
// out of range (callers pass -1 and the like for "not set").
#include "engine/FFmpeg.h"

namespace trovenix {

void TCustomFFmpeg::SetAudioRate(int rate) {
  if (rate > 0) AudioSampleRate = rate;
}

void TCustomFFmpeg::SetAudioChannels(int channels) {
  if (channels > 0) AudioChannels = channels;
}

void TCustomFFmpeg::SetAudioVolume(int volume) {
  if (volume >= 0) AudioVolume = volume;
}

void TCustomFFmpeg::SetProgramId(int id) {
  if (id >= 0) ProgramId = id;
}

void TCustomFFmpeg::SetMuxMaxDelay(float seconds) {
  if (seconds > 0.0f) MuxMaxDelay = seconds;
}

void TCustomFFmpeg::SetMuxPreload(float seconds) {
  if (seconds > 0.0f) MuxPreload = seconds;
}

void TCustomFFmpeg::SetAudioSyncMethod(int method) {
  AudioSyncMethod = method;
}

void TCustomFFmpeg::SetVideoSyncMethod(int method) {
  VideoSyncMethod = method;
}

}  // namespace trovenix
