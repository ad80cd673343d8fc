// TIRLA: what the terminal backend's files share: its one state struct. ncurses lives here only.
#pragma once
#define NCURSES_NOMACROS
#define NCURSES_WIDECHAR 1
#include <curses.h>
#include <termios.h>

#include <array>
#include <csignal>
#include <deque>
#include <string>
#include <vector>

#include "platform/display.h"
#include "platform/terminal/video_terminal_keys.h"

namespace platform::term {

// What a signal handler writes to give the terminal back: built once ncurses knows the
// terminal, only read afterwards.
struct ResetBytes {
  std::array<char, 512> bytes{};
  size_t size = 0;
};

// A standard stream set aside while ncurses owns the terminal.
struct KeptStream {
  int fd;          // 1 or 2
  int saved = -1;  // the stream as it was
  int kept = -1;   // the memory file that takes what is written meanwhile
};

struct TerminalState {
  bool up = false;                     // the terminal is in the console's modes
  bool shutdown_registered = false;    // ShutDown is an exit handler (once per process)
  int tty = -1;                        // the terminal (/dev/tty), read and written
  FILE* in = nullptr;                  // ncurses' input and output streams over it
  FILE* out = nullptr;
  SCREEN* screen = nullptr;            // ncurses' screen
  termios saved{};                     // the terminal's modes before the start
  bool saved_valid = false;
  bool kitty = false;                  // the kitty keyboard protocol is on (key releases)
  bool colours = false;                // the terminal has colours
  bool sixteen = false;                // ... sixteen of them or more
  bool bright_background_blinks = false;  // 8 colours, bright backgrounds through blink (Linux)
  WINDOW* pad = nullptr;               // the console's cells, columns x rows
  int columns = 0, rows = 0;           // its size
  bool caret = false;                  // the caret is shown
  int caret_column = 0, caret_row = 0; // the cell it is under (kept when hidden: the view follows)
  int top = 0, left = 0;               // first row and column shown, when the terminal is smaller
  bool redraw_all = true;              // the whole terminal is drawn again at the next showing
  bool dirty = false;                  // something changed since the last showing
  int wake_read = -1, wake_write = -1; // a pipe: posted messages wake the wait
  terminal::KeyDecoder decoder;        // bytes to key events
  std::vector<terminal::NamedKey> taught_keys;  // keys of the sequences taught to ncurses
  long long last_input_ms = 0;         // when the last byte came (an unfinished sequence waits)
  std::deque<VideoEvent> pending;      // decoded events not yet taken
  bool gone = false;                   // the terminal hung up: nothing is read or written
  bool close_sent = false;             // the close event for a hang-up was given
  std::string clipboard;               // the clipboard of our own (cp1252)
  bool clipboard_has_text = false;
  std::array<KeptStream, 2> kept_streams = {{{1}, {2}}};  // standard output and error
  ResetBytes reset;                    // what gives the terminal back from a signal handler
  std::array<struct sigaction, 32> previous_actions{};  // signal actions before ours
  bool readable_seen = false;          // the last wait saw input waiting
  int empty_reads = 0;                 // such waits in a row with nothing read after them
};

// Never destroyed: the exit and signal handlers still use it while the process ends.
TerminalState& State();

// Set by SIGHUP: the terminal hung up; the next poll gives a close event.
extern volatile std::sig_atomic_t hang_up;

// Input (video_terminal_events.cpp).
bool DetectKitty();               // asks the terminal; true when it has the kitty protocol
void DefineKeys();                // teaches ncurses the modified keys' sequences
bool PollEvent(VideoEvent* event);
void WaitEvent(int timeout_ms);
bool ReportsKeyUps();
long long NowMs();

// Giving the terminal back (video_terminal_restore.cpp).
inline constexpr const char* kPasteOff = "\x1b[?2004l";  // bracketed paste off
inline constexpr const char* kKittyPop = "\x1b[<u";      // the kitty flags as they were
void WriteAll(int fd, const char* data, size_t size);  // every byte, unless the fd fails
void AddReset(const char* text);   // a terminfo string or sequence for the signal handlers
void KeepStreamsAside();           // standard output and error to memory, when they are the tty
void RestoreStreams();             // back, with what they took meanwhile (async-signal-safe)
void InstallSignalHandlers();      // the ending signals give the terminal back
void ShutDown();                   // the program's end: ncurses ended, the modes as they were

// Output and life (video_terminal.cpp).
void Present();                   // shows what changed
void WriteRaw(std::string_view bytes);  // bytes for the terminal, after what ncurses drew
void Bell();

}  // namespace platform::term

namespace platform {
// The terminal backend's display table (video_terminal.cpp).
const Display& TerminalDisplay();

}  // namespace platform::term
