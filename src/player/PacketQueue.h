// A first-in first-out list of demuxed packets between the reader and one
// decoder. Size counts each packet's payload plus a fixed node cost, which the
// reader compares with its byte limits.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>

#include "media/MediaPtr.h"

namespace trovenix {

class TPacketQueue {
 public:
  static constexpr int NodeSize = 72;

  TPacketQueue() = default;
  ~TPacketQueue();
  TPacketQueue(const TPacketQueue&) = delete;
  TPacketQueue& operator=(const TPacketQueue&) = delete;

  // Takes over the packet's reference (the packet is left blank); a null
  // packet queues the flush marker. -1 when a copy cannot be made.
  int Put(AVPacket* packet);
  int PutFlushMarker();
  // 1 with a packet (null for the flush marker), 0 when empty and not
  // blocking, -1 once aborted.
  int Get(PacketPtr& packet, bool block);
  void Abort();
  // Drops every queued packet; the abort state stays.
  void Flush();
  // Clears abort and everything queued, for a new stream.
  void Reset();

  int Size() const;
  int Count() const;
  bool Aborted() const;

 private:
  mutable std::mutex lock_;
  std::condition_variable cond_;
  std::deque<PacketPtr> packets_;  // null: the flush marker
  int size_ = 0;
  bool abort_ = false;
};

}  // namespace trovenix
