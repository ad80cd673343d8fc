// TIRLA: starting, feeding, reading and ending the mbrola child process.
#include "orvia/engine/mbrolaChild.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <thread>

namespace mbrola {
namespace {

constexpr size_t kReadChunk = 65536;
// Bytes read from one pipe per round: a child that writes as fast as we read must not keep
// one round going for ever.
constexpr size_t kMostPerRound = 4 * kReadChunk;

void CloseFd(int& fd) {
  if (fd >= 0) close(fd);
  fd = -1;
}

// Bytes the pipe of the child's sound holds: with room for about half a minute of it, the
// child goes on working while we make the next lines. Linux lets any user go up to 1 MiB;
// where it refuses, the pipe keeps its own size. The pipe of lines keeps its own: what waits
// there must be worked through when a text is cut short.
constexpr int kSoundPipeBytes = 1 << 20;

// A pipe whose ends are closed on exec, of at least `bytes` when given; false when it cannot
// be made.
bool MakePipe(int ends[2], int bytes = 0) {
  if (pipe2(ends, O_CLOEXEC) != 0) return false;
#ifdef F_SETPIPE_SZ
  if (bytes > 0) fcntl(ends[1], F_SETPIPE_SZ, bytes);
#endif
  return true;
}

void SetNonBlocking(int fd) { fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK); }

// A child that leaves closes its pipes; writing to it then must give EPIPE, not kill us.
void IgnoreBrokenPipes() {
  struct sigaction current {};
  sigaction(SIGPIPE, nullptr, &current);
  if (current.sa_handler == SIG_DFL) signal(SIGPIPE, SIG_IGN);
}

// Reads what is ready on `fd` (up to kMostPerRound) into `into`; false at end of file or on a
// hard error.
template <typename Buffer>
bool ReadReady(int fd, Buffer& into, bool& progress) {
  using Byte = typename Buffer::value_type;
  alignas(16) Byte chunk[kReadChunk];  // same type as the buffer: appending is one memcpy
  for (size_t taken = 0; taken < kMostPerRound;) {
    const ssize_t n = read(fd, chunk, sizeof chunk);
    if (n > 0) {
      into.insert(into.end(), chunk, chunk + n);
      taken += static_cast<size_t>(n);
      progress = true;
      continue;
    }
    if (n == 0) return false;
    if (errno == EINTR) continue;
    return errno == EAGAIN || errno == EWOULDBLOCK;
  }
  return true;
}

}  // namespace

std::string FindOnPath(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::string folders = path ? path : "/usr/local/bin:/usr/bin:/bin";
  size_t start = 0;
  while (start <= folders.size()) {
    size_t end = folders.find(':', start);
    if (end == std::string::npos) end = folders.size();
    // An empty entry means the current folder.
    const std::string folder = end > start ? folders.substr(start, end - start) : std::string(".");
    const std::string candidate = folder + "/" + name;
    struct stat info {};
    if (stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
        access(candidate.c_str(), X_OK) == 0)
      return candidate;
    start = end + 1;
  }
  return {};
}

bool StartChild(const std::string& program, const std::vector<std::string>& args, Child& child) {
  IgnoreBrokenPipes();
  int in[2], out[2], err[2];
  if (!MakePipe(in)) return false;
  if (!MakePipe(out, kSoundPipeBytes)) {
    close(in[0]), close(in[1]);
    return false;
  }
  if (!MakePipe(err)) {
    close(in[0]), close(in[1]), close(out[0]), close(out[1]);
    return false;
  }
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  const pid_t pid = fork();
  if (pid == 0) {
    // Only async-signal-safe calls between fork and exec. Broken pipes are ignored here, not
    // in the child: an ignored signal would stay ignored across exec.
    struct sigaction fallback {};
    fallback.sa_handler = SIG_DFL;
    sigaction(SIGPIPE, &fallback, nullptr);
    dup2(in[0], 0);
    dup2(out[1], 1);
    dup2(err[1], 2);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  close(in[0]), close(out[1]), close(err[1]);
  if (pid < 0) {
    close(in[1]), close(out[0]), close(err[0]);
    return false;
  }
  child.pid = pid;
  child.input = in[1];
  child.output = out[0];
  child.errors = err[0];
  SetNonBlocking(child.input);
  SetNonBlocking(child.output);
  SetNonBlocking(child.errors);
  return true;
}

void EndChild(Child& child, int grace_ms) {
  if (child.pid < 0) return;
  CloseFd(child.input);
  int status = 0;
  pid_t gone = waitpid(child.pid, &status, WNOHANG);
  for (int waited = 0; gone == 0 && waited < grace_ms; waited += 2) {
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
    gone = waitpid(child.pid, &status, WNOHANG);
  }
  if (gone == 0) {
    kill(child.pid, SIGKILL);
    waitpid(child.pid, &status, 0);
  }
  child.pid = -1;
  CloseFd(child.output);
  CloseFd(child.errors);
}

bool ChildRunning(Child& child) {
  if (child.pid < 0) return false;
  int status = 0;
  const pid_t r = waitpid(child.pid, &status, WNOHANG);
  if (r == 0) return true;
  child.pid = -1;  // reaped, or not ours any more
  CloseFd(child.input);
  CloseFd(child.output);
  CloseFd(child.errors);
  return false;
}

Traffic Exchange(Child& child, std::string& pending, std::vector<uint8_t>& samples,
                 std::string& errors, int wait_ms) {
  Traffic t;
  if (child.pid < 0 || child.output < 0) {
    t.outputEnded = true;
    return t;
  }
  pollfd fds[3] = {{child.output, POLLIN, 0}, {child.errors, POLLIN, 0}, {-1, POLLOUT, 0}};
  const bool writing = !pending.empty() && child.input >= 0;
  if (writing) fds[2].fd = child.input;
  if (poll(fds, 3, wait_ms) < 0 && errno != EINTR) t.outputEnded = true;
  if (child.errors >= 0 && !ReadReady(child.errors, errors, t.progress)) CloseFd(child.errors);
  if (!ReadReady(child.output, samples, t.progress)) t.outputEnded = true;
  if (writing) {
    while (!pending.empty()) {
      const ssize_t n = write(child.input, pending.data(), pending.size());
      if (n > 0) {
        pending.erase(0, static_cast<size_t>(n));
        t.written += static_cast<size_t>(n);
        t.progress = true;
        continue;
      }
      if (n < 0 && errno == EINTR) continue;
      if (n < 0 && errno == EPIPE) t.outputEnded = true;
      break;
    }
  }
  return t;
}

}  // namespace mbrola
