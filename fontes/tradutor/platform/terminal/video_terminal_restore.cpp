// TIRLA: the terminal given back as it was: at the program's end, on a signal that ends it
// (with only what a signal handler may call), and the standard streams kept aside meanwhile.
#include <fcntl.h>
#include <sys/mman.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>

#include "platform/messages.h"
#include "platform/terminal/video_terminal_state.h"

namespace platform::term {
namespace {

constexpr size_t kReplayLimit = 1 << 20;  // kept-aside output written out at the end

// The signals that end the program.
constexpr std::array<int, 9> kEndingSignals = {SIGINT, SIGTERM, SIGQUIT, SIGHUP, SIGSEGV,
                                               SIGABRT, SIGBUS, SIGFPE, SIGILL};

// What the program and its libraries write to standard output and error while ncurses owns
// the terminal would break the picture: it goes to a memory file and is written out once the
// terminal is given back.
void KeepStreamAside(KeptStream& stream) {
  // /dev/tty is a device of its own: the stream goes to the same terminal when that terminal
  // is this session's controlling one
  if (!isatty(stream.fd) || tcgetsid(stream.fd) != getsid(0)) return;
  const int memory = memfd_create("tirla-saida", MFD_CLOEXEC | MFD_ALLOW_SEALING);
  if (memory < 0) return;
  // the file cannot grow past what is written out at the end: a library that talks without
  // end gets a write error, not the machine's memory (pages are taken only when written)
  if (ftruncate(memory, kReplayLimit) != 0 ||
      fcntl(memory, F_ADD_SEALS, F_SEAL_GROW | F_SEAL_SHRINK | F_SEAL_SEAL) != 0) {
    close(memory);
    return;
  }
  const int saved = fcntl(stream.fd, F_DUPFD_CLOEXEC, 3);
  if (saved < 0 || dup2(memory, stream.fd) < 0) {
    close(memory);
    if (saved >= 0) close(saved);
    return;
  }
  stream.saved = saved;
  stream.kept = memory;
}

// Puts the stream back and writes out what was kept. Async-signal-safe.
void RestoreStream(KeptStream& stream) {
  if (stream.saved < 0) return;
  dup2(stream.saved, stream.fd);
  close(stream.saved);
  stream.saved = -1;
  // the shared offset says how much was written; the rest of the file is its zero padding
  const off_t written = lseek(stream.kept, 0, SEEK_CUR);
  lseek(stream.kept, 0, SEEK_SET);
  char buffer[4096];
  size_t total = 0;
  const size_t wanted = written > 0 ? static_cast<size_t>(written) : 0;
  ssize_t n;
  while (total < wanted &&
         (n = read(stream.kept, buffer, std::min(sizeof buffer, wanted - total))) > 0) {
    WriteAll(stream.fd, buffer, static_cast<size_t>(n));
    total += static_cast<size_t>(n);
  }
  close(stream.kept);
  stream.kept = -1;
}

// Gives the terminal back from a signal handler: only async-signal-safe calls.
void EmergencyRestore() {
  TerminalState& s = State();
  if (!s.up) return;
  s.up = false;
  if (!s.gone) WriteAll(s.tty, s.reset.bytes.data(), s.reset.size);
  if (s.saved_valid) tcsetattr(s.tty, TCSANOW, &s.saved);
  for (KeptStream& stream : s.kept_streams) RestoreStream(stream);
}

// A fault: the terminal back, then the action there was before (the default, or a
// sanitizer's report), which ends the program. A request to end (SIGINT, SIGTERM, SIGQUIT, a
// second SIGHUP) ends it as the signal's default does, whoever listened before.
void OnEndingSignal(int number) {
  const int saved_errno = errno;
  if (number == SIGHUP && !hang_up) {
    // The terminal is gone: the program ends through its own close, from the event loop.
    hang_up = 1;
    const TerminalState& s = State();
    if (s.wake_write >= 0) {
      const char byte = 1;
      [[maybe_unused]] const ssize_t n = write(s.wake_write, &byte, 1);
    }
    errno = saved_errno;
    return;
  }
  EmergencyRestore();
  if (number == SIGINT || number == SIGTERM || number == SIGQUIT || number == SIGHUP)
    signal(number, SIG_DFL);
  else
    sigaction(number, &State().previous_actions[number], nullptr);
  raise(number);
  errno = saved_errno;
}

}  // namespace

void InstallSignalHandlers() {
  for (const int number : kEndingSignals) {
    struct sigaction action {};
    action.sa_handler = OnEndingSignal;
    sigemptyset(&action.sa_mask);
    struct sigaction before {};
    if (sigaction(number, nullptr, &before) != 0 || before.sa_handler == SIG_IGN) continue;
    State().previous_actions[number] = before;
    sigaction(number, &action, nullptr);
  }
}

void WriteAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    const ssize_t n = write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    data += n;
    size -= static_cast<size_t>(n);
  }
}

void AddReset(const char* text) {
  ResetBytes& reset = State().reset;
  if (!text || text == reinterpret_cast<const char*>(-1)) return;  // absent, or not a string
  const size_t n = std::min(std::strlen(text), reset.bytes.size() - reset.size);
  std::memcpy(reset.bytes.data() + reset.size, text, n);
  reset.size += n;
}

void KeepStreamsAside() {
  TerminalState& s = State();
  for (KeptStream& stream : s.kept_streams) KeepStreamAside(stream);
}

void RestoreStreams() {
  for (KeptStream& stream : State().kept_streams) RestoreStream(stream);
}

void ShutDown() {
  TerminalState& s = State();
  if (!s.up) return;
  if (!s.gone) {
    Present();
    std::string restore;
    if (s.kitty) restore += kKittyPop;
    restore += kPasteOff;
    WriteAll(s.tty, restore.data(), restore.size());
    endwin();
  }
  s.up = false;
  if (s.saved_valid) tcsetattr(s.tty, TCSANOW, &s.saved);
  std::fflush(stdout);
  std::fflush(stderr);
  RestoreStreams();
  SetWakeUpHook(nullptr);
}

}  // namespace platform::term
