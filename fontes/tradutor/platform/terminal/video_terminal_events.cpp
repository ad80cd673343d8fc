// TIRLA: the terminal's input as console events: ncurses reads and recognises the keys its
// terminal description knows (and the modified keys taught to it), the decoder does the rest;
// posted messages wake the wait through a pipe; a terminal that hangs up closes the console.
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <vector>

#include "platform/keys.h"
#include "platform/messages.h"
#include "platform/terminal/video_terminal_state.h"

namespace platform::term {
namespace {

constexpr int kUnitsPerPoll = 4096;      // input read by one poll at most
constexpr size_t kMaxPending = 4096;     // events kept waiting; more are dropped
constexpr int kReplyWaitMs = 1000;       // the terminal answers its queries by then
constexpr int kEmptyReadsForHangUp = 50; // "readable" with nothing read this often: gone
constexpr int kFirstTaughtKey = 0x2000;  // key codes given to the sequences taught to ncurses

// ncurses' key codes and the keys they are.
struct CursesKey {
  int code;
  int vk;
  unsigned modifiers;
};
const CursesKey kCursesKeys[] = {
    // code            key            modifiers
    {KEY_UP,           vk::kUp,       0},
    {KEY_DOWN,         vk::kDown,     0},
    {KEY_LEFT,         vk::kLeft,     0},
    {KEY_RIGHT,        vk::kRight,    0},
    {KEY_HOME,         vk::kHome,     0},
    {KEY_END,          vk::kEnd,      0},
    {KEY_PPAGE,        vk::kPrior,    0},
    {KEY_NPAGE,        vk::kNext,     0},
    {KEY_IC,           vk::kInsert,   0},
    {KEY_DC,           vk::kDelete,   0},
    {KEY_A1,           vk::kHome,     0},         // keypad corners
    {KEY_A3,           vk::kPrior,    0},
    {KEY_C1,           vk::kEnd,      0},
    {KEY_C3,           vk::kNext,     0},
    {KEY_ENTER,        vk::kReturn,   0},
    {KEY_BACKSPACE,    vk::kBack,     0},
    {KEY_BTAB,         vk::kTab,      kModShift},
    {KEY_SLEFT,        vk::kLeft,     kModShift},
    {KEY_SRIGHT,       vk::kRight,    kModShift},
    {KEY_SR,           vk::kUp,       kModShift},
    {KEY_SF,           vk::kDown,     kModShift},
    {KEY_SHOME,        vk::kHome,     kModShift},
    {KEY_SEND,         vk::kEnd,      kModShift},
    {KEY_SPREVIOUS,    vk::kPrior,    kModShift},
    {KEY_SNEXT,        vk::kNext,     kModShift},
    {KEY_SIC,          vk::kInsert,   kModShift},
    {KEY_SDC,          vk::kDelete,   kModShift},
    {KEY_BREAK,        vk::kCancel,   kModCtrl},
};
constexpr int kFunctionKeys = 12;

// The key of an ncurses code; false for codes the console has no key for.
bool KeyOfCode(int code, terminal::NamedKey* key) {
  for (const CursesKey& row : kCursesKeys) {
    if (row.code != code) continue;
    *key = {row.vk, row.modifiers};
    return true;
  }
  if (code >= KEY_F(1) && code < KEY_F(1) + 2 * kFunctionKeys) {
    // F13..F24 are Shift+F1..F12 in the xterm family's descriptions
    const int n = code - KEY_F(1);
    *key = {vk::kF1 + n % kFunctionKeys, n >= kFunctionKeys ? kModShift : 0u};
    return true;
  }
  const std::vector<terminal::NamedKey>& taught = State().taught_keys;  // from kFirstTaughtKey
  const int index = code - kFirstTaughtKey;
  if (index >= 0 && index < static_cast<int>(taught.size())) {
    *key = taught[index];
    return true;
  }
  return false;
}

// Decoded input to the events waiting: a paste puts its text on our clipboard and is then
// Ctrl+V, which the line editor pastes with.
void TakeDecoded() {
  TerminalState& s = State();
  std::vector<terminal::TerminalInput>& output = s.decoder.Output();
  for (terminal::TerminalInput& input : output) {
    std::vector<VideoEvent> events;
    if (input.event.kind == EventKind::kNone) {
      s.clipboard = std::move(input.paste);
      s.clipboard_has_text = true;
      events = {{.kind = EventKind::kKeyDown, .vk = 'V', .modifiers = kModCtrl},
                {.kind = EventKind::kChar, .ch = 22, .modifiers = kModCtrl},
                {.kind = EventKind::kKeyUp, .vk = 'V', .modifiers = kModCtrl}};
    } else {
      events = {input.event};
    }
    for (const VideoEvent& event : events)
      if (s.pending.size() < kMaxPending) s.pending.push_back(event);
  }
  output.clear();
}

// Whether the terminal has hung up (the far end of the line closed).
bool HungUp(int fd) {
  pollfd p{fd, POLLIN, 0};
  return poll(&p, 1, 0) > 0 && (p.revents & (POLLHUP | POLLERR | POLLNVAL));
}

// Reads what the terminal sent into events.
void ReadInput() {
  TerminalState& s = State();
  if (s.gone) return;
  if (hang_up || HungUp(s.tty)) {
    s.gone = true;
    return;
  }
  int unit = ERR;
  bool resized = false, read_any = false;
  for (int n = 0; n < kUnitsPerPoll; ++n) {
    unit = wgetch(stdscr);
    if (unit == ERR) break;
    read_any = true;
    s.last_input_ms = NowMs();
    terminal::NamedKey key;
    if (unit == KEY_RESIZE) {
      resized = true;
    } else if (unit >= 0 && unit < 256) {
      s.decoder.FeedByte(static_cast<unsigned char>(unit));
    } else if (KeyOfCode(unit, &key)) {
      s.decoder.FeedKey(key);
    }
  }
  if (s.readable_seen && !read_any && ++s.empty_reads >= kEmptyReadsForHangUp) s.gone = true;
  if (read_any) s.empty_reads = 0;
  s.readable_seen = false;
  const int wait = s.decoder.PendingWaitMs();
  // ncurses has waited for the rest of a sequence after a lone Escape already.
  if (wait > 0 && ((!s.kitty && s.decoder.LoneEscape() && unit == ERR) ||
                   NowMs() - s.last_input_ms >= wait))
    s.decoder.Flush();
  TakeDecoded();
  if (resized) {
    s.redraw_all = true;
    Present();
  }
}

}  // namespace

long long NowMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void DefineKeys() {
  std::vector<terminal::NamedKey>& taught = State().taught_keys;
  taught.clear();
  for (const terminal::KeySequence& sequence : terminal::ModifiedKeySequences()) {
    define_key(sequence.text.c_str(), 0);  // whatever the description called it, it is this
    if (define_key(sequence.text.c_str(), kFirstTaughtKey + static_cast<int>(taught.size())) == OK)
      taught.push_back(sequence.key);
    else
      taught.push_back({});
  }
  // Backspace and Ctrl+Backspace (127 and 8, in either order) are read as bytes.
  define_key("\x7f", 0);
  define_key("\b", 0);
}

bool DetectKitty() {
  TerminalState& s = State();
  // Asks for the kitty protocol's flags, then for the device attributes, which every
  // terminal answers: an answer to the first before the second means the protocol is there.
  WriteRaw("\x1b[?u\x1b[c");
  const long long end = NowMs() + kReplyWaitMs;
  while (!s.decoder.SawDeviceAttributes() && !s.gone) {
    const long long left = end - NowMs();
    if (left <= 0) break;
    pollfd p{s.tty, POLLIN, 0};
    poll(&p, 1, static_cast<int>(std::min<long long>(left, 50)));
    ReadInput();
  }
  return s.decoder.SawKittyReply();
}

bool PollEvent(VideoEvent* event) {
  TerminalState& s = State();
  if (!s.up) return false;
  if (s.pending.empty()) ReadInput();
  if (s.pending.empty() && s.gone && !s.close_sent) {
    s.close_sent = true;  // the terminal is gone: as when a window is closed
    *event = {.kind = EventKind::kClose};
    return true;
  }
  if (s.pending.empty()) return false;
  *event = s.pending.front();
  s.pending.pop_front();
  return true;
}

void WaitEvent(int timeout_ms) {
  TerminalState& s = State();
  if (!s.up || s.close_sent) {
    WaitForPostedMessage(timeout_ms);
    return;
  }
  if (!s.pending.empty() || HasPostedMessage() || hang_up || s.gone) return;
  Present();
  int wait = timeout_ms;
  if (const int pending = s.decoder.PendingWaitMs(); pending > 0) {
    const int left = static_cast<int>(std::max<long long>(0, s.last_input_ms + pending - NowMs()));
    wait = wait < 0 ? left : std::min(wait, left);
  }
  pollfd fds[2] = {{s.tty, POLLIN, 0}, {s.wake_read, POLLIN, 0}};
  poll(fds, s.wake_read >= 0 ? 2 : 1, wait);
  if (fds[0].revents & (POLLHUP | POLLERR | POLLNVAL))
    s.gone = true;
  else if (fds[0].revents & POLLIN)
    s.readable_seen = true;
  if (fds[1].revents & POLLIN) {
    char drain[64];
    while (read(s.wake_read, drain, sizeof drain) > 0) {
    }
  }
}

bool ReportsKeyUps() { return State().kitty; }

}  // namespace platform::term
