// Setting up a run: which input feeds which output, copy or re-encode,
// codecs opened, headers written.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <string_view>

#include "engine/ContainerCodecs.h"
#include "engine/FFmpeg.h"
#include "engine/PictureRotation.h"
#include "engine/PictureScaler.h"
#include "media/AVCodecStubs.h"
#include "media/AVFormatStubs.h"
#include "media/AVUtilStubs.h"
#include "media/CoverArt.h"
#include "media/DisplayRotation.h"
#include "media/FFmpegLoader.h"
#include "media/SwScaleStubs.h"

namespace trovenix {
namespace {

std::string Printf(const char* format, auto... args) {
  char text[512];
  std::snprintf(text, sizeof text, format, args...);
  return text;
}

AVMediaType TypeOf(const AVStream* stream) {
  return stream->codecpar->codec_type;
}

void DumpOutput(AVFormatContext* context, int index) {
  ff::av_dump_format(context, index, context->url, 1);
}

// Option flags of the library option store that fit a decoder of a kind.
int DecoderOptionMask(AVMediaType type) {
  switch (type) {
    case AVMEDIA_TYPE_VIDEO:
      return AV_OPT_FLAG_VIDEO_PARAM | AV_OPT_FLAG_DECODING_PARAM;
    case AVMEDIA_TYPE_AUDIO:
      return AV_OPT_FLAG_AUDIO_PARAM | AV_OPT_FLAG_DECODING_PARAM;
    case AVMEDIA_TYPE_SUBTITLE:
      return AV_OPT_FLAG_SUBTITLE_PARAM | AV_OPT_FLAG_DECODING_PARAM;
    default:
      return AV_OPT_FLAG_DECODING_PARAM;
  }
}

// A copied picture stream is shown as its source was: the display matrix
// goes with it.
void CopyDisplayMatrix(const AVStream& from, AVStream& to) {
  std::size_t size = 0;
  const std::uint8_t* matrix = ff::av_stream_get_side_data(&from, AV_PKT_DATA_DISPLAYMATRIX, &size);
  if (!matrix || size == 0) return;
  std::uint8_t* copy = ff::av_stream_new_side_data(&to, AV_PKT_DATA_DISPLAYMATRIX, size);
  if (!copy) throw FFmpegException("Could not copy the display matrix");
  std::memcpy(copy, matrix, size);
}

// Containers whose readers skip an encoder's start-up delay: edit lists of
// the QuickTime family, the MP3 muxer's header, or a delay field of their own.
bool KeepsEncoderDelay(const AVOutputFormat& format) {
  static constexpr std::string_view Keeping[] = {"mov",  "mp4", "ipod",     "3gp",  "3g2",
                                                 "psp",  "mp3", "matroska", "webm", "ogg",
                                                 "opus", "f4v", "ismv"};
  const std::string_view name = format.name;
  return std::find(std::begin(Keeping), std::end(Keeping), name) != std::end(Keeping);
}

bool HasPictures(const TOutputFile& file) {
  return std::any_of(file.Streams.begin(), file.Streams.end(), [](const TOutputStreamConfig& s) {
    return s.Codec->codec_type == AVMEDIA_TYPE_VIDEO && !s.CoverArt;
  });
}

}  // namespace

void TCustomFFmpeg::SetupTranscode() {
  Run = TRunTables{};
  // Input files and streams.
  int streamTotal = 0;
  for (std::size_t f = 0; f < InputFiles.size(); ++f) {
    const int count = static_cast<int>(InputFiles[f]->nb_streams);
    Run.Files.push_back({false, streamTotal, count});
    for (int s = 0; s < count; ++s) {
      auto input = std::make_unique<TInputStreamState>();
      input->FileIndex = static_cast<int>(f);
      input->StreamIndex = s;
      input->Stream = InputFiles[f]->streams[s];
      if (RateEmu) input->WallStart = ff::av_gettime();
      Run.InputStreams.push_back(std::move(input));
    }
    streamTotal += count;
  }

  // Every output needs a stream; maps must fit.
  int outputTotal = 0;
  for (std::size_t f = 0; f < OutputFiles.size(); ++f) {
    if (OutputFiles[f]->Streams.empty()) {
      DumpOutput(OutputFiles[f]->Context.get(), static_cast<int>(f));
      throw FFmpegException(
          Printf("Output file #%d does not contain any stream", static_cast<int>(f)));
    }
    outputTotal += static_cast<int>(OutputFiles[f]->Streams.size());
  }
  if (!StreamMaps.empty() && static_cast<int>(StreamMaps.size()) != outputTotal)
    throw FFmpegException("Number of stream maps must match number of output streams");
  const auto validStream = [this](int file, int stream) {
    return file >= 0 && file < static_cast<int>(Run.Files.size()) && stream >= 0 &&
           stream < Run.Files[file].StreamCount;
  };
  for (const TStreamMap& map : StreamMaps) {
    if (!validStream(map.FileIndex, map.StreamIndex))
      throw FFmpegException(
          Printf("Could not find input stream #%d.%d", map.FileIndex, map.StreamIndex));
    if (!validStream(map.SyncFileIndex, map.SyncStreamIndex))
      throw FFmpegException(
          Printf("Could not find sync stream #%d.%d", map.SyncFileIndex, map.SyncStreamIndex));
  }

  // Output streams and their sources.
  for (std::size_t f = 0; f < OutputFiles.size(); ++f) {
    TOutputFile& file = *OutputFiles[f];
    for (std::size_t s = 0; s < file.Streams.size(); ++s) {
      auto output = std::make_unique<TOutputStreamState>();
      output->FileIndex = static_cast<int>(f);
      output->StreamIndex = static_cast<int>(s);
      output->Config = &file.Streams[s];
      output->Stream = file.Streams[s].Stream;
      output->Codec = file.Streams[s].Codec.get();
      const AVMediaType type = output->Codec->codec_type;
      const std::size_t n = Run.OutputStreams.size();
      int source = -1;
      if (!StreamMaps.empty()) {
        const TStreamMap& map = StreamMaps[n];
        source = Run.Files[map.FileIndex].FirstStream + map.StreamIndex;
        if (TypeOf(Run.InputStreams[source]->Stream) != type) {
          DumpOutput(file.Context.get(), static_cast<int>(f));
          throw FFmpegException(Printf("Codec type mismatch for mapping #%d.%d -> #%d.%d",
                                       map.FileIndex, map.StreamIndex, static_cast<int>(f),
                                       static_cast<int>(s)));
        }
        output->SyncInput =
            Run.InputStreams[Run.Files[map.SyncFileIndex].FirstStream + map.SyncStreamIndex].get();
      } else if (ProgramId != 0) {
        source = FindProgramStream(ProgramId, type);
      } else {
        // A cover picture feeds only the cover of an output, and a cover only that.
        const bool cover = file.Streams[s].CoverArt;
        const auto fits = [&](std::size_t i) {
          const AVStream* candidate = Run.InputStreams[i]->Stream;
          return TypeOf(candidate) == type && IsCoverArt(*candidate) == cover;
        };
        for (std::size_t i = 0; i < Run.InputStreams.size() && source < 0; ++i)
          if (Run.InputStreams[i]->Discard && fits(i)) source = static_cast<int>(i);
        // Nothing left unused: share the last stream of that kind.
        for (std::size_t i = Run.InputStreams.size(); i-- > 0 && source < 0;)
          if (fits(i)) source = static_cast<int>(i);
      }
      if (source < 0) {
        DumpOutput(file.Context.get(), static_cast<int>(f));
        throw FFmpegException(Printf("Could not find input stream matching output stream #%d.%d",
                                     static_cast<int>(f), static_cast<int>(s)));
      }
      output->SourceIndex = source;
      Run.InputStreams[source]->Discard = false;
      if (StreamMaps.empty()) output->SyncInput = Run.InputStreams[source].get();
      Run.OutputStreams.push_back(std::move(output));
    }
  }

  for (std::size_t n = 0; n < Run.OutputStreams.size(); ++n) {
    ConfigureOutputStream(n);
    RefuseCodecTheContainerCannotHold(*Run.OutputStreams[n]);
  }

  for (std::size_t f = 0; f < OutputFiles.size(); ++f)
    DumpOutput(OutputFiles[f]->Context.get(), static_cast<int>(f));
  if (Verbose >= 0) {
    Log("Stream mapping:");
    for (const auto& output : Run.OutputStreams) {
      const TInputStreamState& source = *Run.InputStreams[output->SourceIndex];
      Log(Printf("  Stream #%d.%d -> #%d.%d", source.FileIndex, source.StreamIndex,
                 output->FileIndex, output->StreamIndex));
      if (output->SyncInput != &source)
        Log(Printf(" [sync #%d.%d]", output->SyncInput->FileIndex, output->SyncInput->StreamIndex));
    }
  }

  OpenEncoders();
  OpenDecoders();
  for (auto& input : Run.InputStreams) {
    input->Pts = 0;
    input->NextPts = AV_NOPTS_VALUE;
    input->IsStart = true;
  }
  CopyMetaDataMaps();
  OpenBitstreamFilters();
  for (std::size_t f = 0; f < OutputFiles.size(); ++f)
    if (ff::avformat_write_header(OutputFiles[f]->Context.get(), nullptr) < 0)
      throw FFmpegException(
          Printf("Could not write header for output file #%d (incorrect codec parameters ?)",
                 static_cast<int>(f)));
  TimerStart = ff::av_gettime();
}

int TCustomFFmpeg::FindProgramStream(int programId, int mediaType) const {
  for (std::size_t f = 0; f < InputFiles.size(); ++f) {
    const AVFormatContext* file = InputFiles[f].get();
    for (unsigned p = 0; p < file->nb_programs; ++p) {
      const AVProgram* program = file->programs[p];
      if (program->id != programId) continue;
      for (unsigned k = 0; k < program->nb_stream_indexes; ++k) {
        const int candidate = Run.Files[f].FirstStream + static_cast<int>(program->stream_index[k]);
        if (Run.InputStreams[candidate]->Discard &&
            file->streams[program->stream_index[k]]->codecpar->codec_type == mediaType)
          return candidate;
      }
    }
  }
  return -1;
}

void TCustomFFmpeg::ConfigureOutputStream(std::size_t n) {
  TOutputStreamState& output = *Run.OutputStreams[n];
  TInputStreamState& source = *Run.InputStreams[output.SourceIndex];
  AVStream* stream = output.Stream;
  AVCodecContext* c = output.Codec;
  const AVCodecParameters* in = source.Stream->codecpar;

  if (const AVDictionaryEntry* language =
          ff::av_dict_get(source.Stream->metadata, "language", nullptr, 0))
    if (!ff::av_dict_get(stream->metadata, "language", nullptr, 0))
      ff::av_dict_set(&stream->metadata, "language", language->value, 0);
  stream->disposition = source.Stream->disposition;

  if (output.Config->StreamCopy) {
    ConfigureStreamCopy(output, source);
  } else {
    switch (c->codec_type) {
      case AVMEDIA_TYPE_VIDEO: {
        // Pictures are turned upright before anything else, so every size
        // below is the picture as it is seen.
        const int rotation = DisplayRotationDegrees(*source.Stream);
        const int inWidth = SwapsSides(rotation) ? in->height : in->width;
        const int inHeight = SwapsSides(rotation) ? in->width : in->height;
        if (rotation != 0 && !UseVideoFilters)
          output.Rotation = std::make_unique<TPictureRotation>(rotation);
        output.VideoCrop = CropTop + CropBottom + CropLeft + CropRight != 0;
        output.VideoPad = PadTop + PadBottom + PadLeft + PadRight != 0;
        output.VideoResample =
            !(inWidth - (CropLeft + CropRight) + PadLeft + PadRight == c->width &&
              inHeight - (CropTop + CropBottom) + PadTop + PadBottom == c->height &&
              c->pix_fmt == in->format);
        if (output.VideoCrop) {
          output.TopBand = CropTop;
          output.LeftBand = CropLeft;
        }
        if (output.VideoPad) {
          output.PadTop = PadTop;
          output.PadBottom = PadBottom;
          output.PadLeft = PadLeft;
          output.PadRight = PadRight;
        }
        CheckEncoderSettings(output);
        output.EncodingNeeded = true;
        source.DecodingNeeded = true;
        LastError.clear();
        // A filter chain does the scaling itself and may change the encoded size.
        if (UseVideoFilters && ConfigureFilters(source, output) < 0)
          throw FFmpegException(LastError.empty() ? "Error opening filters!"
                                                  : "Error opening filters: " + LastError);
        if (output.VideoPad || output.VideoResample) {
          if (!output.ResamplePictures.Writable(c->pix_fmt, c->width, c->height))
            throw FFmpegException(output.VideoResample
                                      ? "Cannot allocate temp picture, check pix fmt"
                                      : "avpicture_alloc fail");
        }
        // A source whose picture format is not known yet gets its scaler
        // from its first decoded picture.
        if (output.VideoResample && !UseVideoFilters) {
          if (SourcePictureKnown(*in))
            PrepareScaler(output, inWidth - CropLeft - CropRight, inHeight - CropTop - CropBottom,
                          in->format);
          else
            output.AwaitsFirstPicture = true;
        }
        break;
      }
      case AVMEDIA_TYPE_AUDIO:
        CheckEncoderSettings(output);
        output.AudioResample = !(c->sample_rate == in->sample_rate && AudioSyncMethod < 2);
        break;
      case AVMEDIA_TYPE_SUBTITLE:
        break;
      default:
        throw FFmpegException("invalid codec_type of output stream");
    }
    output.EncodingNeeded = true;
    source.DecodingNeeded = true;
    if (c->flags & (AV_CODEC_FLAG_PASS1 | AV_CODEC_FLAG_PASS2)) OpenPassLogFile(output, n);
    // What the encoder is asked for, so the dump of the output shows it; the
    // opened encoder fills in the rest.
    ff::avcodec_parameters_from_context(stream->codecpar, c);
  }
}

void TCustomFFmpeg::RefuseCodecTheContainerCannotHold(const TOutputStreamState& output) const {
  // A tag the user forced says that the user knows better.
  if (output.Codec->codec_tag != 0) return;
  const std::string refusal = ContainerRefusal(*OutputFiles[output.FileIndex]->Context->oformat,
                                               output.Stream->codecpar->codec_id);
  if (!refusal.empty())
    throw FFmpegException(
        Printf("%s (output stream #%d.%d)", refusal.c_str(), output.FileIndex, output.StreamIndex));
}

void TCustomFFmpeg::ConfigureStreamCopy(TOutputStreamState& output, TInputStreamState& source) {
  AVCodecParameters* par = output.Stream->codecpar;
  const AVCodecParameters* in = source.Stream->codecpar;
  const AVOutputFormat* format = OutputFiles[output.FileIndex]->Context->oformat;
  const unsigned forcedTag = output.Codec->codec_tag;
  const AVRational aspect = output.Stream->sample_aspect_ratio;
  ff::avcodec_parameters_copy(par, in);
  // Keep the source's tag only where the container accepts it.
  par->codec_tag = 0;
  if (forcedTag != 0)
    par->codec_tag = forcedTag;
  else if (!format->codec_tag ||
           ff::av_codec_get_id(format->codec_tag, in->codec_tag) != AV_CODEC_ID_NONE ||
           ff::av_codec_get_tag(format->codec_tag, in->codec_id) == 0)
    par->codec_tag = in->codec_tag;
  output.Stream->time_base = source.Stream->time_base;
  switch (in->codec_type) {
    case AVMEDIA_TYPE_AUDIO:
      if (AudioVolume != 256)
        throw FFmpegException("-acodec copy and -vol are incompatible (frames are not decoded)");
      if ((par->block_align == 1 && par->codec_id == AV_CODEC_ID_MP3) ||
          par->codec_id == AV_CODEC_ID_AC3)
        par->block_align = 0;
      break;
    case AVMEDIA_TYPE_VIDEO:
      // A cover picture is never shown to hooks or the preview.
      if (output.Config->CoverArt) {
        par->codec_tag = 0;
        output.Stream->disposition = AV_DISPOSITION_ATTACHED_PIC;
        break;
      }
      if (CustomHookCallback)
        throw FFmpegException(
            "-vcodec copy and CustomHook are incompatible (frames are not decoded)");
      if (UsingVhook)
        throw FFmpegException("-vcodec copy and -vhook are incompatible (frames are not decoded)");
      if (PreviewFlags != 0)
        throw FFmpegException(
            "-vcodec copy and PostHooks are incompatible (frames are not decoded)");
      if (aspect.num != 0) par->sample_aspect_ratio = aspect;
      CopyDisplayMatrix(*source.Stream, *output.Stream);
      break;
    case AVMEDIA_TYPE_SUBTITLE:
      break;
    default:
      throw FFmpegException("invalid codec_type of output stream");
  }
}

void TCustomFFmpeg::OpenPassLogFile(TOutputStreamState& output, std::size_t n) {
  const std::string name =
      (PassLogFilePrefix.empty() ? std::string("ffmpeg2pass") : PassLogFilePrefix) + "-" +
      std::to_string(n) + ".log";
  if (output.Codec->flags & AV_CODEC_FLAG_PASS1) {
    output.LogFile.reset(std::fopen(name.c_str(), "w"));
    if (!output.LogFile)
      throw FFmpegException("Cannot write log file " + name + " for pass-1 encoding");
    return;
  }
  CFilePtr file(std::fopen(name.c_str(), "r"));
  if (!file) throw FFmpegException("Cannot read log file " + name + " for pass-2 encoding");
  std::fseek(file.get(), 0, SEEK_END);
  const long size = std::ftell(file.get());
  std::fseek(file.get(), 0, SEEK_SET);
  output.StatsIn.reset(static_cast<char*>(ff::av_malloc(static_cast<std::size_t>(size) + 1)));
  if (!output.StatsIn) throw FFmpegException("Could not allocate log buffer");
  const std::size_t read =
      std::fread(output.StatsIn.get(), 1, static_cast<std::size_t>(size), file.get());
  output.StatsIn.get()[read] = '\0';
  output.Codec->stats_in = output.StatsIn.get();
}

void TCustomFFmpeg::OpenEncoders() {
  for (std::size_t n = 0; n < Run.OutputStreams.size(); ++n) {
    TOutputStreamState& output = *Run.OutputStreams[n];
    if (!output.EncodingNeeded) continue;
    const AVCodec* encoder = output.Config->Encoder
                                 ? output.Config->Encoder
                                 : ff::avcodec_find_encoder(output.Codec->codec_id);
    if (!encoder)
      throw FFmpegException(Printf("Unsupported codec for output stream #%d.%d", output.FileIndex,
                                   output.StreamIndex));
    int opened;
    {
      std::lock_guard<std::mutex> guard(CodecLock());
      opened = ff::avcodec_open2(output.Codec, encoder, nullptr);
    }
    if (opened < 0)
      throw FFmpegException(Printf(
          "Error while opening codec for output stream #%d.%d - maybe incorrect parameters such as "
          "bit_rate, rate, width or height",
          output.FileIndex, output.StreamIndex));
    ff::avcodec_parameters_from_context(output.Stream->codecpar, output.Codec);
    output.Stream->time_base = output.Codec->time_base;
    // An encoder's first samples are its start-up delay, which it times
    // before zero. A container without edit lists cannot say to skip them:
    // its muxer moves every stream later by the delay instead, and a
    // picture stream only by whole frames, which puts the sound ahead. So
    // the sound starts as late as the delay there, the delay in place of its
    // first samples, and nothing needs moving. Sound without pictures keeps
    // every sample: it has nothing to keep in step with.
    const TOutputFile& file = *OutputFiles[output.FileIndex];
    if (output.Codec->codec_type == AVMEDIA_TYPE_AUDIO && output.Codec->initial_padding > 0 &&
        !KeepsEncoderDelay(*file.Context->oformat) && HasPictures(file))
      output.PrimingToDrop = output.Codec->initial_padding;
    // Video statistics read the size of each picture's packet as it is made;
    // otherwise the picture is encoded while the next one is decoded.
    if (output.Codec->codec_type == AVMEDIA_TYPE_VIDEO && VstatsFileName.empty())
      output.Encoder = std::make_unique<TEncoderThread>(output.Codec);
  }
}

void TCustomFFmpeg::OpenDecoders() {
  for (std::size_t i = 0; i < Run.InputStreams.size(); ++i) {
    TInputStreamState& input = *Run.InputStreams[i];
    if (!input.DecodingNeeded) continue;
    const AVCodecParameters* par = input.Stream->codecpar;
    const AVCodec* decoder = i < InputCodecs.size() && InputCodecs[i]
                                 ? InputCodecs[i]
                                 : ff::avcodec_find_decoder(par->codec_id);
    if (!decoder)
      throw FFmpegException(Printf("Unsupported codec (id=%d) for input stream #%d.%d",
                                   static_cast<int>(par->codec_id), input.FileIndex,
                                   input.StreamIndex));
    input.Decoder.reset(ff::avcodec_alloc_context3(decoder));
    ff::avcodec_parameters_to_context(input.Decoder.get(), par);
    const int kind = par->codec_type >= 0 && par->codec_type < 5 ? static_cast<int>(par->codec_type)
                                                                 : static_cast<int>(mkData);
    ApplyStoredOptions(input.Decoder.get(), OptionContexts.CodecOpts[kind].get(),
                       DecoderOptionMask(par->codec_type));
    input.Decoder->thread_count = ThreadCount;
    input.Decoder->pkt_timebase = input.Stream->time_base;
    input.Frame.reset(ff::av_frame_alloc());
    int opened;
    {
      std::lock_guard<std::mutex> guard(CodecLock());
      opened = ff::avcodec_open2(input.Decoder.get(), decoder, nullptr);
    }
    if (opened < 0)
      throw FFmpegException(Printf("Error while opening codec for input stream #%d.%d",
                                   input.FileIndex, input.StreamIndex));
  }
}

void TCustomFFmpeg::CopyMetaDataMaps() {
  for (const TMetaDataMap& map : MetaDataMaps) {
    if (map.OutFile < 0 || map.OutFile >= static_cast<int>(OutputFiles.size()))
      throw FFmpegException(Printf("Invalid output file index %d map_meta_data(%d,%d)", map.OutFile,
                                   map.OutFile, map.InFile));
    if (map.InFile < 0 || map.InFile >= static_cast<int>(InputFiles.size()))
      throw FFmpegException(Printf("Invalid input file index %d map_meta_data(%d,%d)", map.InFile,
                                   map.OutFile, map.InFile));
    ff::av_dict_copy(&OutputFiles[map.OutFile]->Context->metadata, InputFiles[map.InFile]->metadata,
                     0);
  }
}

void TCustomFFmpeg::OpenBitstreamFilters() {
  for (auto& output : Run.OutputStreams) {
    for (const std::string& name : output->Config->BitstreamFilters) {
      const AVBitStreamFilter* filter = ff::av_bsf_get_by_name(name.c_str());
      AVBSFContext* context = nullptr;
      const std::string failed = "Cannot initialize bitstream filter " + name;
      if (!filter || ff::av_bsf_alloc(filter, &context) < 0) throw FFmpegException(failed);
      BitstreamFilterPtr owned(context);
      const AVCodecParameters* in = output->BitstreamFilters.empty()
                                        ? output->Stream->codecpar
                                        : output->BitstreamFilters.back()->par_out;
      ff::avcodec_parameters_copy(context->par_in, in);
      context->time_base_in = output->Stream->time_base;
      if (ff::av_bsf_init(context) < 0) throw FFmpegException(failed);
      output->BitstreamFilters.push_back(std::move(owned));
    }
    // The container is told what the last filter gives out.
    if (!output->BitstreamFilters.empty())
      ff::avcodec_parameters_copy(output->Stream->codecpar,
                                  output->BitstreamFilters.back()->par_out);
  }
}

}  // namespace trovenix
