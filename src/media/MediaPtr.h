// Owning wrappers for media-library objects. Every deleter calls through the
// loaded entry points, so an object must be released while its library is
// still bound (the loader keeps libraries bound until the program ends).
#pragma once

#include <memory>

extern "C" {
struct AVCodecContext;
struct AVFormatContext;
struct AVFrame;
struct AVPacket;
struct SwsContext;
struct SwrContext;
struct AVFilterGraph;
struct AVBSFContext;
struct AVAudioFifo;
}

namespace trovenix {

// An opened input: closed with avformat_close_input.
struct InputContextCloser {
  void operator()(AVFormatContext* context) const;
};
// An output context: freed with avformat_free_context (its I/O is closed by
// whoever opened it).
struct OutputContextFreer {
  void operator()(AVFormatContext* context) const;
};
struct CodecContextFreer {
  void operator()(AVCodecContext* context) const;
};
struct FrameFreer {
  void operator()(AVFrame* frame) const;
};
struct PacketFreer {
  void operator()(AVPacket* packet) const;
};
struct ScalerFreer {
  void operator()(SwsContext* context) const;
};
struct ResamplerFreer {
  void operator()(SwrContext* context) const;
};
struct FilterGraphFreer {
  void operator()(AVFilterGraph* graph) const;
};
struct BitstreamFilterFreer {
  void operator()(AVBSFContext* context) const;
};
struct AudioFifoFreer {
  void operator()(AVAudioFifo* fifo) const;
};
// Memory from av_malloc.
struct AvMemoryFreer {
  void operator()(void* block) const;
};

using InputContextPtr = std::unique_ptr<AVFormatContext, InputContextCloser>;
using OutputContextPtr = std::unique_ptr<AVFormatContext, OutputContextFreer>;
using CodecContextPtr = std::unique_ptr<AVCodecContext, CodecContextFreer>;
using FramePtr = std::unique_ptr<AVFrame, FrameFreer>;
using PacketPtr = std::unique_ptr<AVPacket, PacketFreer>;
using ScalerPtr = std::unique_ptr<SwsContext, ScalerFreer>;
using ResamplerPtr = std::unique_ptr<SwrContext, ResamplerFreer>;
using FilterGraphPtr = std::unique_ptr<AVFilterGraph, FilterGraphFreer>;
using BitstreamFilterPtr = std::unique_ptr<AVBSFContext, BitstreamFilterFreer>;
using AudioFifoPtr = std::unique_ptr<AVAudioFifo, AudioFifoFreer>;
template <class T>
using AvMemoryPtr = std::unique_ptr<T, AvMemoryFreer>;

}  // namespace trovenix
