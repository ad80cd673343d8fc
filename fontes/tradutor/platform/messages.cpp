// TIRLA: posted message queue.
#include "platform/messages.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>

namespace platform {
namespace {

struct MessageQueue {
  std::mutex lock;
  std::condition_variable posted;
  std::deque<Message> queue;
  std::atomic<WakeUpHook> hook{nullptr};
};

MessageQueue& Queue() {
  static MessageQueue queue;
  return queue;
}

}  // namespace

void PostMessage(int number, intptr_t wparam, intptr_t lparam) {
  MessageQueue& q = Queue();
  {
    std::lock_guard guard(q.lock);
    q.queue.push_back({number, wparam, lparam});
  }
  q.posted.notify_all();
  if (WakeUpHook hook = q.hook.load()) hook();
}

bool TakePostedMessage(Message& message) {
  MessageQueue& q = Queue();
  std::lock_guard guard(q.lock);
  if (q.queue.empty()) return false;
  message = q.queue.front();
  q.queue.pop_front();
  return true;
}

bool HasPostedMessage() {
  MessageQueue& q = Queue();
  std::lock_guard guard(q.lock);
  return !q.queue.empty();
}

void WaitForPostedMessage(int timeout_ms) {
  MessageQueue& q = Queue();
  std::unique_lock guard(q.lock);
  const auto ready = [&] { return !q.queue.empty(); };
  if (timeout_ms < 0)
    q.posted.wait(guard, ready);
  else
    q.posted.wait_for(guard, std::chrono::milliseconds(timeout_ms), ready);
}

void SetWakeUpHook(WakeUpHook hook) { Queue().hook.store(hook); }

void ResetMessages() {
  MessageQueue& q = Queue();
  std::lock_guard guard(q.lock);
  q.queue.clear();
  q.hook.store(nullptr);
}

}  // namespace platform
