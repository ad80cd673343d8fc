// TIRLA: SDL events as console events: keys mapped by table, text input in cp1252, mouse,
// window state, and posted messages waking the wait.
#include <algorithm>
#include <array>
#include <atomic>

#include "platform/codepage.h"
#include "platform/messages.h"
#include "platform/sdl/video_sdl_state.h"

namespace platform::sdl {
namespace {

std::atomic<Uint32> wake_event_type{0};  // read by the posting threads

// Called from any thread that posts a message: wakes SDL_WaitEvent.
void PushWakeEvent() {
  const Uint32 type = wake_event_type.load();
  if (type == 0) return;
  SDL_Event event{};
  event.type = type;
  SDL_PushEvent(&event);
}

// Beside the Modifier bits while keys are looked up: Num Lock is on.
constexpr unsigned kNumLock = 8;

// SDL modifier states and the bits they stand for.
struct ModifierRow {
  Uint16 sdl;
  unsigned bit;
};
constexpr std::array<ModifierRow, 4> kModifierTable = {{
    {KMOD_SHIFT, kModShift}, {KMOD_CTRL, kModCtrl}, {KMOD_ALT, kModAlt}, {KMOD_NUM, kNumLock},
}};

unsigned HeldBits(Uint16 mod) {
  unsigned bits = 0;
  for (const ModifierRow& row : kModifierTable)
    if (mod & row.sdl) bits |= row.bit;
  return bits;
}

// SDL keys first..last, with the bits `mask` selects held as `value`, give the numbers from
// `number` on (first gives number, first + 1 gives number + 1, ...). The first match wins.
struct KeyRow {
  SDL_Keycode first;
  SDL_Keycode last;
  unsigned mask;
  unsigned value;
  int number;
};

static_assert(SDLK_F12 - SDLK_F1 == 11 && SDLK_z - SDLK_a == 25 && SDLK_9 - SDLK_0 == 9);

// Virtual keys.
constexpr KeyRow kVirtualKeys[] = {
    // first          last             mask       value      virtual key
    {SDLK_KP_7,       SDLK_KP_7,       kNumLock,  0,         vk::kHome},   // keypad without Num
    {SDLK_KP_8,       SDLK_KP_8,       kNumLock,  0,         vk::kUp},     // Lock: its editing
    {SDLK_KP_9,       SDLK_KP_9,       kNumLock,  0,         vk::kPrior},  // and cursor keys
    {SDLK_KP_4,       SDLK_KP_4,       kNumLock,  0,         vk::kLeft},
    {SDLK_KP_6,       SDLK_KP_6,       kNumLock,  0,         vk::kRight},
    {SDLK_KP_1,       SDLK_KP_1,       kNumLock,  0,         vk::kEnd},
    {SDLK_KP_2,       SDLK_KP_2,       kNumLock,  0,         vk::kDown},
    {SDLK_KP_3,       SDLK_KP_3,       kNumLock,  0,         vk::kNext},
    {SDLK_KP_0,       SDLK_KP_0,       kNumLock,  0,         vk::kInsert},
    {SDLK_KP_PERIOD,  SDLK_KP_PERIOD,  kNumLock,  0,         vk::kDelete},
    {SDLK_a,          SDLK_z,          0,         0,         vk::kA},
    {SDLK_0,          SDLK_9,          0,         0,         vk::k0},
    {SDLK_F1,         SDLK_F12,        0,         0,         vk::kF1},
    {SDLK_PAUSE,      SDLK_PAUSE,      kModCtrl,  kModCtrl,  vk::kCancel},  // Ctrl+Break
    {SDLK_PAUSE,      SDLK_PAUSE,      0,         0,         vk::kPause},
    {SDLK_CANCEL,     SDLK_CANCEL,     0,         0,         vk::kCancel},
    {SDLK_BACKSPACE,  SDLK_BACKSPACE,  0,         0,         vk::kBack},
    {SDLK_TAB,        SDLK_TAB,        0,         0,         vk::kTab},
    {SDLK_RETURN,     SDLK_RETURN,     0,         0,         vk::kReturn},
    {SDLK_KP_ENTER,   SDLK_KP_ENTER,   0,         0,         vk::kReturn},
    {SDLK_ESCAPE,     SDLK_ESCAPE,     0,         0,         vk::kEscape},
    {SDLK_SPACE,      SDLK_SPACE,      0,         0,         vk::kSpace},
    {SDLK_PAGEUP,     SDLK_PAGEUP,     0,         0,         vk::kPrior},
    {SDLK_PAGEDOWN,   SDLK_PAGEDOWN,   0,         0,         vk::kNext},
    {SDLK_END,        SDLK_END,        0,         0,         vk::kEnd},
    {SDLK_HOME,       SDLK_HOME,       0,         0,         vk::kHome},
    {SDLK_LEFT,       SDLK_LEFT,       0,         0,         vk::kLeft},
    {SDLK_UP,         SDLK_UP,         0,         0,         vk::kUp},
    {SDLK_RIGHT,      SDLK_RIGHT,      0,         0,         vk::kRight},
    {SDLK_DOWN,       SDLK_DOWN,       0,         0,         vk::kDown},
    {SDLK_INSERT,     SDLK_INSERT,     0,         0,         vk::kInsert},
    {SDLK_DELETE,     SDLK_DELETE,     0,         0,         vk::kDelete},
    {SDLK_LSHIFT,     SDLK_LSHIFT,     0,         0,         vk::kShift},
    {SDLK_RSHIFT,     SDLK_RSHIFT,     0,         0,         vk::kShift},
    {SDLK_LCTRL,      SDLK_LCTRL,      0,         0,         vk::kControl},
    {SDLK_RCTRL,      SDLK_RCTRL,      0,         0,         vk::kControl},
    {SDLK_LALT,       SDLK_LALT,       0,         0,         vk::kMenu},
    {SDLK_RALT,       SDLK_RALT,       0,         0,         vk::kMenu},
};

// Characters of keys SDL gives no text input for.
constexpr KeyRow kKeyCharacters[] = {
    // first          last             mask                 value     character
    {SDLK_RETURN,     SDLK_RETURN,     0,                   0,        13},
    {SDLK_KP_ENTER,   SDLK_KP_ENTER,   0,                   0,        13},
    {SDLK_BACKSPACE,  SDLK_BACKSPACE,  0,                   0,        8},
    {SDLK_ESCAPE,     SDLK_ESCAPE,     0,                   0,        27},
    {SDLK_TAB,        SDLK_TAB,        0,                   0,        9},
    {SDLK_a,          SDLK_z,          kModCtrl | kModAlt,  kModCtrl, 1},  // Ctrl+A..Z: 1..26
    {SDLK_BACKSLASH,  SDLK_BACKSLASH,  kModCtrl | kModAlt,  kModCtrl, 28},  // Ctrl+\: the dial
};

// The number the first matching row gives `key` with `held` bits, or `none`.
template <size_t N>
int LookUp(const KeyRow (&rows)[N], SDL_Keycode key, unsigned held, int none) {
  for (const KeyRow& row : rows)
    if (key >= row.first && key <= row.last && (held & row.mask) == row.value)
      return row.number + (key - row.first);
  return none;
}

void Push(const VideoEvent& event) { State().pending.push_back(event); }

void KeyEvent(const SDL_KeyboardEvent& key, bool down) {
  State().key_mod = key.keysym.mod;
  const unsigned held = HeldBits(key.keysym.mod);
  VideoEvent out;
  out.kind = down ? EventKind::kKeyDown : EventKind::kKeyUp;
  out.modifiers = held & (kModShift | kModCtrl | kModAlt);
  out.vk = LookUp(kVirtualKeys, key.keysym.sym, held, 0);
  Push(out);  // unmapped keys too (vk 0): their key-up ends Braille signs
  if (!down) return;
  const int ch = LookUp(kKeyCharacters, key.keysym.sym, held, -1);
  if (ch < 0) return;
  VideoEvent character;
  character.kind = EventKind::kChar;
  character.ch = static_cast<unsigned char>(ch);
  character.modifiers = out.modifiers;
  Push(character);
}

// Text follows the key event that made it, with the same modifiers. Left Alt with a character
// is a system key: it gives no character.
void TextEvent(const char* utf8) {
  const Uint16 mod = State().key_mod;
  const unsigned modifiers = HeldBits(mod) & (kModShift | kModCtrl | kModAlt);
  if ((mod & KMOD_LALT) && !(modifiers & kModCtrl)) return;
  for (const char c : Utf8ToCp1252(utf8)) {
    if (static_cast<unsigned char>(c) < 32) continue;
    VideoEvent character;
    character.kind = EventKind::kChar;
    character.ch = static_cast<unsigned char>(c);
    character.modifiers = modifiers;
    Push(character);
  }
}

// Window events and what they become; the others are dropped.
struct WindowRow {
  Uint8 sdl;
  EventKind kind;
};
constexpr std::array<WindowRow, 5> kWindowEvents = {{
    {SDL_WINDOWEVENT_CLOSE, EventKind::kClose},
    {SDL_WINDOWEVENT_FOCUS_GAINED, EventKind::kFocusGained},
    {SDL_WINDOWEVENT_FOCUS_LOST, EventKind::kFocusLost},
    {SDL_WINDOWEVENT_EXPOSED, EventKind::kPaintAll},
    {SDL_WINDOWEVENT_SIZE_CHANGED, EventKind::kPaintAll},
}};

void WindowEvent(Uint8 event) {
  for (const WindowRow& row : kWindowEvents) {
    if (row.sdl != event) continue;
    if (row.kind == EventKind::kPaintAll) State().dirty = true;
    Push({.kind = row.kind});
    return;
  }
}

void PointerEvent(EventKind kind, int x, int y) { Push({.kind = kind, .x = x, .y = y}); }

// Turns one SDL event into console events (none for events the console does not use).
void Translate(const SDL_Event& e) {
  switch (e.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      KeyEvent(e.key, e.type == SDL_KEYDOWN);
      return;
    case SDL_TEXTINPUT:
      TextEvent(e.text.text);
      return;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      if (e.button.button == SDL_BUTTON_RIGHT)
        PointerEvent(e.type == SDL_MOUSEBUTTONDOWN ? EventKind::kRightDown : EventKind::kRightUp,
                     e.button.x, e.button.y);
      return;
    case SDL_MOUSEMOTION:
      PointerEvent(EventKind::kMouseMove, e.motion.x, e.motion.y);
      return;
    case SDL_QUIT:
      Push({.kind = EventKind::kQuit});
      return;
    case SDL_WINDOWEVENT:
      WindowEvent(e.window.event);
      return;
    default:
      return;
  }
}

}  // namespace

void StartWakeEvents() {
  SdlState& s = State();
  s.wake_event = SDL_RegisterEvents(1);
  wake_event_type.store(s.wake_event == static_cast<Uint32>(-1) ? 0 : s.wake_event);
  SetWakeUpHook(PushWakeEvent);
}

void StopWakeEvents() { wake_event_type.store(0); }

bool PollEvent(VideoEvent* event) {
  SdlState& s = State();
  if (!s.up) return false;
  SDL_Event e;
  while (s.pending.empty() && SDL_PollEvent(&e)) Translate(e);
  if (s.pending.empty()) return false;
  *event = s.pending.front();
  s.pending.pop_front();
  return true;
}

void WaitEvent(int timeout_ms) {
  SdlState& s = State();
  if (!s.up) {
    WaitForPostedMessage(timeout_ms);
    return;
  }
  SetWakeUpHook(PushWakeEvent);  // tests may have reset the hook
  if (!s.pending.empty() || HasPostedMessage()) return;
  Present();
  if (timeout_ms < 0)
    SDL_WaitEvent(nullptr);
  else
    SDL_WaitEventTimeout(nullptr, timeout_ms);
}

}  // namespace platform::sdl
