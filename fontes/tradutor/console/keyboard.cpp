// TIRLA: key queue, key handlers, message pumps, waits and line reading of the console.
#include "console/keyboard.h"

#include <array>

#include "console/backend.h"
#include "console/braille_output.h"
#include "console/console.h"
#include "console/internal.h"
#include "platform/messages.h"

namespace console {
namespace {

constexpr int kQueueSize = 64;
// Window events served by one pump at most, so a flood of them cannot hold it.
constexpr int kEventsPerPump = 4096;

struct KeyboardState {
  std::array<uint8_t, kQueueSize> queue{};  // key codes, oldest first
  std::array<uint8_t, kQueueSize> held{};   // the modifiers typed with each queued code
  int32_t count = 0;                        // bytes in the queue
  unsigned event_modifiers = 0;             // held by the key event being served
  unsigned read_modifiers = 0;              // held with the code ReadKeyCode gave last
  bool focused = false;                     // the window has the keyboard focus
  bool reading = false;                     // ReadKeyCode is waiting
  bool caret = false;                       // the caret is shown
};

KeyboardState& State() {
  static KeyboardState state;
  return state;
}

void ShowCaret() {
  int column, row;
  detail::CaretCell(&column, &row);
  backend::ShowCaret(column, row);
  State().caret = true;
}

void HideCaret() {
  if (!State().caret) return;
  backend::HideCaret();
  State().caret = false;
}

// The window's half of the pump: when the display is up, its pending events.
void ServeWindowEvents() {
  if (!backend::DisplayUp()) return;
  platform::VideoEvent event;
  for (int n = 0; n < kEventsPerPump && backend::PollEvent(&event); ++n) {
    if (event.kind == platform::EventKind::kQuit) detail::QuitFromPump();
    DispatchWindowEvent(event);
  }
  if (ConsoleOpen()) backend::Present();
}

void WaitWindowEvent(int timeout_ms) {
  if (backend::DisplayUp())
    backend::WaitEvent(timeout_ms);
  else
    platform::WaitForPostedMessage(timeout_ms);
}

constexpr platform::EventSource kWindowEvents = {.Serve = ServeWindowEvents,
                                                 .Wait = WaitWindowEvent};

// The console's events join the program's one pump.
void Pump() {
  platform::SetEventSource(&kWindowEvents);
  platform::PumpMessages();
  RefreshBraille();  // whatever the messages and events changed
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
  s.read_modifiers = s.held[0];
  for (int i = 1; i < s.count; ++i) {
    s.queue[i - 1] = s.queue[i];
    s.held[i - 1] = s.held[i];
  }
  --s.count;
  return code;
}

unsigned KeyModifiers() { return State().read_modifiers; }
int32_t KeyQueueCount() { return State().count; }
void ClearKeyQueue() { State().count = 0; }

// ---- pumps and waits -------------------------------------------------------------------------

void PumpWindowMessages() { Pump(); }
void PumpThreadMessages() { Pump(); }

void Pause(uint16_t ms) {
  backend::Sleep(ms);
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

// ---- handlers --------------------------------------------------------------------------------

namespace detail {

void StartKeyboard() {
  State() = KeyboardState{};
  StartKeyBindings();
}

void NoteKeyModifiers(unsigned modifiers) { State().event_modifiers = modifiers; }

bool QueueAppend(uint8_t code) {
  KeyboardState& s = State();
  if (s.count >= kQueueSize) return false;
  s.held[s.count] = static_cast<uint8_t>(s.event_modifiers);
  s.queue[s.count++] = code;
  return true;
}

int QueueRoom() { return kQueueSize - State().count; }

void HandleChar(unsigned char ch, unsigned modifiers) {
  const bool letter = (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z');
  if (BrailleMode() != 0 && (ch == ' ' || letter)) return;  // the Braille keyboard's keys
  if (ch == 9 && (modifiers & platform::kModShift)) return;  // Shift+Tab came as its code 15
  if (modifiers & platform::kModCtrl) {
    if (ch == 8) ch = 127;
    if (ch == 13) ch = 10;
  }
  QueueAppend(ch);
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
  BrailleFocus(gained);
}

void QuitFromPump() {
  KeyboardState& s = State();
  if (s.focused && s.reading) HideCaret();
  EndProgram(255);
}

}  // namespace detail
}  // namespace console
