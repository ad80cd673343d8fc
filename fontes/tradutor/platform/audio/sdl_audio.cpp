// TIRLA: loading the SDL audio calls. The library stays loaded to the end: the sound thread
// lives in it.
#include "platform/audio/sdl_audio.h"

#include <dlfcn.h>

namespace platform {
namespace {

constexpr const char* kLibrary = "libSDL2-2.0.so.0";

struct Loaded {
  SdlAudioCalls calls{};
  bool ok = false;
};

template <typename Call>
bool Find(void* library, const char* name, Call& call) {
  call = reinterpret_cast<Call>(dlsym(library, name));
  return call != nullptr;
}

Loaded Load() {
  Loaded l;
  void* library = dlopen(kLibrary, RTLD_NOW | RTLD_NOLOAD);
  if (!library) library = dlopen(kLibrary, RTLD_NOW);
  if (!library) return l;
  SdlAudioCalls& c = l.calls;
  l.ok = Find(library, "SDL_WasInit", c.WasInit) &&
         Find(library, "SDL_InitSubSystem", c.InitSubSystem) &&
         Find(library, "SDL_GetError", c.GetError) &&
         Find(library, "SDL_LogSetOutputFunction", c.LogSetOutputFunction) &&
         Find(library, "SDL_OpenAudioDevice", c.OpenAudioDevice) &&
         Find(library, "SDL_CloseAudioDevice", c.CloseAudioDevice) &&
         Find(library, "SDL_PauseAudioDevice", c.PauseAudioDevice) &&
         Find(library, "SDL_GetAudioDeviceStatus", c.GetAudioDeviceStatus) &&
         Find(library, "SDL_LockAudioDevice", c.LockAudioDevice) &&
         Find(library, "SDL_UnlockAudioDevice", c.UnlockAudioDevice);
  return l;
}

}  // namespace

const SdlAudioCalls* SdlAudio() {
  static const Loaded loaded = Load();
  return loaded.ok ? &loaded.calls : nullptr;
}

const char* SdlAudioProblem() {
  return "a biblioteca de som SDL2 (libSDL2-2.0.so.0) não pôde ser carregada; instale o pacote "
         "libsdl2-2.0-0";
}

}  // namespace platform
