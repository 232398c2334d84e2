// One conversion task: its option state, the option vocabulary that
// configures it, and (in later layers) its files and the transcode.
//
// A task is configured on one thread before its worker thread starts; only
// SetPreviewFlags may also be called while it runs (it takes PreviewLock()).
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "engine/Deinterlacer.h"
#include "engine/EngineOptions.h"
#include "engine/FFmpegException.h"
#include "engine/MediaFiles.h"
#include "engine/OptionState.h"
#include "engine/RunTables.h"

extern "C" {
struct AVFrame;
struct AVPacket;
struct AVSubtitle;
}

namespace trovenix {

// Engine log levels: -1 the error that ends a task, 0 other errors and
// warnings, 1 information.
using TTaskLogCallback = std::function<void(int level, const std::string& text)>;

// What a progress report measures.
struct TProgressInfo {
  int FrameNumber = -1;        // frames of the first video output; -1 without video
  int FramesPerSecond = -1;    // -1 without video
  int CurrentDurationMs = 0;   // output time
  float Quality = -1.0f;       // quantizer of the first video output; -1 when copied or none
  float BitRateKbps = 0.0f;
  std::int64_t CurrentSize = 0;  // bytes of the first output file
  int TotalDurationMs = -1;      // expected output duration; -1 when unknown
};

// The message of every "no output" failure.
inline constexpr const char* NoOutputFileText = "At least one output file must be specified";

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

  std::function<void(const TProgressInfo&)> ProgressCallback;
  // The end of the task, on the thread that ran it.
  std::function<void(TCustomFFmpeg&)> TerminateCallback;
  // Hands each converted picture to user code, which may change it; set only
  // by the engine component.
  std::function<void(TBitmap& bitmap, std::int64_t frameNumber, std::int64_t ptsUs, bool& update,
                     bool& stopHook)>
      CustomHookCallback;
  // Decides per picture whether the frame-hook chain runs; set only by the
  // engine component.
  std::function<void(std::int64_t ptsUs, THookAction& action)> BeforeHookCallback;
  // Receives converted pictures while bit 1 of PreviewFlags is set; returns
  // once the user interface has handled the picture.
  std::function<void(const TBitmap& bitmap, std::int64_t ptsUs, std::int64_t frameNumber)>
      PreviewBitmapCallback;

  TOptionContexts OptionContexts;
  // Files opened while the task is configured.
  std::vector<InputContextPtr> InputFiles;
  std::vector<std::int64_t> InputTsOffsets;  // microseconds, per input file
  // Decoder forced by name per input stream, all files in order; none when not forced.
  std::vector<const AVCodec*> InputCodecs;
  std::vector<std::unique_ptr<TOutputFile>> OutputFiles;
  bool UseVideoFilters = false;
  // The window showing converted pictures, while bit 0 of PreviewFlags is set.
  std::unique_ptr<IPreviewWindow> Previewer;

  // Frame hooks, deinterlacing and preview of a run.
  int HookFrameCount = 0;  // decoded pictures seen; the frame number of hooks and previews
  THookAction HookAction = THookAction::haContinue;  // haStop ends the hook chain for the task
  FramePtr HookPicture;    // the processed copy of the current picture
  FrameConverter HookConverter;
  FrameConverter PreviewConverter;
  TDeinterlacer Deinterlacer;
  std::int64_t LastPreviewTime = 0;       // av_gettime() of the last preview
  std::int64_t PreviewInterval = 100000;  // microseconds, at least, between previews
  CFilePtr VstatsFile;                    // opened with the first statistics line

  // Life of a run.
  std::atomic<bool> Running{false};
  std::atomic<bool> StopRequested{false};
  std::atomic<bool> Finished{false};
  std::atomic<bool> Terminated{false};
  bool Failed = false;
  std::string ErrorMessage;
  std::int64_t ReportInterval = 500000;  // microseconds between progress reports

  // Figures of the run.
  std::int64_t TimerStart = 0;
  std::int64_t VideoSize = 0, AudioSize = 0, ExtraSize = 0;
  int FramesDuplicated = 0, FramesDropped = 0;
  TRunTables Run;

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
  // The engine's verbosity and the media library's own level apart.
  void SetVerbose(int level, int libraryLevel);
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

