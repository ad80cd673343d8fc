// TIRLA: what a key going down does, as one table of bindings: the Braille keyboard modes,
// Alt with letters and digits, and the extended keys with their Ctrl and Shift variants.
#include <bitset>
#include <iterator>

#include "console/internal.h"
#include "console/keyboard.h"
#include "platform/report.h"

namespace console {
namespace {

using platform::kModAlt;
using platform::kModCtrl;
using platform::kModShift;
namespace vk = platform::vk;

// ---- actions ---------------------------------------------------------------------------------

// Ctrl+Break ends the program while the break check is on.
void Break(int, unsigned, int) {
  if (detail::BreakCheck()) detail::QuitFromPump();
}

void BrailleOff(int, unsigned, int) { SetBrailleMode(0); }
void NextBrailleMode(int, unsigned, int) { SetBrailleMode(BrailleMode() + 1); }

// An extended key: 0 and then its code, both or neither.
void Extended(int, unsigned, int code) {
  if (detail::QueueRoom() < 2) return;
  detail::QueueAppend(0);
  detail::QueueAppend(static_cast<uint8_t>(code));
}

// While the Braille keyboard is on, its keys make chords.
void ChordKey(int vk, unsigned, int) {
  if (BrailleMode() != 0 && detail::ChordBit(vk) != 0) detail::BrailleKeyDown(detail::ChordBit(vk));
}

constexpr unsigned kCtrlAlt = kModCtrl | kModAlt;
constexpr unsigned kCtrlShift = kModCtrl | kModShift;

// X servers keep Ctrl+Alt+F1..F12 for themselves; Shift does not change these rows, so
// Ctrl+Shift+Alt+F11/F12 reach them there, and Ctrl+Shift+Alt+F9 gives Ctrl+F9 with Alt held,
// which the line editor takes for screen review. Shift+Tab is the review's previous field.
constexpr detail::KeyBinding kKeyBindings[] = {
    // vk               mask        value       action           argument
    {vk::kCancel,       0,          0,          Break,           0},
    {vk::kF12,          kCtrlAlt,   kCtrlAlt,   BrailleOff,      0},
    {vk::kF11,          kCtrlAlt,   kCtrlAlt,   NextBrailleMode, 0},
    {'A',               kModAlt,    kModAlt,    Extended,        30},
    {'B',               kModAlt,    kModAlt,    Extended,        48},
    {'C',               kModAlt,    kModAlt,    Extended,        46},
    {'D',               kModAlt,    kModAlt,    Extended,        32},
    {'E',               kModAlt,    kModAlt,    Extended,        18},
    {'F',               kModAlt,    kModAlt,    Extended,        33},
    {'G',               kModAlt,    kModAlt,    Extended,        34},
    {'H',               kModAlt,    kModAlt,    Extended,        35},
    {'I',               kModAlt,    kModAlt,    Extended,        23},
    {'J',               kModAlt,    kModAlt,    Extended,        36},
    {'K',               kModAlt,    kModAlt,    Extended,        37},
    {'L',               kModAlt,    kModAlt,    Extended,        38},
    {'M',               kModAlt,    kModAlt,    Extended,        50},
    {'N',               kModAlt,    kModAlt,    Extended,        49},
    {'O',               kModAlt,    kModAlt,    Extended,        24},
    {'P',               kModAlt,    kModAlt,    Extended,        25},
    {'Q',               kModAlt,    kModAlt,    Extended,        16},
    {'R',               kModAlt,    kModAlt,    Extended,        19},
    {'S',               kModAlt,    kModAlt,    Extended,        31},
    {'T',               kModAlt,    kModAlt,    Extended,        20},
    {'U',               kModAlt,    kModAlt,    Extended,        22},
    {'V',               kModAlt,    kModAlt,    Extended,        47},
    {'W',               kModAlt,    kModAlt,    Extended,        17},
    {'X',               kModAlt,    kModAlt,    Extended,        45},
    {'Y',               kModAlt,    kModAlt,    Extended,        21},
    {'Z',               kModAlt,    kModAlt,    Extended,        44},
    {'0',               kModAlt,    kModAlt,    Extended,        129},
    {'1',               kModAlt,    kModAlt,    Extended,        120},
    {'2',               kModAlt,    kModAlt,    Extended,        121},
    {'3',               kModAlt,    kModAlt,    Extended,        122},
    {'4',               kModAlt,    kModAlt,    Extended,        123},
    {'5',               kModAlt,    kModAlt,    Extended,        124},
    {'6',               kModAlt,    kModAlt,    Extended,        125},
    {'7',               kModAlt,    kModAlt,    Extended,        126},
    {'8',               kModAlt,    kModAlt,    Extended,        127},
    {'9',               kModAlt,    kModAlt,    Extended,        128},
    {vk::kF1 + 0,       kModCtrl,   0,          Extended,        59},
    {vk::kF1 + 0,       kModCtrl,   kModCtrl,   Extended,        94},
    {vk::kF1 + 1,       kModCtrl,   0,          Extended,        60},
    {vk::kF1 + 1,       kModCtrl,   kModCtrl,   Extended,        95},
    {vk::kF1 + 2,       kModCtrl,   0,          Extended,        61},
    {vk::kF1 + 2,       kModCtrl,   kModCtrl,   Extended,        96},
    {vk::kF1 + 3,       kModCtrl,   0,          Extended,        62},
    {vk::kF1 + 3,       kModCtrl,   kModCtrl,   Extended,        97},
    {vk::kF1 + 4,       kModCtrl,   0,          Extended,        63},
    {vk::kF1 + 4,       kModCtrl,   kModCtrl,   Extended,        98},
    {vk::kF1 + 5,       kModCtrl,   0,          Extended,        64},
    {vk::kF1 + 5,       kModCtrl,   kModCtrl,   Extended,        99},
    {vk::kF1 + 6,       kModCtrl,   0,          Extended,        65},
    {vk::kF1 + 6,       kModCtrl,   kModCtrl,   Extended,        100},
    {vk::kF1 + 7,       kModCtrl,   0,          Extended,        66},
    {vk::kF1 + 7,       kModCtrl,   kModCtrl,   Extended,        101},
    {vk::kF1 + 8,       kModCtrl,   0,          Extended,        67},
    {vk::kF1 + 8,       kModCtrl,   kModCtrl,   Extended,        102},
    {vk::kF1 + 9,       kModCtrl,   0,          Extended,        68},
    {vk::kF1 + 9,       kModCtrl,   kModCtrl,   Extended,        103},
    {vk::kF1 + 10,      kModCtrl,   0,          Extended,        69},
    {vk::kF1 + 10,      kModCtrl,   kModCtrl,   Extended,        104},
    {vk::kF1 + 11,      kModCtrl,   0,          Extended,        70},
    {vk::kF1 + 11,      kModCtrl,   kModCtrl,   Extended,        105},
    {vk::kTab,          kModShift,  kModShift,  Extended,        15},
    {vk::kInsert,       kCtrlShift, 0,          Extended,        82},
    {vk::kInsert,       kCtrlShift, kModShift,  Extended,        254},
    {vk::kInsert,       kModCtrl,   kModCtrl,   Extended,        255},
    {vk::kDelete,       0,          0,          Extended,        83},
    {vk::kHome,         kModCtrl,   0,          Extended,        71},
    {vk::kHome,         kModCtrl,   kModCtrl,   Extended,        119},
    {vk::kEnd,          kModCtrl,   0,          Extended,        79},
    {vk::kEnd,          kModCtrl,   kModCtrl,   Extended,        117},
    {vk::kPrior,        kModCtrl,   0,          Extended,        73},
    {vk::kPrior,        kModCtrl,   kModCtrl,   Extended,        132},
    {vk::kNext,         kModCtrl,   0,          Extended,        81},
    {vk::kNext,         kModCtrl,   kModCtrl,   Extended,        118},
    {vk::kUp,           kModCtrl,   0,          Extended,        72},
    {vk::kUp,           kModCtrl,   kModCtrl,   Extended,        113},
    {vk::kDown,         kModCtrl,   0,          Extended,        80},
    {vk::kDown,         kModCtrl,   kModCtrl,   Extended,        114},
    {vk::kLeft,         kModCtrl,   0,          Extended,        75},
    {vk::kLeft,         kModCtrl,   kModCtrl,   Extended,        115},
    {vk::kRight,        kModCtrl,   0,          Extended,        77},
    {vk::kRight,        kModCtrl,   kModCtrl,   Extended,        116},
    {detail::kAnyKey,   kModCtrl,   0,          ChordKey,        0},
};

// Keys the system keeps for itself (X servers and the Linux console switch consoles with
// Ctrl+Alt+F1..F12), and the keys that stand in for them: the first use of a stand-in in a run
// says which key it replaces, so the user learns they are one. The terminal marks its Alt+digit
// stand-ins; in the window the stand-in is the kept key with Shift.
struct StandIn {
  int vk;
  unsigned modifiers;  // exactly these of Shift, Ctrl, Alt and the stand-in mark
  const char* text;    // cp1252
};

constexpr unsigned kWatchedModifiers = kModShift | kModCtrl | kModAlt | platform::kModStandIn;
constexpr unsigned kTerminalStandIn = kCtrlAlt | platform::kModStandIn;
constexpr unsigned kWindowStandIn = kCtrlAlt | kModShift;

constexpr StandIn kStandIns[] = {
    // vk          modifiers         text
    {vk::kF1 + 8,  kTerminalStandIn, "Alt+9 faz o papel de Ctrl+Alt+F9, que o sistema guarda "
                                     "para si: revis\xE3o de tela"},
    {vk::kF11,     kTerminalStandIn, "Alt+- faz o papel de Ctrl+Alt+F11, que o sistema guarda "
                                     "para si: modo Braille seguinte"},
    {vk::kF12,     kTerminalStandIn, "Alt+= faz o papel de Ctrl+Alt+F12, que o sistema guarda "
                                     "para si: desliga o Braille"},
    {vk::kF1 + 8,  kWindowStandIn,   "Ctrl+Shift+Alt+F9 faz o papel de Ctrl+Alt+F9, que o "
                                     "sistema guarda para si: revis\xE3o de tela"},
    {vk::kF11,     kWindowStandIn,   "Ctrl+Shift+Alt+F11 faz o papel de Ctrl+Alt+F11, que o "
                                     "sistema guarda para si: modo Braille seguinte"},
    {vk::kF12,     kWindowStandIn,   "Ctrl+Shift+Alt+F12 faz o papel de Ctrl+Alt+F12, que o "
                                     "sistema guarda para si: desliga o Braille"},
};

struct BindingState {
  std::bitset<std::size(kStandIns)> told;  // stand-ins already explained in this run
};

BindingState& State() {
  static BindingState state;
  return state;
}

void TellStandIn(int vk, unsigned modifiers) {
  for (size_t i = 0; i < std::size(kStandIns); ++i) {
    const StandIn& row = kStandIns[i];
    if (row.vk != vk || (modifiers & kWatchedModifiers) != row.modifiers) continue;
    if (State().told[i]) return;
    State().told[i] = true;
    platform::Report(platform::Severity::kNote, row.text);
    return;
  }
}

}  // namespace

namespace detail {

void StartKeyBindings() { State() = BindingState{}; }

bool RunKeyBinding(std::span<const KeyBinding> rows, int vk, unsigned modifiers) {
  for (const KeyBinding& row : rows) {
    if ((row.vk != kAnyKey && row.vk != vk) || (modifiers & row.mask) != row.value) continue;
    row.action(vk, modifiers, row.argument);
    return true;
  }
  return false;
}

void HandleKeyDown(int vk, unsigned modifiers) {
  TellStandIn(vk & 0xFF, modifiers);
  RunKeyBinding(kKeyBindings, vk & 0xFF, modifiers);
}

}  // namespace detail
}  // namespace console
