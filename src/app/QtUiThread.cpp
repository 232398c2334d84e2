#include "app/QtUiThread.h"

#include <QMetaObject>
#include <QTimer>
#include <exception>

#include "engine/ThreadIds.h"

namespace trovenix {

// A call waiting for the user-interface thread, and its caller waiting for it.
struct TQtUiThread::TPendingCall {
  const std::function<void()>* Call = nullptr;
  std::exception_ptr Error;
  bool Done = false;
  std::mutex Lock;
  std::condition_variable Finished;
};

TQtUiThread::TQtUiThread() : owner_(std::this_thread::get_id()), threadId_(CurrentThreadId()) {}

TQtUiThread::~TQtUiThread() {
  // A caller still waiting would wait for ever: its call runs now.
  ProcessPending();
}

bool TQtUiThread::IsCurrent() const {
  return std::this_thread::get_id() == owner_;
}

void TQtUiThread::Invoke(const std::function<void()>& call) {
  if (IsCurrent()) {
    call();
    return;
  }
  TPendingCall pending;
  pending.Call = &call;
  {
    std::lock_guard<std::mutex> guard(lock_);
    queue_.push_back(&pending);
  }
  // The queue is served by the event loop, or sooner by ProcessPending when
  // the user-interface thread waits for this thread.
  QMetaObject::invokeMethod(
      &context_, [this] { RunQueued(); }, Qt::QueuedConnection);
  std::unique_lock<std::mutex> guard(pending.Lock);
  pending.Finished.wait(guard, [&pending] { return pending.Done; });
  if (pending.Error) std::rethrow_exception(pending.Error);
}

void TQtUiThread::PostDelayed(std::function<void()> call, int delayMs) {
  auto start = [this, call = std::move(call), delayMs]() mutable {
    QTimer::singleShot(delayMs, &context_, std::move(call));
  };
  if (IsCurrent())
    start();
  else
    QMetaObject::invokeMethod(&context_, std::move(start), Qt::QueuedConnection);
}

void TQtUiThread::ProcessPending() {
  RunQueued();
}

void TQtUiThread::RunQueued() {
  for (;;) {
    TPendingCall* pending = nullptr;
    {
      std::lock_guard<std::mutex> guard(lock_);
      if (queue_.empty()) return;
      pending = queue_.front();
      queue_.pop_front();
    }
    std::exception_ptr error;
    try {
      (*pending->Call)();
    } catch (...) {
      error = std::current_exception();
    }
    std::lock_guard<std::mutex> guard(pending->Lock);
    pending->Error = error;
    pending->Done = true;
    pending->Finished.notify_all();
  }
}

}  // namespace trovenix
