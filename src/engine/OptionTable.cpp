// The option vocabulary: each name either writes a field, calls a handler, or
// (when no row has it) goes to the library's option system.
#include <array>
#include <cmath>
#include <string_view>

#include "engine/FFmpeg.h"
#include "engine/OptionValues.h"

namespace trovenix {
namespace {

using TApply = void (*)(TCustomFFmpeg& task, const std::string& name, const std::string& value);

struct TOptionRow {
  std::string_view Name;
  TApply Apply;
};

// Value forms of the table.
bool Flag(const std::string& value) { return value != "0"; }
int Int(const std::string& value) { return ParseIntValue(value); }
float Real(const std::string& value) { return static_cast<float>(ParseRealValue(value)); }

void DoNothing(TCustomFFmpeg& task, const std::string& name, const std::string&);
void Unsupported(TCustomFFmpeg&, const std::string& name, const std::string&) {
  throw FFmpegException("TODO: option - " + name);
}

#define ROW(name, body) \
  TOptionRow { name, [](TCustomFFmpeg& t, const std::string& n, const std::string& v) { \
    (void)t; (void)n; (void)v; body; } }

// Looked up in this order; the first equal name decides.
const std::array OptionTable{
    TOptionRow{"L", DoNothing},
    TOptionRow{"h", DoNothing},
    TOptionRow{"version", DoNothing},
    TOptionRow{"formats", DoNothing},
    ROW("f", t.SetFormat(v)),
    TOptionRow{"i", DoNothing},
    TOptionRow{"y", DoNothing},
    ROW("map", t.AddStreamMap(v)),
    ROW("map_meta_data", t.AddMetaDataMap(v)),
    ROW("t", t.SetRecordingTime(t.ParseTime("t", v, true))),
    ROW("fs", t.LimitFilesize = ParseInt64Value(v)),
    ROW("ss", t.StartTime = t.ParseTime("ss", v, true)),
    ROW("itsoffset", t.InputTsOffset = t.ParseTime("itsoffset", v, true)),
    ROW("itsscale", t.SetInputTsScale(v)),
    ROW("timestamp", t.RecTimestamp = static_cast<std::int64_t>(std::nearbyint(
                         static_cast<double>(t.ParseTime("timestamp", v, false)) / 1000000.0))),
    ROW("metadata", t.AddMetadata(v)),
    ROW("dframes", t.MaxFrames[mkData] = Int(v)),
    TOptionRow{"benchmark", DoNothing},
    ROW("dump", t.PktDump = Flag(v)),
    ROW("hex", t.HexDump = Flag(v)),
    ROW("re", t.RateEmu = Flag(v)),
    ROW("loop_input", t.LoopInput = Flag(v)),
    ROW("loop_output", t.LoopOutput = Int(v)),
    ROW("v", t.SetVerbose(Int(v))),
    ROW("target", t.SetTarget(v)),
    TOptionRow{"threads", Unsupported},
    ROW("vsync", t.VideoSyncMethod = Int(v)),
    ROW("async", t.AudioSyncMethod = Int(v)),
    ROW("adrift_threshold", t.AudioDriftThreshold = Real(v)),
    ROW("vglobal", t.VideoGlobalHeader = Int(v)),
    ROW("copyts", t.CopyTs = true),
    ROW("shortest", t.Shortest = Flag(v)),
    ROW("dts_delta_threshold", t.DtsDeltaThreshold = Real(v)),
    ROW("programid", t.ProgramId = Int(v)),
    ROW("xerror", t.ExitOnError = true),
    ROW("copyinkf", t.CopyInitialNonKeyframes = Int(v)),
    ROW("b", t.SetBitRate(n, v)),
    ROW("vb", t.SetBitRate(n, v)),
    ROW("vframes", t.MaxFrames[mkVideo] = Int(v)),
    ROW("r", t.SetFrameRate(v)),
    ROW("s", t.SetFrameSize(v)),
    ROW("aspect", t.SetFrameAspectRatio(v)),
    ROW("pix_fmt", t.SetFramePixFmt(v)),
    ROW("croptop", t.SetCropTop(Int(v))),
    ROW("cropbottom", t.SetCropBottom(Int(v))),
    ROW("cropleft", t.SetCropLeft(Int(v))),
    ROW("cropright", t.SetCropRight(Int(v))),
    ROW("padtop", t.SetPadTop(Int(v))),
    ROW("padbottom", t.SetPadBottom(Int(v))),
    ROW("padleft", t.SetPadLeft(Int(v))),
    ROW("padright", t.SetPadRight(Int(v))),
    ROW("padcolor", t.SetPadColor(Int(v))),
    ROW("intra", t.IntraOnly = Flag(v)),
    ROW("vn", t.VideoDisable = Flag(v)),
    ROW("vdt", t.VideoDiscard = Int(v)),
    ROW("qscale", t.SetQScale(Real(v))),
    ROW("rc_override", t.RcOverride = v),
    ROW("vcodec", t.SetVideoCodec(v)),
    ROW("me_threshold", t.MeThreshold = Int(v)),
    ROW("sameq", t.SameQuality = Flag(v)),
    ROW("pass", t.SetPass(Int(v))),
    ROW("passlogfile", t.PassLogFilePrefix = v),
    ROW("deinterlace", t.Deinterlace = Flag(v)),
    ROW("psnr", t.Psnr = Flag(v)),
    ROW("vstats", t.SetVstats(true)),
    ROW("vstats_file", t.SetVstatsFile(v)),
    ROW("vhook", t.AddVideoHook(v)),
    ROW("vfilters", t.SetVideoFilters(v)),
    ROW("intra_matrix", t.SetIntraMatrix(v)),
    ROW("inter_matrix", t.SetInterMatrix(v)),
    ROW("top", t.TopFieldFirst = Int(v)),
    ROW("dc", t.IntraDcPrecision = Int(v)),
    ROW("vtag", t.SetVideoTag(v)),
    ROW("newvideo", t.AddVideoStream()),
    ROW("qphist", t.QpHist = Flag(v)),
    ROW("force_fps", t.ForceFps = Flag(v)),
    ROW("ab", t.SetBitRate(n, v)),
    ROW("aframes", t.MaxFrames[mkAudio] = Int(v)),
    ROW("aq", t.AudioQScale = Real(v)),
    ROW("ar", t.SetAudioRate(Int(v))),
    ROW("ac", t.SetAudioChannels(Int(v))),
    ROW("an", t.AudioDisable = Flag(v)),
    ROW("acodec", t.SetAudioCodec(v)),
    ROW("atag", t.SetAudioTag(v)),
    ROW("vol", t.AudioVolume = Int(v)),
    ROW("newaudio", t.AddAudioStream()),
    ROW("alang", t.AudioLanguage = v),
    ROW("sample_fmt", t.SetAudioSampleFmt(v)),
    ROW("sn", t.SubtitleDisable = Flag(v)),
    ROW("scodec", t.SetSubtitleCodec(v)),
    ROW("newsubtitle", t.AddSubtitleStream()),
    ROW("slang", t.SubtitleLanguage = v),
    ROW("vc", t.VideoChannel = Int(v)),
    ROW("tvstd", t.VideoStandard = v),
    ROW("isync", t.InputSync = Flag(v)),
    ROW("muxdelay", t.MuxMaxDelay = Real(v)),
    ROW("muxpreload", t.MuxPreload = Real(v)),
    ROW("absf", t.AddBitstreamFilter(n, v)),
    ROW("vbsf", t.AddBitstreamFilter(n, v)),
    ROW("sbsf", t.AddBitstreamFilter(n, v)),
    TOptionRow{"apre", DoNothing},
    TOptionRow{"vpre", DoNothing},
    TOptionRow{"spre", DoNothing},
};
#undef ROW

void DoNothing(TCustomFFmpeg& task, const std::string& name, const std::string&) {
  task.Log("Do nothing: option - " + name);
}

}  // namespace

void TCustomFFmpeg::ParseOption(const std::string& name, const std::string& value) {
  for (const TOptionRow& row : OptionTable) {
    if (row.Name == name) {
      row.Apply(*this, name, value);
      return;
    }
  }
  SetDefaultOption(name, value);
}

}  // namespace trovenix
