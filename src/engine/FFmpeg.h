// One conversion task: its option state, the option vocabulary that
// configures it, and (in later layers) its files and the transcode.
//
// A task is configured on one thread before its worker thread starts; only
// SetPreviewFlags may also be called while it runs (it takes PreviewLock()).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/FFmpegException.h"
#include "engine/OptionState.h"

namespace trovenix {

// Engine log levels: -1 the error that ends a task, 0 other errors and
// warnings, 1 information.
using TTaskLogCallback = std::function<void(int level, const std::string& text)>;

class TCustomFFmpeg : public TOptionState {
 public:
  TCustomFFmpeg();
  virtual ~TCustomFFmpeg();
  TCustomFFmpeg(const TCustomFFmpeg&) = delete;
  TCustomFFmpeg& operator=(const TCustomFFmpeg&) = delete;

  // Notices of the task; nothing is sent while it is empty.
  TTaskLogCallback LogCallback;
  // Called with 2 when a library debug option is set; points at SetVerbose.
  std::function<void(int)> DebugLevelCallback;

  TOptionContexts OptionContexts;
  // Files opened while the task is configured.
  std::vector<InputContextPtr> InputFiles;
  std::vector<OutputContextPtr> OutputFiles;
  // The window showing converted pictures, while bit 0 of PreviewFlags is set.
  std::unique_ptr<IPreviewWindow> Previewer;

  // --- option state and library option store ---

  // Gives every option field its default, empties maps, metadata and hook
  // ranges, and makes fresh option contexts.
  void ResetOptions();
  void CreateOptionContexts();
  void ReleaseOptionContexts();

  // Applies one named option. Throws FFmpegException for a rejected value and
  // EConvertError for a value that should be a number and is not.
  void ParseOption(const std::string& name, const std::string& value);
  // Hands an option to the library's option system; true when a library
  // option took it.
  bool SetDefaultOption(const std::string& name, const std::string& value);
  bool SetIntOption(const std::string& name, int value);
  // Copies every stored option that source has and whose flags contain all
  // bits of mask onto target (both objects of the library's option system).
  void ApplyStoredOptions(void* target, void* source, int mask);

  // A duration or date in microseconds; throws FFmpegException
  // "Invalid duration|date specification for CONTEXT: TEXT".
  std::int64_t ParseTime(const std::string& context, const std::string& text, bool duration);
  void SetVerbose(int level);
  void SetRecordingTime(std::int64_t us);
  void SetRecordingTimeMs(int ms);
  void SetStartTime(std::int64_t us);

  // --- value handlers ---

  void SetInputFormat(const std::string& name);
  void SetOutputFormat(const std::string& name);
  void SetFormat(const std::string& name);
  void SetFrameRate(const std::string& text);
  void SetFrameSize(const std::string& text);
  void SetFrameAspectRatio(const std::string& text);
  void SetFramePixFmt(const std::string& text);
  void SetAudioSampleFmt(const std::string& text);
  void SetCropTop(int value);
  void SetCropBottom(int value);
  void SetCropLeft(int value);
  void SetCropRight(int value);
  void SetPadTop(int value);
  void SetPadBottom(int value);
  void SetPadLeft(int value);
  void SetPadRight(int value);
  // Colour with red in the lowest byte, then green, then blue.
  void SetPadColor(int color);
  bool SetBitRate(const std::string& optionName, const std::string& value);
  void SetQScale(float q);
  void SetAudioRate(int rate);
  void SetAudioChannels(int channels);
  void SetAudioVolume(int volume);
  void SetAudioSyncMethod(int method);
  void SetVideoSyncMethod(int method);
  void SetProgramId(int id);
  void SetMuxMaxDelay(float seconds);
  void SetMuxPreload(float seconds);
  void SetVideoCodec(const std::string& name);
  void SetAudioCodec(const std::string& name);
  void SetSubtitleCodec(const std::string& name);
  void SetVideoTag(const std::string& tag);
  void SetAudioTag(const std::string& tag);
  void SetVideoFilters(const std::string& filters);
  void AddVideoHook(const std::string& text);
  void AddMetadata(const std::string& keyValue);
  void AddMetadataPair(const std::string& key, const std::string& value);
  void AddStreamMap(const std::string& text);
  void AddMetaDataMap(const std::string& text);
  void SetInputTsScale(const std::string& text);
  void SetPass(int pass);
  void SetIntraMatrix(const std::string& text);
  void SetInterMatrix(const std::string& text);
  void SetTarget(const std::string& text);
  void SetTargetPreset(const std::string& type, const std::string& norm,
                       const std::string& defaultNorm);
  void SetVstats(bool on);
  void SetVstatsFile(const std::string& name);
  void AddBitstreamFilter(const std::string& optionName, const std::string& text);
  void SetHookTimeRanges(const std::vector<THookRange>& ranges);
  void SetPreviewFlags(std::uint8_t flags);

  // Further streams on the last opened output ("newvideo", ...).
  void AddVideoStream();
  void AddAudioStream();
  void AddSubtitleStream();

  // Sends a notice (engine level 1 unless given) when a log callback is set.
  void Log(const std::string& text, int level = 1) const;
};

}  // namespace trovenix
