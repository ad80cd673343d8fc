// TIRLA: the clipboard through SDL (needs the video subsystem up).
#include <SDL.h>

#include "platform/codepage.h"
#include "platform/sdl/video_sdl_state.h"

namespace platform::sdl {
namespace {

// Puts cp1252 text on the clipboard; false when the clipboard cannot be reached.
bool SetClipboardText(std::string_view text) {
  if (!SDL_WasInit(SDL_INIT_VIDEO)) return false;
  return SDL_SetClipboardText(Cp1252ToUtf8(text).c_str()) == 0;
}

// Reads the clipboard as cp1252 (characters outside cp1252 dropped). False when it cannot be
// reached; `has_text` tells whether it held text.
bool GetClipboardText(std::string* text, bool* has_text) {
  if (!SDL_WasInit(SDL_INIT_VIDEO)) return false;
  *has_text = SDL_HasClipboardText() == SDL_TRUE;
  text->clear();
  if (!*has_text) return true;
  char* utf8 = SDL_GetClipboardText();
  if (!utf8) return false;
  *text = Utf8ToCp1252(utf8);
  SDL_free(utf8);
  return true;
}

}  // namespace

const Clipboard& SdlClipboard() {
  static constexpr Clipboard kClipboard = {.Set = SetClipboardText, .Get = GetClipboardText};
  return kClipboard;
}

}  // namespace platform::sdl