  // --- files and streams ---

  // Looks a codec up by name (an empty name gives id 0); false with LastError.
  bool FindCodec(const std::string& name, int mediaType, bool encoder, int& codecId);
  // Opens a source with the input-side options; false with LastError.
  bool OpenInputFile(const std::string& fileName);
  // Opens the source and reads its stream information into context, with
  // longer: reading further than the default; false with LastError set.
  bool OpenAndReadStreamInfo(const std::string& fileName, int videoId, int audioId, int subtitleId,
                             bool longer, InputContextPtr& context);
  void CheckInputStreamTypes(bool& hasVideo, bool& hasAudio, bool& hasSubtitle) const;
  // Whether an input holds a cover picture (a video stream marked as attached picture).
  bool InputHasCoverArt() const;
  // Creates an output with its streams; the output count, or -1 with LastError.
  int OpenOutputFile(const std::string& fileName);
  void NewVideoStream(TOutputFile& output);
  void NewCoverArtStream(TOutputFile& output);
  void NewAudioStream(TOutputFile& output);
  void NewSubtitleStream(TOutputFile& output);
  // False when the filter chain names a filter that resizes pictures.
  static bool CheckFilterConflict(const std::string& filters);

  // --- the run ---

  // Resets options and run state for a new configuration; releases files.
  void PrepareTask();
  // Starts the conversion: on a thread of its own when threaded (true then),
  // else runs it to the end before returning (false).
  bool Start(bool threaded, TConvertPriority priority = TConvertPriority::tpNormal);
  // Id of the thread running the task (see CurrentThreadId); 0 before start.
  std::atomic<std::uint32_t> ThreadID{0};
  // Waits for the thread of a threaded run to end.
  void WaitFor();
  void RequestStop();
  void Pause();
  void Resume();
  bool Paused() const;

  // The conversion of the opened files; throws FFmpegException.
  void Transcode();
  // Moves every output to its final name; throws FFmpegException when one
  // cannot be moved.
  void CommitOutputs();
  // Releases files, codecs, buffers and option texts. Outputs not committed
  // are removed, and what stood at their names stays untouched.
  void TidyUp();
  void ReleaseRunTables();

  // Sends a notice (engine level 1 unless given) when a log callback is set.
  void Log(const std::string& text, int level = 1) const;

