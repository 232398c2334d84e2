// Decoded sound to encoded packets: volume, conversion to what the encoder
// takes, sync with the video, frames gathered through a FIFO.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "engine/AudioVolume.h"
#include "engine/FFmpeg.h"
#include "media/AVCodecStubs.h"
#include "media/AVFormatStubs.h"
#include "media/AVUtilStubs.h"
#include "media/SwResampleStubs.h"

namespace trovenix {
namespace {

// The most silence one buffer may carry in front of its samples, as bytes of
// 16-bit samples of the encoder's channels.
constexpr int MaxSilenceBytes = 131072;

bool SameFormat(const AVFrame& frame, const AVCodecContext& enc) {
  return frame.format == enc.sample_fmt && frame.sample_rate == enc.sample_rate &&
         ff::av_channel_layout_compare(&frame.ch_layout, &enc.ch_layout) == 0;
}

constexpr const char* FifoFailedText = "av_fifo_realloc2() failed";

// Room for the frame's samples as its format, count and layout say.
void AllocateSamples(AVFrame& frame) {
  if (ff::av_frame_get_buffer(&frame, 0) < 0) throw FFmpegException("av_malloc failed");
}

std::string Printf(const char* format, auto... args) {
  char text[256];
  std::snprintf(text, sizeof text, format, args...);
  return text;
}

}  // namespace

void TCustomFFmpeg::ApplyVolumeTo(AVFrame& frame) const {
  if (AudioVolume == 256) return;
  const int planar = ff::av_sample_fmt_is_planar(static_cast<AVSampleFormat>(frame.format));
  const int channels = frame.ch_layout.nb_channels;
  const int planes = planar ? channels : 1;
  const int perPlane = planar ? frame.nb_samples : frame.nb_samples * channels;
  for (int p = 0; p < planes; ++p)
    ApplyVolume(frame.extended_data[p], perPlane, frame.format, AudioVolume);
}

void TCustomFFmpeg::EncodeAudio(TOutputStreamState& output, TInputStreamState& input,
                                AVFrame& samples) {
  AVCodecContext* enc = output.Codec;
  // Damaged data may decode as samples of another format, rate or channel
  // count half way; the converter must be made for what arrives, and
  // samples without a format cannot be converted at all.
  if (samples.sample_rate <= 0 || samples.ch_layout.nb_channels <= 0 ||
      ff::av_get_bytes_per_sample(static_cast<AVSampleFormat>(samples.format)) <= 0)
    return;
  if (output.Resampler && (samples.format != output.ResamplerInFormat ||
                           samples.sample_rate != output.ResamplerInRate ||
                           samples.ch_layout.nb_channels != output.ResamplerInChannels))
    output.Resampler.reset();
  // A resampler is made on the first buffer that needs one and kept while
  // the samples keep their format.
  if (!output.Resampler && (output.AudioResample || !SameFormat(samples, *enc))) {
    AVChannelLayout in{};
    if (samples.ch_layout.order == AV_CHANNEL_ORDER_UNSPEC)
      ff::av_channel_layout_default(&in, samples.ch_layout.nb_channels);
    else
      ff::av_channel_layout_copy(&in, &samples.ch_layout);
    SwrContext* resampler = nullptr;
    const int made = ff::swr_alloc_set_opts2(
        &resampler, &enc->ch_layout, enc->sample_fmt, enc->sample_rate, &in,
        static_cast<AVSampleFormat>(samples.format), samples.sample_rate, 0, nullptr);
    ff::av_channel_layout_uninit(&in);
    output.Resampler.reset(resampler);
    if (made < 0 || ff::swr_init(resampler) < 0) {
      output.Resampler.reset();
      throw FFmpegException(Printf("Can not resample %d channels @ %d Hz to %d channels @ %d Hz",
                                   samples.ch_layout.nb_channels, samples.sample_rate,
                                   enc->ch_layout.nb_channels, enc->sample_rate));
    }
    output.ResamplerInFormat = samples.format;
    output.ResamplerInRate = samples.sample_rate;
    output.ResamplerInChannels = samples.ch_layout.nb_channels;
  }
  if (!output.Fifo) {
    output.Fifo.reset(ff::av_audio_fifo_alloc(enc->sample_fmt, enc->ch_layout.nb_channels, 4096));
    if (!output.Fifo) throw FFmpegException(FifoFailedText);
  }

  // Which input samples to take, and how much silence goes first.
  int offset = 0;
  int count = samples.nb_samples;
  int silence = 0;
  const double inPts = static_cast<double>(output.SyncInput->Pts - StartTime) / 1000000.0;
  const int queued = ff::av_audio_fifo_size(output.Fifo.get());
  if (AudioSyncMethod == 0) {
    // Frames are timed by the samples sent. Decoded chunks carry times that
    // are rounded to the container's time base and, with codecs whose blocks
    // overlap (Vorbis), off by part of a block; following them frame by frame
    // makes times that stand still or go back, which muxers refuse. The input
    // moves the count only at its first samples and across a real gap, and
    // never backwards: times already written stay behind.
    const std::int64_t inputAt = std::llrint(inPts * enc->sample_rate) - queued;
    if (!output.AudioTimed) {
      output.SyncOpts = inputAt;
      output.AudioTimed = true;
    } else if (static_cast<double>(inputAt - output.SyncOpts) >
               AudioDriftThreshold * enc->sample_rate) {
      output.SyncOpts = inputAt;
    }
  } else {
    const double delta = inPts * enc->sample_rate - static_cast<double>(output.SyncOpts) - queued;
    if (std::fabs(delta) > 50) {
      if (input.IsStart || std::fabs(delta) > AudioDriftThreshold * enc->sample_rate) {
        const double inputDelta = delta * samples.sample_rate / enc->sample_rate;
        if (inputDelta < 0) {
          const int drop = std::min(static_cast<int>(-inputDelta), count);
          offset = drop;
          count -= drop;
          if (Verbose > 2) Log(Printf("discarding %d audio samples", static_cast<int>(-delta)));
          if (count == 0) return;
          input.IsStart = false;
        } else {
          const int frameBytes = 2 * enc->ch_layout.nb_channels;
          silence = static_cast<int>(delta);
          if ((silence + count) * frameBytes <= MaxSilenceBytes)
            input.IsStart = false;
          else
            silence = std::max(0, MaxSilenceBytes / frameBytes - count);
          if (Verbose > 2)
            Log(Printf("adding %d audio samples of silence", static_cast<int>(delta)));
        }
      } else if (AudioSyncMethod > 1 && output.Resampler) {
        const int compensation =
            std::clamp(static_cast<int>(delta), -AudioSyncMethod, AudioSyncMethod);
        if (Verbose > 2)
          Log(Printf("compensating audio timestamp drift:%.2f compensation:%d in:%d", delta,
                     compensation, enc->sample_rate));
        ff::swr_set_compensation(output.Resampler.get(), compensation, enc->sample_rate);
      }
    }
  }

  if (silence > 0) {
    FramePtr quiet(ff::av_frame_alloc());
    quiet->format = enc->sample_fmt;
    quiet->nb_samples = silence;
    ff::av_channel_layout_copy(&quiet->ch_layout, &enc->ch_layout);
    AllocateSamples(*quiet);
    ff::av_samples_set_silence(quiet->extended_data, 0, silence, enc->ch_layout.nb_channels,
                               enc->sample_fmt);
    ff::av_audio_fifo_write(output.Fifo.get(), reinterpret_cast<void**>(quiet->extended_data),
                            silence);
  }

  // The samples in the encoder's format.
  const int bytesPerSample =
      ff::av_get_bytes_per_sample(static_cast<AVSampleFormat>(samples.format));
  const int planar = ff::av_sample_fmt_is_planar(static_cast<AVSampleFormat>(samples.format));
  std::uint8_t* in[AV_NUM_DATA_POINTERS] = {};
  const int planes = planar ? samples.ch_layout.nb_channels : 1;
  for (int p = 0; p < planes && p < AV_NUM_DATA_POINTERS; ++p)
    in[p] = samples.extended_data[p] + static_cast<std::ptrdiff_t>(offset) * bytesPerSample *
                                           (planar ? 1 : samples.ch_layout.nb_channels);
  std::uint8_t** data = in;
  int converted = count;
  if (output.Resampler) {
    const int room = ff::swr_get_out_samples(output.Resampler.get(), count);
    FramePtr& buffer = output.Converted;
    if (!buffer || buffer->nb_samples < room) {
      buffer.reset(ff::av_frame_alloc());
      buffer->format = enc->sample_fmt;
      buffer->nb_samples = room;
      ff::av_channel_layout_copy(&buffer->ch_layout, &enc->ch_layout);
      AllocateSamples(*buffer);
    }
    converted = ff::swr_convert(output.Resampler.get(), buffer->extended_data, room,
                                const_cast<const std::uint8_t**>(in), count);
    if (converted < 0) {
      if (ExitOnError) throw FFmpegException("av_audio_convert() failed");
      Log("av_audio_convert() failed", 0);
      return;
    }
    data = buffer->extended_data;
  }
  if (converted <= 0) return;
  if (ff::av_audio_fifo_write(output.Fifo.get(), reinterpret_cast<void**>(data), converted) <
      converted)
    throw FFmpegException(FifoFailedText);
  if (output.PrimingToDrop > 0) {
    // The FIFO's first sample stays at the time SyncOpts names.
    const int dropped = std::min(output.PrimingToDrop, ff::av_audio_fifo_size(output.Fifo.get()));
    ff::av_audio_fifo_drain(output.Fifo.get(), dropped);
    output.SyncOpts += dropped;
    output.PrimingToDrop -= dropped;
  }
  DrainAudioFifo(output, false);
}

void TCustomFFmpeg::DrainAudioFifo(TOutputStreamState& output, bool last) {
  AVCodecContext* enc = output.Codec;
  const bool anySize =
      enc->frame_size <= 1 || (enc->codec->capabilities & AV_CODEC_CAP_VARIABLE_FRAME_SIZE);
  for (;;) {
    const int queued = ff::av_audio_fifo_size(output.Fifo.get());
    int take = anySize ? queued : enc->frame_size;
    if (queued <= 0) return;
    if (queued < take) {
      // A short last frame goes out only where the encoder accepts one.
      if (!last || !(enc->codec->capabilities & AV_CODEC_CAP_SMALL_LAST_FRAME)) return;
      take = queued;
    }
    FramePtr& frame = output.EncoderFrame;
    if (!frame || frame->nb_samples < take || ff::av_frame_make_writable(frame.get()) < 0 ||
        frame->nb_samples != take) {
      frame.reset(ff::av_frame_alloc());
      frame->format = enc->sample_fmt;
      frame->nb_samples = take;
      frame->sample_rate = enc->sample_rate;
      ff::av_channel_layout_copy(&frame->ch_layout, &enc->ch_layout);
      AllocateSamples(*frame);
    }
    ff::av_audio_fifo_read(output.Fifo.get(), reinterpret_cast<void**>(frame->extended_data), take);
    frame->pts = output.SyncOpts;
    SendToEncoder(output, frame.get());
    output.SyncOpts += take;
  }
}

}  // namespace trovenix
