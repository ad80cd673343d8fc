// TIRLA: the SDL audio calls the sound device makes, loaded from the SDL library at first use,
// so that a program that shows no window (orvia) does not link SDL; a program that does
// (tirla) finds the library already loaded and shares it.
#pragma once
#include <SDL.h>

namespace platform {

struct SdlAudioCalls {
  decltype(&SDL_WasInit) WasInit;
  decltype(&SDL_InitSubSystem) InitSubSystem;
  decltype(&SDL_GetError) GetError;
  decltype(&SDL_LogSetOutputFunction) LogSetOutputFunction;
  decltype(&SDL_OpenAudioDevice) OpenAudioDevice;
  decltype(&SDL_CloseAudioDevice) CloseAudioDevice;
  decltype(&SDL_PauseAudioDevice) PauseAudioDevice;
  decltype(&SDL_GetAudioDeviceStatus) GetAudioDeviceStatus;
  decltype(&SDL_LockAudioDevice) LockAudioDevice;
  decltype(&SDL_UnlockAudioDevice) UnlockAudioDevice;
};

// The calls; null when the library cannot be loaded (SdlAudioProblem says why, UTF-8).
const SdlAudioCalls* SdlAudio();
const char* SdlAudioProblem();

}  // namespace platform
