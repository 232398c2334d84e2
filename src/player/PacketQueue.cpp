#include "player/PacketQueue.h"

#include "media/AVCodecStubs.h"

namespace trovenix {

TPacketQueue::~TPacketQueue() {
  Flush();
}

int TPacketQueue::Put(AVPacket* packet) {
  PacketPtr node;
  if (packet != nullptr) {
    node.reset(ff::av_packet_alloc());
    if (!node) return -1;
    if (ff::av_packet_ref(node.get(), packet) < 0) return -1;
    ff::av_packet_unref(packet);
  }
  {
    std::lock_guard lock(lock_);
    size_ += (node ? node->size : 0) + NodeSize;
    packets_.push_back(std::move(node));
  }
  cond_.notify_one();
  return 0;
}

int TPacketQueue::PutFlushMarker() {
  return Put(nullptr);
}

int TPacketQueue::Get(PacketPtr& packet, bool block) {
  std::unique_lock lock(lock_);
  for (;;) {
    if (abort_) return -1;
    if (!packets_.empty()) {
      packet = std::move(packets_.front());
      packets_.pop_front();
      size_ -= (packet ? packet->size : 0) + NodeSize;
      return 1;
    }
    if (!block) return 0;
    cond_.wait(lock);
  }
}

void TPacketQueue::Abort() {
  {
    std::lock_guard lock(lock_);
    abort_ = true;
  }
  cond_.notify_all();
}

void TPacketQueue::Flush() {
  std::deque<PacketPtr> dropped;
  {
    std::lock_guard lock(lock_);
    dropped.swap(packets_);
    size_ = 0;
  }
}

void TPacketQueue::Reset() {
  Flush();
  std::lock_guard lock(lock_);
  abort_ = false;
}

int TPacketQueue::Size() const {
  std::lock_guard lock(lock_);
  return size_;
}

int TPacketQueue::Count() const {
  std::lock_guard lock(lock_);
  return static_cast<int>(packets_.size());
}

bool TPacketQueue::Aborted() const {
  std::lock_guard lock(lock_);
  return abort_;
}

}  // namespace trovenix
