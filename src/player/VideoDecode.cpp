// The video thread: decodes pictures, converts them to planar YUV 4:2:0 (or
// hands them to the frame hook) and queues them one at a time.
#include <chrono>
#include <mutex>

#include "media/AVCodecStubs.h"
#include "media/AVFormatStubs.h"
#include "media/AVUtilStubs.h"
#include "media/SwScaleStubs.h"
#include "player/PlaybackParts.h"

namespace trovenix::ffplay {

using namespace std::chrono_literals;

namespace {

int OutputPicture(TPlaybackState& s, const AVFrame& frame, double pts) {
  if (pts != 0)
    s.VideoPtsClock = pts;
  else
    pts = s.VideoPtsClock;
  s.VideoPtsClock += s.FrameDuration + frame.repeat_pict * (s.FrameDuration * 0.5);

  int target = 0;
  {
    std::unique_lock lock(s.PictureLock);
    s.PictureCond.wait(lock, [&] { return s.Picture.Count < 1 || s.VideoQueue.Aborted(); });
    if (s.VideoQueue.Aborted()) return -1;
    if (!s.Picture.Allocated || s.Picture.Width != frame.width ||
        s.Picture.Height != frame.height) {
      s.Picture.Allocated = false;
      s.Picture.RequestedWidth = frame.width;
      s.Picture.RequestedHeight = frame.height;
      PushUserEvent(AllocEvent(), s.Session);
      s.PictureCond.wait(lock, [&] { return s.Picture.Allocated || s.VideoQueue.Aborted(); });
      if (s.VideoQueue.Aborted()) return -1;
    }
    target = s.Picture.Displayed == 0 ? 1 : 0;
  }
  // The target buffer is not on screen, and the player thread does not touch
  // it until the picture is queued below.
  const int w = s.Picture.Width;
  const int h = s.Picture.Height;
  const int cw = (w + 1) / 2;
  const int ch = (h + 1) / 2;
  std::uint8_t* base = s.Picture.Buffer[target].data();
  std::uint8_t* planes[3] = {
      base, base + static_cast<std::size_t>(w) * h,
      base + static_cast<std::size_t>(w) * h + static_cast<std::size_t>(cw) * ch};
  const int strides[3] = {w, cw, cw};
  if (!s.Owner->RunFrameHook(frame, planes, strides, pts)) {
    s.Scaler.reset(
        ff::sws_getCachedContext(s.Scaler.release(), w, h, static_cast<AVPixelFormat>(frame.format),
                                 w, h, AV_PIX_FMT_YUV420P, SWS_BICUBIC, nullptr, nullptr, nullptr));
    if (!s.Scaler) {
      s.Owner->Log(TLogType::ltError, "Cannot initialize the conversion context.");
      return -1;
    }
    ff::sws_scale(s.Scaler.get(), frame.data, frame.linesize, 0, h, planes, strides);
  }
  {
    std::lock_guard lock(s.PictureLock);
    s.Picture.Pts[target] = pts;
    s.Picture.Queued = target;
    s.Picture.Count = 1;
  }
  return 0;
}

// Sends one packet (null: drain) and outputs every picture it gives.
int DecodeVideoPacket(TPlaybackState& s, AVPacket* packet, AVFrame* frame) {
  if (ff::avcodec_send_packet(s.VideoDecoder.get(), packet) < 0 && packet != nullptr) return 0;
  for (;;) {
    const int ret = ff::avcodec_receive_frame(s.VideoDecoder.get(), frame);
    if (ret < 0) return 0;
    if (frame->width <= 0 || frame->height <= 0) {
      ff::av_frame_unref(frame);
      continue;
    }
    std::int64_t ts = frame->best_effort_timestamp;
    if (ts == AV_NOPTS_VALUE) ts = frame->pkt_dts;
    const double pts =
        ts == AV_NOPTS_VALUE ? 0.0 : static_cast<double>(ts) * av_q2d(s.VideoStream->time_base);
    const int out = OutputPicture(s, *frame, pts);
    ff::av_frame_unref(frame);
    if (out < 0) return -1;
  }
}

}  // namespace

void VideoThread(TPlaybackState* sp) {
  TPlaybackState& s = *sp;
  FramePtr frame(ff::av_frame_alloc());
  if (!frame) return;
  for (;;) {
    while (s.Paused && !s.VideoQueue.Aborted()) Sleep(10ms);
    PacketPtr packet;
    if (s.VideoQueue.Get(packet, true) < 0) break;
    if (!packet) {
      ff::avcodec_flush_buffers(s.VideoDecoder.get());
      continue;
    }
    if (packet->size == 0) {
      // The end of the input: the decoder gives up the pictures it still
      // holds, then starts afresh for the next end marker or a seek.
      if (DecodeVideoPacket(s, nullptr, frame.get()) < 0) break;
      ff::avcodec_flush_buffers(s.VideoDecoder.get());
      continue;
    }
    if (DecodeVideoPacket(s, packet.get(), frame.get()) < 0) break;
  }
}

}  // namespace trovenix::ffplay
