// TIRLA: how a long job (playing sound, speaking text) learns that it should stop. The
// console passes "a key is waiting"; a protocol module passes "STOP was read".
#pragma once

namespace platform {

struct StopToken {
  void* context = nullptr;
  // True when the job should stop now; null: never.
  bool (*Requested)(void* context) = nullptr;
};

inline bool StopRequested(const StopToken& token) {
  return token.Requested && token.Requested(token.context);
}

}  // namespace platform