 protected:
  // Called when the task releases its files, before they are closed.
  virtual void ReleasingFiles() {}
  // The task run: transcode, tidy up, end notification.
  void Execute();
  void NotifyEnd();
  void SetupTranscode();
  int FindProgramStream(int programId, int mediaType) const;
  void ConfigureOutputStream(std::size_t n);
  void ConfigureStreamCopy(TOutputStreamState& output, TInputStreamState& source);
  // Throws when the output's container cannot hold the stream's codec.
  void RefuseCodecTheContainerCannotHold(const TOutputStreamState& output) const;
  void OpenPassLogFile(TOutputStreamState& output, std::size_t n);
  // Fails the task with a clear message when a re-encoded stream's size,
  // pixel or sample format, rate or channels cannot be handed to an encoder.
  void CheckEncoderSettings(const TOutputStreamState& output) const;
  // Makes (or remakes) the output's scaler for input pictures of this size
  // and format; fails the task when the scaler cannot take them.
  void PrepareScaler(TOutputStreamState& output, int width, int height, int format);
  // Fails the task when a video stream whose picture format was left to its
  // first decoded picture never gave one.
  void CheckPicturesArrived() const;
  void OpenEncoders();
  void OpenDecoders();
  void CopyMetaDataMaps();
  void OpenBitstreamFilters();
  void RunPacketLoop();
  // Offsets, scale and discontinuity correction of a packet just read;
  // false when its time is broken beyond repair and it is dropped.
  bool CorrectTimestamps(TInputStreamState& input, AVPacket& packet);
  // Damaged times in a container without discontinuities: a packet far
  // beyond the input's known end, or a stream jumping ahead of the rest of
  // its file, is moved back to where the stream was; false: drop it.
  bool AcceptPacketTime(TInputStreamState& input, AVPacket& packet);
  // End of an input file in its packets' corrected microseconds;
  // AV_NOPTS_VALUE when the file does not state its length.
  std::int64_t KnownInputEndUs(int fileIndex) const;
  void EndRun();
  int ProcessPacket(TInputStreamState& input, int inputIndex, const AVPacket* packet);
  void CopyPacket(TOutputStreamState& output, TInputStreamState& input, const AVPacket& packet);
  // Hands decoded data of the input to every output it feeds.
  void DeliverDecoded(TInputStreamState& input, int inputIndex, AVFrame* frame,
                      const AVSubtitle* subtitle, std::int64_t packetPts);
  void EncodeVideo(TOutputStreamState& output, TInputStreamState& input, AVFrame& picture);
  // Encodes the picture copies times from the output's next frame number on.
  void EncodePictureCopies(TOutputStreamState& output, AVFrame& picture, int copies);
  // At the end of a constant-rate stream, repeats its last picture until the
  // output covers the input's end.
  void FinishVideoSync(TOutputStreamState& output, const TInputStreamState& input);
  void EncodeAudio(TOutputStreamState& output, TInputStreamState& input, AVFrame& samples);
  // Drains an encoder at the end of the run.
  void FlushEncoder(TOutputStreamState& output);
  // Encodes one frame (none: drain) and writes what comes out; the size of
  // the last packet written, 0 when none.
  int SendToEncoder(TOutputStreamState& output, AVFrame* frame);
  // Takes an encoded packet's figures and writes it; stats is the encoder's
  // statistics text of that packet (two-pass), none when it has none.
  void WriteEncoded(TOutputStreamState& output, AVPacket& packet, const char* stats);
  // Encodes every whole encoder frame in the stream's FIFO; with last, also
  // a short final frame where the encoder takes one.
  void DrainAudioFifo(TOutputStreamState& output, bool last);
  void ApplyVolumeTo(AVFrame& frame) const;
  // Builds the input's video filter graph for an output; -1 with LastError
  // (possibly empty) when it cannot.
  int ConfigureFilters(TInputStreamState& input, TOutputStreamState& output);
  // The picture cropped, scaled and padded as the output wants it; none when
  // a crop or pad view cannot be made.
  AVFrame* FormatPicture(TOutputStreamState& output, AVFrame& picture);
  // Counts the decoded picture, decides whether the hooks run, deinterlaces
  // and runs them. Afterwards the picture may refer to the processed copy.
  void PreprocessVideoFrame(TInputStreamState& input, AVFrame& picture);
  // The picture as a bitmap through CustomHookCallback and back.
  void RunCustomHook(AVFrame& picture, std::int64_t ptsUs);
  // Hands an encoded picture to the preview window or PreviewBitmapCallback,
  // at most once per PreviewInterval. Takes PreviewLock(), but never holds it
  // while the user interface handles the picture.
  void DeliverPreview(const AVFrame& picture, const AVCodecContext& enc);
  // Appends the line of the frame just encoded to the statistics file.
  void WriteVideoStats(const TOutputStreamState& output, int frameSize);
  // Releases buffers, converters, the preview window and the statistics file
  // of a run, and resets the hook counters.
  void ReleaseHookState();
  void EncodeSubtitle(TOutputStreamState& output, TInputStreamState& input,
                      const AVSubtitle& subtitle, std::int64_t pts);
  // Filters the packet through the stream's bitstream filters and writes it.
  void WriteFrame(TOutputStreamState& output, AVPacket& packet);
  void ReportProgress(bool last);
  void AppendPsnr(std::string& text, const TOutputStreamState& output, bool last) const;
  // Passes a decoded picture (none: the end) through the input's filter graph
  // and hands on what comes out.
  void FilterPicture(TInputStreamState& input, int inputIndex, AVFrame* picture);
  // With rate emulation, waits until the input's position is due.
  void RateEmulation(const TInputStreamState& input) const;
  // Blocks while the task is paused, until resumed or asked to stop.
  void WaitWhilePaused();

  std::vector<std::uint8_t> SubtitleBuffer;  // encoded subtitles, made on first use
  std::thread worker_;
  mutable std::mutex pauseLock_;
  std::condition_variable pauseChanged_;
  bool paused_ = false;
  std::atomic<bool> ownThread_{false};  // the run has a thread of its own
};

}  // namespace trovenix
