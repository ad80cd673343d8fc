// TIRLA: the terminal backend: the console's cells on an ncurses pad shown in the terminal,
// the part around the caret when the terminal is smaller, and the terminal given back as it
// was at exit and on every signal that ends the program.
#include <fcntl.h>
#include <langinfo.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <clocale>
#include <cstdlib>
#include <cstring>

#include "platform/codepage.h"
#include "platform/datafile.h"
#include "platform/messages.h"
#include "platform/terminal/video_terminal_state.h"
#include "platform/video.h"

namespace platform {
namespace term {

TerminalState& State() {
  static TerminalState& state = *new TerminalState;
  return state;
}

volatile std::sig_atomic_t hang_up = 0;

namespace {

constexpr int kEscapeDelayMs = 50;     // ncurses waits this long for the rest of a key's sequence
constexpr const char* kPasteOn = "\x1b[?2004h";   // bracketed paste

// ANSI colour number of each console colour number (the PC order has red and blue swapped).
constexpr std::array<int, 16> kAnsiColour = {0, 4, 2, 6, 1, 5, 3, 7,
                                             8, 12, 10, 14, 9, 13, 11, 15};
constexpr int kBrightBlack = 8;

// Posted messages wake the wait through the pipe (from any thread).
void WakeUp() {
  const int fd = State().wake_write;
  if (fd < 0) return;
  const char byte = 0;
  [[maybe_unused]] const ssize_t n = write(fd, &byte, 1);
}

// Wide characters come out in the locale's character set: the user's, or UTF-8 when the
// locale names none (an unset locale on a terminal that, these days, speaks UTF-8).
bool ChooseLocale() {
  const char* chosen = std::setlocale(LC_CTYPE, "");
  const std::string codeset = chosen ? nl_langinfo(CODESET) : "";
  if (!chosen || codeset == "ANSI_X3.4-1968" || codeset.empty())
    std::setlocale(LC_CTYPE, "C.UTF-8");
  return std::string(nl_langinfo(CODESET)) == "UTF-8";
}

void CloseFiles() {
  TerminalState& s = State();
  if (s.in) std::fclose(s.in);
  if (s.out) std::fclose(s.out);
  if (s.tty >= 0) close(s.tty);
  s.in = s.out = nullptr;
  s.tty = -1;
}

// ---- display ---------------------------------------------------------------------------------

bool Start(std::string* error) {
  TerminalState& s = State();
  if (s.up) return true;
  s.tty = open("/dev/tty", O_RDWR | O_CLOEXEC | O_NOCTTY);
  if (s.tty < 0) {
    if (error)
      *error = std::string("nenhum terminal disponível (/dev/tty: ") +
               platform::Cp1252ToUtf8(platform::SystemReason(errno)) + ")";
    return false;
  }
  s.saved_valid = tcgetattr(s.tty, &s.saved) == 0;
  const bool utf8 = ChooseLocale();
  s.in = fdopen(fcntl(s.tty, F_DUPFD_CLOEXEC, 3), "r");
  s.out = fdopen(fcntl(s.tty, F_DUPFD_CLOEXEC, 3), "w");
  if (!s.in || !s.out) {
    if (error) *error = std::string("o terminal não pôde ser aberto: ") +
                           platform::Cp1252ToUtf8(platform::SystemReason(errno));
    CloseFiles();
    return false;
  }
  std::fflush(stdout);
  std::fflush(stderr);
  KeepStreamsAside();
  s.screen = newterm(nullptr, s.out, s.in);
  if (!s.screen) {
    RestoreStreams();
    if (s.saved_valid) tcsetattr(s.tty, TCSANOW, &s.saved);
    const char* type = std::getenv("TERM");
    if (error)
      *error = std::string("terminal de tipo desconhecido (TERM=") + (type ? type : "") + ")";
    CloseFiles();
    return false;
  }
  set_term(s.screen);
  raw();
  noecho();
  nonl();
  intrflush(stdscr, FALSE);
  keypad(stdscr, TRUE);
  nodelay(stdscr, TRUE);
  // No meta(): an 8-bit terminal line already gives bytes from 128 on (UTF-8), and meta()
  // would make xterm send Alt+key as one 8-bit byte instead of Escape and the key.
  set_escdelay(kEscapeDelayMs);
  if (has_colors() && start_color() == OK) {
    s.colours = true;
    s.sixteen = COLORS >= 16;
    const char* type = termname();
    s.bright_background_blinks = !s.sixteen && type && std::strncmp(type, "linux", 5) == 0;
  }
  DefineKeys();
  s.decoder.SetUtf8(utf8);
  s.reset = ResetBytes{};
  for (const char* name : {"sgr0", "cnorm", "rmkx", "rmcup"}) AddReset(tigetstr(name));
  AddReset(kPasteOff);
  int pipe_fds[2];
  if (pipe2(pipe_fds, O_CLOEXEC | O_NONBLOCK) == 0) {
    s.wake_read = pipe_fds[0];
    s.wake_write = pipe_fds[1];
  }
  s.up = true;
  hang_up = 0;
  InstallSignalHandlers();
  if (!s.shutdown_registered) {
    s.shutdown_registered = true;
    std::atexit(ShutDown);
  }
  doupdate();
  WriteRaw(kPasteOn);
  if (DetectKitty()) {
    WriteRaw("\x1b[>" + std::to_string(terminal::kKittyFlags) + "u");
    keypad(stdscr, FALSE);  // every key now comes as a report we read ourselves
    s.kitty = true;
    s.decoder.SetKitty(true);
    AddReset(kKittyPop);
  }
  SetWakeUpHook(WakeUp);
  return true;
}

bool IsUp() { return State().up; }

bool CreateWindow(std::string_view, int columns, int rows, std::string* error) {
  TerminalState& s = State();
  if (s.pad) delwin(s.pad);
  s.pad = newpad(rows, columns);
  if (!s.pad) {
    if (error) *error = "sem memória para a tela";
    return false;
  }
  s.columns = columns;
  s.rows = rows;
  s.top = s.left = 0;
  s.caret = false;
  s.caret_column = s.caret_row = 0;
  s.redraw_all = true;
  return true;
}

void DestroyWindow() {
  TerminalState& s = State();
  if (s.pad) delwin(s.pad);
  s.pad = nullptr;
  s.caret = false;
}

// The terminal has the focus as long as the program runs in it.
void ShowWindow(bool) {
  TerminalState& s = State();
  s.redraw_all = true;
  s.pending.push_back({.kind = EventKind::kFocusGained});
}

// The console colour number of a colour: the palette entry it is, else the nearest one.
int ColourNumber(Rgb colour) {
  int best = 0;
  long best_distance = -1;
  for (int i = 0; i < static_cast<int>(kConsolePalette.size()); ++i) {
    const Rgb& p = kConsolePalette[i];
    const long dr = p.red - colour.red, dg = p.green - colour.green, db = p.blue - colour.blue;
    const long distance = dr * dr + dg * dg + db * db;
    if (best_distance < 0 || distance < best_distance) {
      best = i;
      best_distance = distance;
    }
  }
  return best;
}

// The attribute and colour pair of a cell: the terminal's own 16 colours by number; with 8,
// bright letters in bold and bright backgrounds as their dark form (on the Linux console
// through blink, which it shows as a bright background), except the line editor's selection
// (bright black, which would be black) in reverse video; with none, a coloured background in
// reverse video.
void CellLook(Rgb fore, Rgb back, attr_t* attribute, short* pair) {
  const TerminalState& s = State();
  int foreground = kAnsiColour[ColourNumber(fore)];
  int background = kAnsiColour[ColourNumber(back)];
  *attribute = A_NORMAL;
  *pair = 0;
  if (!s.colours) {
    if (background != 0) *attribute |= A_REVERSE;
    return;
  }
  if (!s.sixteen) {
    if (foreground >= 8) *attribute |= A_BOLD;
    if (background >= 8 && s.bright_background_blinks) *attribute |= A_BLINK;
    if (background == kBrightBlack && !s.bright_background_blinks) *attribute |= A_REVERSE;
    foreground &= 7;
    background &= 7;
  }
  const int allocated = alloc_pair(foreground, background);
  *pair = static_cast<short>(std::max(allocated, 0));
}

// What a cp1252 byte shows: its character; controls and the unassigned bytes as '?'.
wchar_t Glyph(unsigned char byte) {
  const char32_t code = Cp1252ToCodePoint(byte);
  if (code == 0) return L' ';
  if (code < 0x20 || (code >= 0x7F && code < 0xA0)) return L'?';
  return static_cast<wchar_t>(code);
}

void PutCells(int column, int row, std::string_view text, Rgb fore, Rgb back, bool blank) {
  TerminalState& s = State();
  if (!s.pad || row < 0 || row >= s.rows) return;
  attr_t attribute;
  short pair;
  CellLook(fore, back, &attribute, &pair);
  for (size_t i = 0; i < text.size(); ++i) {
    const int c = column + static_cast<int>(i);
    if (c < 0 || c >= s.columns) continue;
    const wchar_t glyph[2] = {blank ? L' ' : Glyph(static_cast<unsigned char>(text[i])), 0};
    cchar_t cell;
    setcchar(&cell, glyph, attribute, pair, nullptr);
    mvwadd_wch(s.pad, row, c, &cell);
  }
  s.dirty = true;
}

void DrawRun(int column, int row, std::string_view text, Rgb fore, Rgb back) {
  PutCells(column, row, text, fore, back, false);
}

void FillCells(int column, int row, int column2, int row2, Rgb colour) {
  if (column2 <= column) return;
  const std::string blanks(static_cast<size_t>(column2 - column), ' ');
  for (int r = row; r < row2; ++r) PutCells(column, r, blanks, colour, colour, true);
}

// Keeps the caret's cell in view: the first row (column) shown moves only as far as needed.
void Follow(int at, int size, int shown, int* first) {
  if (size <= shown) {
    *first = 0;
    return;
  }
  if (at < *first) *first = at;
  if (at >= *first + shown) *first = at - shown + 1;
  *first = std::clamp(*first, 0, size - shown);
}

void ShowCaret(int column, int row) {
  TerminalState& s = State();
  s.caret = true;
  s.caret_column = column;
  s.caret_row = row;
  Present();
}

void HideCaret() {
  State().caret = false;
  Present();
}

constexpr Display kDisplay = {
    .Start = Start,
    .IsUp = IsUp,
    .CreateWindow = CreateWindow,
    .DestroyWindow = DestroyWindow,
    .ShowWindow = ShowWindow,
    .DrawRun = DrawRun,
    .FillCells = FillCells,
    .Present = Present,
    .ShowCaret = ShowCaret,
    .HideCaret = HideCaret,
    .PollEvent = PollEvent,
    .WaitEvent = WaitEvent,
    .ReportsKeyUps = ReportsKeyUps,
};

}  // namespace

void Present() {
  TerminalState& s = State();
  if (!s.up || s.gone || !s.pad) return;
  const int lines = std::max(LINES, 1), columns = std::max(COLS, 1);
  Follow(s.caret_row, s.rows, lines, &s.top);
  Follow(s.caret_column, s.columns, columns, &s.left);
  if (s.redraw_all) {
    werase(stdscr);
    wnoutrefresh(stdscr);
    touchwin(s.pad);
    s.redraw_all = false;
  }
  const int shown_rows = std::min(s.rows - s.top, lines);
  const int shown_columns = std::min(s.columns - s.left, columns);
  const bool caret = s.caret && s.caret_row >= s.top && s.caret_row < s.top + shown_rows &&
                     s.caret_column >= s.left && s.caret_column < s.left + shown_columns;
  if (caret) wmove(s.pad, s.caret_row, s.caret_column);
  if (!caret) curs_set(0);
  pnoutrefresh(s.pad, s.top, s.left, 0, 0, shown_rows - 1, shown_columns - 1);
  doupdate();
  if (caret) curs_set(1);
  s.dirty = false;
}

void WriteRaw(std::string_view bytes) {
  const TerminalState& s = State();
  if (!s.up || s.gone) return;
  WriteAll(s.tty, bytes.data(), bytes.size());
}

void Bell() {
  const TerminalState& s = State();
  if (s.up && !s.gone) beep();
}

}  // namespace term

const Display& TerminalDisplay() { return term::kDisplay; }

}  // namespace platform
