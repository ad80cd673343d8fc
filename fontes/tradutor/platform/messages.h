// TIRLA: posted messages and the one message pump: other threads (the sound device) and other
// modules reach the main thread's waits through here, and a window system plugs its own
// events in as an event source.
#pragma once
#include <cstdint>

namespace platform {

// Message numbers the program posts to itself.
enum MessageNumber : int {
  kWaveBlockDone = 957,    // a wave output buffer has been played
  kWakeUpStop = 1123,      // speech was stopped: wake the waits
  kWakeUpEngine = 2980,    // an engine handed text over: wake the waits
};

struct Message {
  int number = 0;
  intptr_t wparam = 0;
  intptr_t lparam = 0;
};

// Queues a message; safe from any thread. Wakes a thread blocked in a wait and calls the
// wake-up hook (the window backend uses it to break out of its own wait).
void PostMessage(int number, intptr_t wparam = 0, intptr_t lparam = 0);

// Takes the oldest posted message without blocking; false when there is none.
bool TakePostedMessage(Message& message);

// Whether a posted message is waiting.
bool HasPostedMessage();

// Blocks until a message is posted or `timeout_ms` passes (negative: no limit). Posted
// messages only; WaitMessages also wakes for window events.
void WaitForPostedMessage(int timeout_ms);

// Called (from the posting thread) after every PostMessage; nullptr for none.
using WakeUpHook = void (*)();
void SetWakeUpHook(WakeUpHook hook);

// Routine run on the main thread by PumpMessages for one message number.
using MessageHandler = void (*)(intptr_t wparam, intptr_t lparam);
// Sets the handler of `number`; nullptr removes it (the message is then only a wake-up).
void SetMessageHandler(int number, MessageHandler handler);

// The events of a window system, served and awaited by the pump beside the posted messages.
struct EventSource {
  // Serves the pending window events; never blocks.
  void (*Serve)() = nullptr;
  // Blocks until a window event or a posted message is waiting (the window system's wait is
  // broken by the wake-up hook), or `timeout_ms` passes (negative: no limit).
  void (*Wait)(int timeout_ms) = nullptr;
};
// Plugs a window system in (nullptr unplugs it). The source must outlive its use.
void SetEventSource(const EventSource* source);

// Serves at most 256 posted messages (so a handler that posts again cannot hold the pump),
// each to its handler, then the event source's pending events.
void PumpMessages();

// Blocks until a posted message or a window event is waiting, or `timeout_ms` passes
// (negative: no limit). Serves nothing.
void WaitMessages(int timeout_ms);

// Serves messages and events as they come until `ms` milliseconds have passed: a pause that
// keeps the program answering.
void PumpFor(int ms);

// Drops every posted message, the handlers, the hook and the event source: a clean start for
// tests.
void ResetMessages();

}  // namespace platform
