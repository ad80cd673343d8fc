// TIRLA: the braille display through BrlAPI. Every library call is made on the main thread; a
// watcher thread only waits for the connection to become readable and posts a message, so the
// console reads the keys from its own pump, as it serves the sound device's messages.
#include "platform/brlapi/braille_brlapi.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <thread>

#include "platform/codepage.h"
#include "platform/messages.h"

#include <brlapi.h>

namespace platform {
namespace {

struct BrlapiState {
  bool open = false;
  bool lost = false;            // the library reported the connection broken
  int fd = -1;                  // the connection, for the watcher's poll
  unsigned width = 0;
  int stop_pipe[2] = {-1, -1};  // written to end the watcher
  std::thread watcher;
  std::mutex mutex;             // guards armed and quit
  std::condition_variable changed;
  bool armed = false;           // the watcher may wait for input and post once
  bool quit = false;
};

// Never destroyed: the program may end while the watcher waits, and a thread still joinable
// at destruction would end the program with an abort instead of its own exit code.
BrlapiState& State() {
  static BrlapiState* state = new BrlapiState;
  return *state;
}

// The library's default handler ends the program on a protocol error; a lost display must only
// go quiet.
void QuietException(int, brlapi_packetType_t, const void*, size_t) { State().lost = true; }

void Watch() {
  BrlapiState& s = State();
  for (;;) {
    {
      std::unique_lock lock(s.mutex);
      s.changed.wait(lock, [&] { return s.armed || s.quit; });
      if (s.quit) return;
    }
    pollfd fds[2] = {{.fd = s.fd, .events = POLLIN, .revents = 0},
                     {.fd = s.stop_pipe[0], .events = POLLIN, .revents = 0}};
    if (poll(fds, 2, -1) < 0) continue;
    if (fds[1].revents) return;
    {
      std::lock_guard lock(s.mutex);
      s.armed = false;
    }
    PostMessage(kBrailleKeysMessage);
  }
}

void Arm() {
  BrlapiState& s = State();
  {
    std::lock_guard lock(s.mutex);
    s.armed = true;
  }
  s.changed.notify_one();
}

void CloseDisplay() {
  BrlapiState& s = State();
  if (!s.open) return;
  {
    std::lock_guard lock(s.mutex);
    s.quit = true;
  }
  s.changed.notify_one();
  [[maybe_unused]] const ssize_t woken = write(s.stop_pipe[1], "x", 1);
  if (s.watcher.joinable()) s.watcher.join();
  close(s.stop_pipe[0]);
  close(s.stop_pipe[1]);
  if (!s.lost) brlapi_leaveTtyMode();
  brlapi_closeConnection();
  s.open = false;
  s.fd = -1;
  s.width = 0;
  s.armed = s.quit = false;
}

bool OpenDisplay(bool own_terminal, std::string* error) {
  BrlapiState& s = State();
  if (s.open) return true;
  brlapi_setExceptionHandler(QuietException);
  s.lost = false;
  s.fd = brlapi_openConnection(nullptr, nullptr);
  if (s.fd < 0) {
    if (error) *error = std::string("o BRLTTY n\xE3o respondeu: ") + brlapi_strerror(&brlapi_error);
    return false;
  }
  unsigned width = 0, height = 0;
  const bool sized = brlapi_getDisplaySize(&width, &height) == 0 && width > 0;
  // The terminal the program runs in when BRLTTY knows it (a text console); else the display
  // wherever the user is, as a screen reader takes it.
  const bool taken =
      sized && ((own_terminal && brlapi_enterTtyMode(BRLAPI_TTY_DEFAULT, nullptr) >= 0) ||
                brlapi_enterTtyModeWithPath(nullptr, 0, nullptr) == 0);
  if (!taken) {
    if (error) *error = sized ? "o BRLTTY n\xE3o cedeu a linha braille"
                              : "o BRLTTY n\xE3o tem linha braille ligada";
    brlapi_closeConnection();
    s.fd = -1;
    return false;
  }
  // Dots, not characters, from the display's keyboard: they go through the console's own
  // braille table, as the chord keyboard's do.
  const brlapi_param_retainDots_t retain = 1;
  brlapi_setParameter(BRLAPI_PARAM_RETAIN_DOTS, 0, BRLAPI_PARAMF_LOCAL, &retain, sizeof retain);
  // Only the keys the console answers; the rest stay BRLTTY's.
  brlapi_ignoreAllKeys();
  const brlapi_keyCode_t commands[] = {BRLAPI_KEY_TYPE_CMD | BRLAPI_KEY_CMD_LNUP,
                                       BRLAPI_KEY_TYPE_CMD | BRLAPI_KEY_CMD_LNDN,
                                       BRLAPI_KEY_TYPE_CMD | BRLAPI_KEY_CMD_FWINLT,
                                       BRLAPI_KEY_TYPE_CMD | BRLAPI_KEY_CMD_FWINRT,
                                       BRLAPI_KEY_TYPE_CMD | BRLAPI_KEY_CMD_ROUTE,
                                       BRLAPI_KEY_TYPE_CMD | BRLAPI_KEY_CMD_PASSDOTS};
  brlapi_acceptKeys(brlapi_rangeType_command, commands, std::size(commands));
  const brlapi_keyCode_t symbols[] = {BRLAPI_KEY_TYPE_SYM};
  brlapi_acceptKeys(brlapi_rangeType_type, symbols, std::size(symbols));
  if (pipe(s.stop_pipe) != 0) {
    brlapi_leaveTtyMode();
    brlapi_closeConnection();
    if (error) *error = std::string("n\xE3o foi poss\xEDvel esperar pela linha braille: ") +
                        std::strerror(errno);
    return false;
  }
  s.width = width;
  s.open = true;
  s.watcher = std::thread(Watch);
  Arm();
  return true;
}

int DisplayWidth() { return State().open ? static_cast<int>(State().width) : 0; }

bool WriteCells(std::string_view utf8, int cursor) {
  BrlapiState& s = State();
  if (!s.open || s.lost) return false;
  // BrlAPI wants exactly as many characters as the region it is told: count them.
  const std::string cut = Cp1252ToUtf8(Utf8ToCp1252(utf8).substr(0, s.width));
  const std::string cp = Utf8ToCp1252(cut);
  brlapi_writeArguments_t args = BRLAPI_WRITEARGUMENTS_INITIALIZER;
  args.regionBegin = 1;
  args.regionSize = -static_cast<int>(cp.size());
  args.text = cut.c_str();
  args.textSize = static_cast<int>(cut.size());
  args.charset = const_cast<char*>("UTF-8");
  args.cursor = cursor >= 0 && cursor < static_cast<int>(s.width) ? cursor + 1 : BRLAPI_CURSOR_OFF;
  if (cp.empty()) {  // an empty region is refused: one blank stands for the empty row
    args.regionSize = -1;
    args.text = " ";
    args.textSize = 1;
  }
  const bool written = brlapi_write(&args) == 0 && !s.lost;
  // A key that came while the library waited for the write's answer is kept inside it, out
  // of the watcher's sight: have the console look.
  if (written) PostMessage(kBrailleKeysMessage);
  return written;
}

bool WriteCellDots(std::string_view dots, int cursor) {
  BrlapiState& s = State();
  if (!s.open || s.lost) return false;
  std::string cells(s.width, '\0');  // the library wants the whole row
  std::copy_n(dots.begin(), std::min<size_t>(dots.size(), s.width), cells.begin());
  if (cursor >= 0 && cursor < static_cast<int>(s.width))
    cells[cursor] = static_cast<char>(cells[cursor] | BRLAPI_DOT7 | BRLAPI_DOT8);
  const bool written =
      brlapi_writeDots(reinterpret_cast<const unsigned char*>(cells.data())) == 0 && !s.lost;
  if (written) PostMessage(kBrailleKeysMessage);  // as after a text: keys kept while waiting
  return written;
}

// The keys of the display's own keyboard that are not dots.
int SymbolCharacter(brlapi_keyCode_t symbol) {
  switch (symbol) {
    case BRLAPI_KEY_SYM_BACKSPACE: return 8;
    case BRLAPI_KEY_SYM_TAB: return 9;
    case BRLAPI_KEY_SYM_LINEFEED: return 13;
    case BRLAPI_KEY_SYM_ESCAPE: return 27;
    default: break;
  }
  if (symbol & BRLAPI_KEY_SYM_UNICODE)
    return CodePointToCp1252(static_cast<char32_t>(symbol & (BRLAPI_KEY_SYM_UNICODE - 1)));
  if (symbol >= 0x20 && symbol < 0x100) return CodePointToCp1252(static_cast<char32_t>(symbol));
  return -1;
}

BrailleKey Translate(brlapi_keyCode_t code) {
  const brlapi_keyCode_t type = code & BRLAPI_KEY_TYPE_MASK;
  if (type == BRLAPI_KEY_TYPE_SYM) {
    const int ch = SymbolCharacter(code & BRLAPI_KEY_CODE_MASK);
    return ch > 0 ? BrailleKey{BrailleKeyKind::kCharacter, ch} : BrailleKey{};
  }
  const brlapi_keyCode_t command = code & BRLAPI_KEY_CMD_BLK_MASK;
  const int argument = static_cast<int>(code & BRLAPI_KEY_CMD_ARG_MASK);
  switch (command) {
    case BRLAPI_KEY_CMD_ROUTE: return {BrailleKeyKind::kRoute, argument};
    case BRLAPI_KEY_CMD_PASSDOTS: return {BrailleKeyKind::kDots, argument & 0xFF};
    default: break;
  }
  switch (code & BRLAPI_KEY_CODE_MASK) {
    case BRLAPI_KEY_CMD_LNUP: return {BrailleKeyKind::kLineUp, 0};
    case BRLAPI_KEY_CMD_LNDN: return {BrailleKeyKind::kLineDown, 0};
    case BRLAPI_KEY_CMD_FWINLT: return {BrailleKeyKind::kPanLeft, 0};
    case BRLAPI_KEY_CMD_FWINRT: return {BrailleKeyKind::kPanRight, 0};
    default: return {};
  }
}

bool ReadDisplayKey(BrailleKey* key, bool* lost) {
  BrlapiState& s = State();
  if (lost) *lost = false;
  if (!s.open) return false;
  for (;;) {
    brlapi_keyCode_t code = 0;
    const int got = s.lost ? -1 : brlapi_readKey(0, &code);
    if (got < 0) {
      if (lost) *lost = true;
      return false;
    }
    if (got == 0) {
      Arm();
      return false;
    }
    const BrailleKey translated = Translate(code);
    if (translated.kind == BrailleKeyKind::kNone) continue;  // a key the console has no use for
    if (key) *key = translated;
    return true;
  }
}

constexpr BrailleDisplay kBrlapiDisplay = {
    .Open = OpenDisplay,
    .Close = CloseDisplay,
    .Width = DisplayWidth,
    .Write = WriteCells,
    .WriteDots = WriteCellDots,
    .ReadKey = ReadDisplayKey,
};

}  // namespace

const BrailleDisplay& BrlapiBrailleDisplay() { return kBrlapiDisplay; }

}  // namespace platform
