// Releasing what a task holds, and keeping its outputs.
#include "engine/FFmpeg.h"
#include "media/AVCodecStubs.h"
#include "media/FFmpegLoader.h"

namespace trovenix {

void TCustomFFmpeg::CommitOutputs() {
  for (const auto& output : OutputFiles)
    if (!output->Commit())
      throw FFmpegException("Could not move the converted file to '" + output->FileName + "'");
}

void TCustomFFmpeg::ReleaseRunTables() {
  // Encoder threads end first: until then the codec contexts are theirs.
  for (auto& output : Run.OutputStreams) output->Encoder.reset();
  {
    // Decoders are closed under the lock that guards every codec open and close.
    std::lock_guard<std::mutex> guard(CodecLock());
    for (auto& input : Run.InputStreams) input->Decoder.reset();
  }
  for (auto& output : Run.OutputStreams)
    if (output->Codec) output->Codec->stats_in = nullptr;  // owned by the run
  Run = TRunTables{};
}

void TCustomFFmpeg::TidyUp() {
  if (!FFLoader().LibrarySetLoaded(EngineLibraries)) return;
  ReleasingFiles();
  ReleaseRunTables();
  ReleaseOptionContexts();
  {
    std::lock_guard<std::mutex> guard(CodecLock());
    for (auto& output : OutputFiles)
      for (TOutputStreamConfig& stream : output->Streams) stream.Codec.reset();
  }
  OutputFiles.clear();  // removes what was written under temporary names
  InputFiles.clear();
  InputTsOffsets.clear();
  InputCodecs.clear();
  IntraMatrix.reset();
  InterMatrix.reset();
  VstatsFileName.clear();
  VideoCodecName.clear();
  AudioCodecName.clear();
  SubtitleCodecName.clear();
  VideoStandard.clear();
  RcOverride.clear();
  AudioLanguage.clear();
  SubtitleLanguage.clear();
  FrameHooks.Release();
  ReleaseHookState();
}

}  // namespace trovenix
