// TIRLA: the in-memory magnifier, clipboard, tones and host: every call recorded, nothing
// played, no process ended.
#include <algorithm>

#include "platform/memory/video_memory.h"

namespace platform {
namespace {

MemoryVideoState& State() { return MemoryVideo(); }

void Snapshot() { State().snapshot = true; }
void Magnify(int x, int y, int factor) { State().magnified.push_back({x, y, factor}); }
void DropSnapshot() { State().snapshot = false; }

bool SetClipboard(std::string_view text) {
  MemoryVideoState& s = State();
  if (s.clipboard_fails) return false;
  s.clipboard.assign(text);
  s.clipboard_has_text = true;
  return true;
}

bool GetClipboard(std::string* text, bool* has_text) {
  const MemoryVideoState& s = State();
  if (s.clipboard_fails) return false;
  *has_text = s.clipboard_has_text;
  *text = s.clipboard;
  return true;
}

void PlaySound(std::string_view image, bool loop) {
  State().sounds.push_back({std::string(image), loop});
}

void Beep() { ++State().beeps; }

void Exit(int code) {
  State().exit_code = code;
  throw ProcessExit{code};
}

void Sleep(int ms) { State().slept_ms += std::max(ms, 0); }

constexpr Magnifier kMagnifier = {.Snapshot = Snapshot, .Show = Magnify, .Drop = DropSnapshot};
constexpr Clipboard kClipboard = {.Set = SetClipboard, .Get = GetClipboard};
constexpr Tone kTone = {.Play = PlaySound, .Beep = Beep};
constexpr Host kHost = {.Exit = Exit, .Sleep = Sleep};

}  // namespace

const VideoDriver& MemoryVideoDriver() {
  static const VideoDriver driver = {
      .name = "memory",
      .display = &MemoryDisplay(),
      .magnifier = &kMagnifier,
      .clipboard = &kClipboard,
      .tone = &kTone,
      .host = &kHost,
  };
  return driver;
}

}  // namespace platform
