#include "batch/BatchEventInbox.h"

#include <utility>

namespace trovenix {

std::shared_ptr<TBatchEventInbox> TBatchEventInbox::Create(IUiThread& ui, int lanes,
                                                           std::function<void()> wake) {
  return std::shared_ptr<TBatchEventInbox>(new TBatchEventInbox(ui, lanes, std::move(wake)));
}

void TBatchEventInbox::Push(TBatchEvent event) {
  bool post = false;
  {
    std::lock_guard<std::mutex> guard(lock_);
    if (closed_) return;
    event.Step = steps_.at(static_cast<std::size_t>(event.Lane));
    queue_.push_back(std::move(event));
    post = !posted_;
    posted_ = true;
  }
  // One wake-up at a time is enough: its delivery takes everything queued by
  // then and until the queue is empty.
  if (post) {
    std::weak_ptr<TBatchEventInbox> weak = weak_from_this();
    ui_.PostDelayed(
        [weak] {
          const auto inbox = weak.lock();
          if (inbox && inbox->wake_) inbox->wake_();
        },
        0);
  }
}

void TBatchEventInbox::Deliver(const THandler& handler) {
  for (;;) {
    TBatchEvent event;
    {
      std::lock_guard<std::mutex> guard(lock_);
      if (queue_.empty() || closed_) {
        posted_ = false;
        return;
      }
      event = std::move(queue_.front());
      queue_.pop_front();
    }
    handler(event);
  }
}

std::uint64_t TBatchEventInbox::NextStep(int lane) {
  std::lock_guard<std::mutex> guard(lock_);
  return ++steps_.at(static_cast<std::size_t>(lane));
}

void TBatchEventInbox::Close() {
  std::lock_guard<std::mutex> guard(lock_);
  closed_ = true;
  queue_.clear();
  wake_ = nullptr;
}

}  // namespace trovenix
