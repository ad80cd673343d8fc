// TIRLA: posted messages, the one way other threads (the sound device) and other modules
// reach the main thread's waits.
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

// Queues a message; safe from any thread. Wakes a thread blocked in WaitForMessage and
// calls the wake-up hook (the window backend uses it to break out of its own wait).
void PostMessage(int number, intptr_t wparam = 0, intptr_t lparam = 0);

// Takes the oldest posted message without blocking; false when there is none.
bool TakePostedMessage(Message& message);

// Whether a posted message is waiting.
bool HasPostedMessage();

// Blocks until a message is posted or `timeout_ms` passes (negative: no limit).
void WaitForPostedMessage(int timeout_ms);

// Called (from the posting thread) after every PostMessage; nullptr for none.
using WakeUpHook = void (*)();
void SetWakeUpHook(WakeUpHook hook);

// Drops every posted message and the hook: a clean start for tests.
void ResetMessages();

}  // namespace platform
