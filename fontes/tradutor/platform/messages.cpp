// TIRLA: posted message queue and the message pump.
#include "platform/messages.h"

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>

namespace platform {
namespace {

// Posted messages served by one pump at most.
constexpr int kMessagesPerPump = 256;

struct HandlerRow {
  int number = 0;
  MessageHandler handler = nullptr;
};

struct MessageQueue {
  std::mutex lock;
  std::condition_variable posted;
  std::deque<Message> queue;
  std::atomic<WakeUpHook> hook{nullptr};
  std::array<HandlerRow, 8> handlers{};  // main thread only
  const EventSource* source = nullptr;   // main thread only
};

// Kept alive to the very end on purpose: the sound thread may still post while the
// program's static objects are being destroyed.
MessageQueue& Queue() {
  static MessageQueue* queue = new MessageQueue;
  return *queue;
}

MessageHandler HandlerOf(int number) {
  for (const HandlerRow& row : Queue().handlers)
    if (row.handler && row.number == number) return row.handler;
  return nullptr;
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

void SetMessageHandler(int number, MessageHandler handler) {
  auto& rows = Queue().handlers;
  for (HandlerRow& row : rows)
    if (row.handler && row.number == number) row.handler = nullptr;
  if (!handler) return;
  for (HandlerRow& row : rows) {
    if (row.handler) continue;
    row = {number, handler};
    return;
  }
}

void SetEventSource(const EventSource* source) { Queue().source = source; }

void PumpMessages() {
  Message message;
  for (int n = 0; n < kMessagesPerPump && TakePostedMessage(message); ++n)
    if (MessageHandler handler = HandlerOf(message.number))
      handler(message.wparam, message.lparam);
  const EventSource* source = Queue().source;
  if (source && source->Serve) source->Serve();
}

void WaitMessages(int timeout_ms) {
  if (HasPostedMessage()) return;
  const EventSource* source = Queue().source;
  if (source && source->Wait)
    source->Wait(timeout_ms);
  else
    WaitForPostedMessage(timeout_ms);
}

void PumpFor(int ms) {
  using Clock = std::chrono::steady_clock;
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(ms);
  PumpMessages();
  for (;;) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) return;
    WaitMessages(static_cast<int>(left));
    PumpMessages();
  }
}

void ResetMessages() {
  MessageQueue& q = Queue();
  std::lock_guard guard(q.lock);
  q.queue.clear();
  q.hook.store(nullptr);
  q.handlers = {};
  q.source = nullptr;
}

}  // namespace platform
