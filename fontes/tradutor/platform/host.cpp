// TIRLA: the process the console runs in.
#include "platform/host.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace platform {

void ExitProcess(int code) {
  std::fflush(stdout);
  std::fflush(stderr);
  std::exit(code);
}

void SleepThread(int ms) {
  if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

const Host& ProcessHost() {
  static constexpr Host kHost = {.Exit = ExitProcess, .Sleep = SleepThread};
  return kHost;
}

}  // namespace platform
