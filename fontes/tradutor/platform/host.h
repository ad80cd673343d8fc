// TIRLA: what the console asks of the process it runs in: ending it, and sleeping.
#pragma once

namespace platform {

// Process services. A null entry does what the real process does.
struct Host {
  // Ends the process with `code`; does not return (the test host throws ProcessExit).
  void (*Exit)(int code) = nullptr;
  // Sleeps `ms` milliseconds (nothing for 0 or less).
  void (*Sleep)(int ms) = nullptr;
};

// Thrown by the test host's Exit instead of ending the process.
struct ProcessExit {
  int code;
};

// The real process: Exit flushes the standard streams and exits, Sleep sleeps the thread.
const Host& ProcessHost();
[[noreturn]] void ExitProcess(int code);
void SleepThread(int ms);

}  // namespace platform
