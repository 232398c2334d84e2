#include "engine/EncoderThread.h"

#include "media/AVCodecStubs.h"
#include "media/AVUtilStubs.h"

namespace trovenix {

TEncoderThread::TEncoderThread(AVCodecContext* codec, std::size_t maxQueued)
    : codec_(codec), maxQueued_(maxQueued), thread_([this] { Run(); }) {}

TEncoderThread::~TEncoderThread() {
  {
    std::lock_guard<std::mutex> guard(lock_);
    quit_ = true;
  }
  changed_.notify_all();
  thread_.join();
}

bool TEncoderThread::Send(const AVFrame* frame) {
  FramePtr queued;
  if (frame) {
    queued.reset(ff::av_frame_clone(frame));
    if (!queued) return false;
  }
  std::unique_lock<std::mutex> guard(lock_);
  changed_.wait(guard, [this] { return frames_.size() < maxQueued_ || failed_ || drained_; });
  if (failed_ || drained_) return false;
  frames_.push_back({std::move(queued), aspectNum_, aspectDen_});
  aspectNum_ = 0;
  changed_.notify_all();
  return true;
}

void TEncoderThread::SetSampleAspectRatio(int num, int den) {
  std::lock_guard<std::mutex> guard(lock_);
  aspectNum_ = num;
  aspectDen_ = den;
}

bool TEncoderThread::Take(std::vector<TEncoded>& packets, bool untilDrained) {
  std::unique_lock<std::mutex> guard(lock_);
  if (untilDrained) changed_.wait(guard, [this] { return drained_ || failed_; });
  for (TEncoded& packet : packets_) packets.push_back(std::move(packet));
  packets_.clear();
  return !failed_;
}

void TEncoderThread::Run() {
  for (;;) {
    TQueued queued;
    {
      std::unique_lock<std::mutex> guard(lock_);
      changed_.wait(guard, [this] { return !frames_.empty() || quit_; });
      if (quit_) return;
      queued = std::move(frames_.front());
      frames_.pop_front();
    }
    changed_.notify_all();  // room for the next frame
    FramePtr& frame = queued.Frame;
    if (queued.AspectNum != 0) codec_->sample_aspect_ratio = AVRational{queued.AspectNum, queued.AspectDen};
    const bool end = !frame;
    bool ok = ff::avcodec_send_frame(codec_, frame.get()) >= 0;
    std::vector<TEncoded> encoded;
    while (ok) {
      PacketPtr packet(ff::av_packet_alloc());
      const int received = ff::avcodec_receive_packet(codec_, packet.get());
      if (received == AVERROR(EAGAIN) || received == AVERROR_EOF) break;
      if (received < 0) {
        ok = false;
        break;
      }
      encoded.push_back({std::move(packet), codec_->stats_out ? codec_->stats_out : ""});
    }
    {
      std::lock_guard<std::mutex> guard(lock_);
      for (TEncoded& packet : encoded) packets_.push_back(std::move(packet));
      if (!ok) failed_ = true;
      if (end) drained_ = true;
    }
    changed_.notify_all();
    if (!ok || end) return;
  }
}

}  // namespace trovenix
