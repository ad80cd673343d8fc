// TIRLA: the terminal backend's clipboard (the terminal's clipboard sequence out, bracketed
// paste in, a clipboard of its own between them), its tones and its driver table.
#include <array>
#include <string>

#include "platform/audio/tone_sdl.h"
#include "platform/codepage.h"
#include "platform/host.h"
#include "platform/terminal/video_terminal.h"
#include "platform/terminal/video_terminal_state.h"

namespace platform {
namespace {

constexpr std::string_view kBase64 =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

std::string Base64(std::string_view bytes) {
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  for (size_t i = 0; i < bytes.size(); i += 3) {
    uint32_t group = static_cast<unsigned char>(bytes[i]) << 16;
    if (i + 1 < bytes.size()) group |= static_cast<unsigned char>(bytes[i + 1]) << 8;
    if (i + 2 < bytes.size()) group |= static_cast<unsigned char>(bytes[i + 2]);
    out += kBase64[(group >> 18) & 63];
    out += kBase64[(group >> 12) & 63];
    out += i + 1 < bytes.size() ? kBase64[(group >> 6) & 63] : '=';
    out += i + 2 < bytes.size() ? kBase64[group & 63] : '=';
  }
  return out;
}

// Copying keeps the text here and hands it to the terminal (OSC 52), which puts it on the
// desktop's clipboard where it is allowed to; terminals seldom let a program read that
// clipboard back, so pasting takes what was copied here or pasted into the terminal.
bool SetClipboard(std::string_view text) {
  term::TerminalState& s = term::State();
  s.clipboard.assign(text);
  s.clipboard_has_text = true;
  term::Present();
  term::WriteRaw("\x1b]52;c;" + Base64(Cp1252ToUtf8(text)) + "\x07");
  return true;
}

bool GetClipboard(std::string* text, bool* has_text) {
  const term::TerminalState& s = term::State();
  *text = s.clipboard;
  *has_text = s.clipboard_has_text;
  return true;
}

// The beep on the sound device, or the terminal's bell when there is none.
void Beep() {
  PlayBeep();
  if (ToneDeviceFailed()) term::Bell();
}

constexpr Clipboard kClipboard = {.Set = SetClipboard, .Get = GetClipboard};
constexpr Tone kTone = {.Play = PlayWavImage, .Beep = Beep};

}  // namespace

const VideoDriver& TerminalVideoDriver() {
  static const VideoDriver driver = {
      .name = "terminal",
      .display = &TerminalDisplay(),
      .clipboard = &kClipboard,
      .tone = &kTone,
      .host = &ProcessHost(),
  };
  return driver;
}

}  // namespace platform
