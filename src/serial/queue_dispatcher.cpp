#include <utility>

#include "serial/ui_dispatcher.h"

namespace theolink {

QueueDispatcher::QueueDispatcher() : owner_(std::this_thread::get_id()) {}

void QueueDispatcher::Post(std::function<void()> task) {
  {
    std::lock_guard lock(mutex_);
    queue_.push_back(std::move(task));
  }
  cv_.notify_all();
}

bool QueueDispatcher::IsOwningThread() const { return std::this_thread::get_id() == owner_; }

void QueueDispatcher::ReportError(std::exception_ptr error) {
  std::string text = "unknown error";
  try {
    if (error) std::rethrow_exception(error);
  } catch (const std::exception& e) {
    text = e.what();
  } catch (...) {
  }
  std::lock_guard lock(mutex_);
  errors_.push_back(std::move(text));
}

int QueueDispatcher::ProcessPending() {
  std::deque<std::function<void()>> batch;
  {
    std::lock_guard lock(mutex_);
    batch.swap(queue_);
  }
  int ran = 0;
  for (auto& task : batch) {
    try {
      task();
    } catch (...) {
      ReportError(std::current_exception());
    }
    ++ran;
  }
  return ran;
}

int QueueDispatcher::WaitAndProcess(std::chrono::milliseconds timeout) {
  {
    std::unique_lock lock(mutex_);
    cv_.wait_for(lock, timeout, [this] { return !queue_.empty() || woken_; });
    woken_ = false;
  }
  return ProcessPending();
}

void QueueDispatcher::Wake() {
  {
    std::lock_guard lock(mutex_);
    woken_ = true;
  }
  cv_.notify_all();
}

std::size_t QueueDispatcher::PendingCount() const {
  std::lock_guard lock(mutex_);
  return queue_.size();
}

std::vector<std::string> QueueDispatcher::TakeErrors() {
  std::lock_guard lock(mutex_);
  std::vector<std::string> out;
  out.swap(errors_);
  return out;
}

}  // namespace theolink
