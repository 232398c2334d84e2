#include "media/MediaPtr.h"

#include "media/AVCodecStubs.h"
#include "media/AVFilterStubs.h"
#include "media/AVFormatStubs.h"
#include "media/AVUtilStubs.h"
#include "media/SwResampleStubs.h"
#include "media/SwScaleStubs.h"

namespace trovenix {

void InputContextCloser::operator()(AVFormatContext* context) const {
  ff::avformat_close_input(&context);
}
void OutputContextFreer::operator()(AVFormatContext* context) const {
  ff::avformat_free_context(context);
}
void CodecContextFreer::operator()(AVCodecContext* context) const {
  ff::avcodec_free_context(&context);
}
void FrameFreer::operator()(AVFrame* frame) const { ff::av_frame_free(&frame); }
void PacketFreer::operator()(AVPacket* packet) const { ff::av_packet_free(&packet); }
void ScalerFreer::operator()(SwsContext* context) const { ff::sws_freeContext(context); }
void ResamplerFreer::operator()(SwrContext* context) const { ff::swr_free(&context); }
void FilterGraphFreer::operator()(AVFilterGraph* graph) const { ff::avfilter_graph_free(&graph); }
void BitstreamFilterFreer::operator()(AVBSFContext* context) const { ff::av_bsf_free(&context); }
void AudioFifoFreer::operator()(AVAudioFifo* fifo) const { ff::av_audio_fifo_free(fifo); }
void AvMemoryFreer::operator()(void* block) const { ff::av_free(block); }

}  // namespace trovenix
