// One video encoder run on a thread of its own, so that the task's thread
// decodes and prepares the next pictures while this one is encoded. The
// task's thread still writes every packet: it takes them back in order.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "media/MediaPtr.h"

extern "C" {
struct AVCodecContext;
struct AVFrame;
}

namespace trovenix {

class TEncoderThread {
 public:
  // The codec context is the thread's alone until the thread is destroyed;
  // the caller may only read fields the encoder does not change (time base,
  // size, flags).
  explicit TEncoderThread(AVCodecContext* codec, std::size_t maxQueued = 3);
  ~TEncoderThread();
  TEncoderThread(const TEncoderThread&) = delete;
  TEncoderThread& operator=(const TEncoderThread&) = delete;

  // A packet as it left the encoder, with the encoder's statistics text of
  // that moment (two-pass encoding).
  struct TEncoded {
    PacketPtr Packet;
    std::string Stats;
  };

  // Queues a reference to the frame, or with none the end of the stream;
  // waits while maxQueued frames are waiting. False once the encoder failed.
  bool Send(const AVFrame* frame);
  // The sample aspect ratio the encoder takes for the frames sent after
  // this call; set on the encoder's thread, which alone uses the context.
  void SetSampleAspectRatio(int num, int den);
  // The packets encoded so far, in order. With untilDrained, waits until the
  // end of the stream has been encoded. False once the encoder failed.
  bool Take(std::vector<TEncoded>& packets, bool untilDrained);

 private:
  void Run();

  AVCodecContext* const codec_;
  const std::size_t maxQueued_;
  std::mutex lock_;
  std::condition_variable changed_;
  struct TQueued {
    FramePtr Frame;  // none marks the end
    int AspectNum = 0, AspectDen = 1;  // a new sample aspect ratio when AspectNum != 0
  };
  std::deque<TQueued> frames_;
  int aspectNum_ = 0, aspectDen_ = 1;  // for the next frame sent
  std::vector<TEncoded> packets_;
  bool drained_ = false;
  bool failed_ = false;
  bool quit_ = false;
  std::thread thread_;
};

}  // namespace trovenix
