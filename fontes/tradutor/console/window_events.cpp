// TIRLA: the console's window procedure: events to their handlers, the system keys, and the
// right-button magnifier.
#include "console/backend.h"
#include "console/console.h"
#include "console/internal.h"

namespace console {
namespace {

using platform::kModAlt;
using platform::kModCtrl;
namespace vk = platform::vk;

struct WindowEventsState {
  bool magnifier_active = false;  // the right button is held
};

WindowEventsState& State() {
  static WindowEventsState state;
  return state;
}

// ---- system keys -----------------------------------------------------------------------------

void ToKeyboard(int vk, unsigned modifiers, int) { detail::HandleKeyDown(vk, modifiers); }
void CloseWindow(int, unsigned, int) { CloseConsole(); }
void Ignore(int, unsigned, int) {}

constexpr unsigned kCtrlAlt = kModCtrl | kModAlt;

// Keys with Alt (without Ctrl) and F10 are the window system's: besides Alt+F4 its default
// handling does nothing a console uses. Alt with the left and right arrows stays the program's.
constexpr detail::KeyBinding kSystemKeys[] = {
    // vk              mask       value     action        argument
    {vk::kLeft,        kCtrlAlt,  kModAlt,  ToKeyboard,   0},
    {vk::kRight,       kCtrlAlt,  kModAlt,  ToKeyboard,   0},
    {vk::kF4,          kCtrlAlt,  kModAlt,  CloseWindow,  0},
    {detail::kAnyKey,  kCtrlAlt,  kModAlt,  Ignore,       0},
    {vk::kF10,         kModCtrl,  0,        Ignore,       0},
    {detail::kAnyKey,  0,         0,        ToKeyboard,   0},
};

// Once the exit handling has run, nothing is left to the window system.
void KeyDown(const platform::VideoEvent& event) {
  if (detail::BreakCheck())
    detail::RunKeyBinding(kSystemKeys, event.vk, event.modifiers);
  else
    detail::HandleKeyDown(event.vk, event.modifiers);
}

// ---- magnifier -------------------------------------------------------------------------------

void MagnifyAt(int x, int y) {
  backend::Magnify(x, y, detail::MagnifyFactor());
  backend::Present();
}

void Magnifier(const platform::VideoEvent& event) {
  WindowEventsState& s = State();
  if (!backend::HasMagnifier()) return;
  switch (event.kind) {
    case platform::EventKind::kRightDown:
      if (s.magnifier_active) return;
      s.magnifier_active = true;
      backend::Snapshot();
      MagnifyAt(event.x, event.y);
      return;
    case platform::EventKind::kMouseMove:
      if (s.magnifier_active) MagnifyAt(event.x, event.y);
      return;
    case platform::EventKind::kRightUp:
      if (!s.magnifier_active) return;
      s.magnifier_active = false;
      backend::DropSnapshot();
      detail::RepaintAll();
      return;
    default:
      return;
  }
}

}  // namespace

void DispatchWindowEvent(const platform::VideoEvent& event) {
  if (!detail::WindowAttached()) return;
  using platform::EventKind;
  switch (event.kind) {
    case EventKind::kKeyDown:
      KeyDown(event);
      break;
    case EventKind::kKeyUp:
      detail::HandleKeyUp(event.vk, event.modifiers);
      break;
    case EventKind::kChar:
      detail::HandleChar(event.ch, event.modifiers);
      break;
    case EventKind::kRightDown:
    case EventKind::kMouseMove:
    case EventKind::kRightUp:
      Magnifier(event);
      break;
    case EventKind::kPaint:
      detail::PaintCells(event.column, event.row, event.column2, event.row2);
      break;
    case EventKind::kPaintAll:
      detail::PaintCells(0, 0, ScreenSize().Columns, ScreenSize().Rows);
      break;
    case EventKind::kFocusGained:
      detail::HandleFocus(true);
      break;
    case EventKind::kFocusLost:
      detail::HandleFocus(false);
      break;
    case EventKind::kClose:
      CloseConsole();
    case EventKind::kQuit:
      detail::QuitFromPump();
    case EventKind::kNone:
      break;
  }
}

namespace detail {

void StartWindowEvents() { State() = WindowEventsState{}; }

}  // namespace detail
}  // namespace console
