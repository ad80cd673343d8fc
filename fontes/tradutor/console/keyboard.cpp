// TIRLA: key queue, key handlers, message pumps, waits and line reading of the console.
#include "console/keyboard.h"

#include <algorithm>
#include <array>

#include "console/console.h"
#include "console/internal.h"
#include "platform/messages.h"

namespace console {
namespace {

constexpr int kQueueSize = 64;
// Window events served by one pump at most, for the same reason.
constexpr int kEventsPerPump = 4096;

struct KeyboardState {
  std::array<uint8_t, kQueueSize> queue{};  // key codes, oldest first
  int32_t count = 0;                        // bytes in the queue
  bool focused = false;                     // the window has the keyboard focus
  bool reading = false;                     // ReadKeyCode is waiting
  bool caret = false;                       // the caret is shown
};

KeyboardState& State() {
  static KeyboardState state;
  return state;
}

// One row of the extended key table: the key, its code, and its code with Ctrl.
struct ExtendedKey {
  int vk;
  uint8_t code;
  uint8_t ctrl_code;
};

constexpr uint8_t kShiftInsertCode = 254;

// vk                         code  with Ctrl
constexpr std::array<ExtendedKey, 22> kExtendedKeyTable = {{
    {platform::vk::kF1 + 0, 59, 94},
    {platform::vk::kF1 + 1, 60, 95},
    {platform::vk::kF1 + 2, 61, 96},
    {platform::vk::kF1 + 3, 62, 97},
    {platform::vk::kF1 + 4, 63, 98},
    {platform::vk::kF1 + 5, 64, 99},
    {platform::vk::kF1 + 6, 65, 100},
    {platform::vk::kF1 + 7, 66, 101},
    {platform::vk::kF1 + 8, 67, 102},
    {platform::vk::kF1 + 9, 68, 103},
    {platform::vk::kF1 + 10, 69, 104},
    {platform::vk::kF1 + 11, 70, 105},
    {platform::vk::kInsert, 82, 255},
    {platform::vk::kDelete, 83, 83},
    {platform::vk::kHome, 71, 119},
    {platform::vk::kEnd, 79, 117},
    {platform::vk::kPrior, 73, 132},
    {platform::vk::kNext, 81, 118},
    {platform::vk::kUp, 72, 113},
    {platform::vk::kDown, 80, 114},
    {platform::vk::kLeft, 75, 115},
    {platform::vk::kRight, 77, 116},
}};

// Codes of Alt with a letter A..Z and with a digit 0..9.
constexpr std::array<uint8_t, 26> kAltLetterCodes = {30, 48, 46, 32, 18, 33, 34, 35, 23,
                                                     36, 37, 38, 50, 49, 24, 25, 16, 19,
                                                     31, 20, 22, 47, 17, 45, 21, 44};
constexpr std::array<uint8_t, 10> kAltDigitCodes = {129, 120, 121, 122, 123,
                                                    124, 125, 126, 127, 128};

void ShowCaret() {
  int x, y, width, height;
  detail::CaretRect(&x, &y, &width, &height);
  detail::Driver().ShowCaret(x, y, width, height);
  State().caret = true;
}

void HideCaret() {
  if (!State().caret) return;
  detail::Driver().HideCaret();
  State().caret = false;
}

bool IsLetterKey(int vk) { return vk >= platform::vk::kA && vk < platform::vk::kA + 26; }
bool IsDigitKey(int vk) { return vk >= platform::vk::k0 && vk < platform::vk::k0 + 10; }

// The window's half of the pump: when the display is up, its pending events.
void ServeWindowEvents() {
  const platform::VideoDriver& driver = detail::Driver();
  if (!driver.VideoUp()) return;
  platform::VideoEvent event;
  for (int n = 0; n < kEventsPerPump && driver.PollEvent(&event); ++n) {
    if (event.kind == platform::EventKind::kQuit) detail::QuitFromPump();
    DispatchWindowEvent(event);
  }
  if (ConsoleOpen()) driver.Present();
}

void WaitWindowEvent(int timeout_ms) {
  const platform::VideoDriver& driver = detail::Driver();
  if (driver.VideoUp())
    driver.WaitEvent(timeout_ms);
  else
    platform::WaitForPostedMessage(timeout_ms);
}

constexpr platform::EventSource kWindowEvents = {.Serve = ServeWindowEvents,
                                                 .Wait = WaitWindowEvent};

// The console's events join the program's one pump.
void Pump() {
  platform::SetEventSource(&kWindowEvents);
  platform::PumpMessages();
}

}  // namespace

// ---- queue -----------------------------------------------------------------------------------

bool KeyWaiting() {
  OpenConsole();
  PumpThreadMessages();
  return State().count > 0;
}

uint8_t ReadKeyCode() {
  KeyboardState& s = State();
  if (!KeyWaiting()) {
    s.reading = true;
    if (s.focused) ShowCaret();
    do {
      WaitMessage();
    } while (!KeyWaiting());
    if (s.focused) HideCaret();
    s.reading = false;
  }
  const uint8_t code = s.queue[0];
  for (int i = 1; i < s.count; ++i) s.queue[i - 1] = s.queue[i];
  --s.count;
  return code;
}

int32_t KeyQueueCount() { return State().count; }
void ClearKeyQueue() { State().count = 0; }

// ---- pumps and waits -------------------------------------------------------------------------

void PumpWindowMessages() { Pump(); }
void PumpThreadMessages() { Pump(); }

void Pause(uint16_t ms) {
  detail::Driver().Sleep(ms);
  PumpThreadMessages();
  PumpWindowMessages();
}

void WaitMessage() {
  platform::SetEventSource(&kWindowEvents);
  platform::WaitMessages(-1);
}

uint16_t ReadConsoleLine(char* buffer, uint16_t size) {
  if (!buffer || size < 2) return 0;  // no room for the line end
  uint16_t i = 0;
  for (;;) {
    const uint8_t ch = ReadKeyCode();
    if (ch == 13) break;
    if (ch == 8 && i > 0) {
      ConsoleWriteChar(8);
      --i;
    } else if (ch >= 32 && i < size - 2) {
      buffer[i++] = static_cast<char>(ch);
      ConsoleWriteChar(ch);
    }
  }
  buffer[i] = 13;
  buffer[i + 1] = 10;
  ConsoleWrite("\r\n");
  return static_cast<uint16_t>(i + 2);
}

// ---- clipboard -------------------------------------------------------------------------------

void CopyToClipboard(std::string_view text) {
  const platform::VideoDriver& driver = detail::Driver();
  std::string error;
  if (!driver.VideoUp() && !driver.StartVideo(&error)) return;
  driver.SetClipboard(text.substr(0, text.find('\0')));
}

void PasteFromClipboard(char* buffer, int32_t size) {
  if (!buffer || size <= 0) return;
  const platform::VideoDriver& driver = detail::Driver();
  std::string error;
  if (!driver.VideoUp() && !driver.StartVideo(&error)) return;
  std::string text;
  bool has_text = false;
  if (!driver.GetClipboard(&text, &has_text)) return;
  if (!has_text) {
    buffer[0] = 0;
    return;
  }
  text.resize(text.find('\0') == std::string::npos ? text.size() : text.find('\0'));
  const size_t n = std::min(text.size() + 1, static_cast<size_t>(size));
  text.copy(buffer, n);
  buffer[n - 1] = 0;
}

// ---- handlers --------------------------------------------------------------------------------

namespace detail {

void StartKeyboard() { State() = KeyboardState{}; }

bool QueueAppend(uint8_t code) {
  KeyboardState& s = State();
  if (s.count >= kQueueSize) return false;
  s.queue[s.count++] = code;
  return true;
}

int QueueRoom() { return kQueueSize - State().count; }

void HandleChar(unsigned char ch, unsigned modifiers) {
  const bool letter = (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z');
  if (BrailleMode() != 0 && (ch == ' ' || letter)) return;  // the Braille keyboard's keys
  if (modifiers & platform::kModCtrl) {
    if (ch == 8) ch = 127;
    if (ch == 13) ch = 10;
  }
  QueueAppend(ch);
}

void HandleKeyDown(int vk, unsigned modifiers) {
  vk &= 0xFF;
  if (BreakCheck() && vk == platform::vk::kCancel) QuitFromPump();
  const bool alt = modifiers & platform::kModAlt;
  const bool ctrl = modifiers & platform::kModCtrl;
  if (alt) {
    if (ctrl && vk == platform::vk::kF12) {
      SetBrailleMode(0);
      return;
    }
    if (ctrl && vk == platform::vk::kF11) {
      SetBrailleMode(BrailleMode() + 1);
      return;
    }
    if (IsLetterKey(vk) || IsDigitKey(vk)) {
      if (QueueRoom() >= 2) {
        QueueAppend(0);
        QueueAppend(IsLetterKey(vk) ? kAltLetterCodes[vk - platform::vk::kA]
                                    : kAltDigitCodes[vk - platform::vk::k0]);
      }
      return;
    }
  }
  if (!ctrl && BrailleMode() != 0 && ChordBit(vk) != 0) {
    BrailleKeyDown(ChordBit(vk));
    return;
  }
  if (QueueRoom() < 2) return;
  for (const ExtendedKey& key : kExtendedKeyTable) {
    if (key.vk != vk) continue;
    QueueAppend(0);
    if (ctrl)
      QueueAppend(key.ctrl_code);
    else if (vk == platform::vk::kInsert && (modifiers & platform::kModShift))
      QueueAppend(kShiftInsertCode);
    else
      QueueAppend(key.code);
    return;
  }
}

bool HandleKeyUp(int vk, unsigned modifiers) {
  if (BrailleMode() == 0) return false;
  return BrailleKeyUp(vk & 0xFF, modifiers);
}

void HandleFocus(bool gained) {
  KeyboardState& s = State();
  if (gained) {
    s.focused = true;
    if (s.reading) ShowCaret();
  } else {
    if (s.reading) HideCaret();
    s.focused = false;
  }
}

void QuitFromPump() {
  KeyboardState& s = State();
  if (s.focused && s.reading) HideCaret();
  EndProgram(255);
}

}  // namespace detail
}  // namespace console
