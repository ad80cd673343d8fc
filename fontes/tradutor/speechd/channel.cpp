// TIRLA: the output module's pipes and the protocol's framing.
#include "speechd/channel.h"

#include <errno.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>

#include "speechd/moduleLog.h"

namespace sdOrvia {
namespace {

constexpr size_t kReadSize = 65536;

// Appends what one read() gives; false at the end of input or on a failure.
bool ReadSome(Channel& channel) {
  char chunk[kReadSize];
  ssize_t n;
  do {
    n = ::read(channel.in, chunk, sizeof chunk);
  } while (n < 0 && errno == EINTR);
  if (n <= 0) {
    channel.ended = true;
    return false;
  }
  std::string_view bytes(chunk, static_cast<size_t>(n));
  // An over-long line is cut: its bytes up to the next LF are dropped as they come.
  while (channel.dropping && !bytes.empty()) {
    const size_t end = bytes.find('\n');
    if (end == std::string_view::npos) return true;
    channel.dropping = false;
    bytes.remove_prefix(end + 1);
  }
  channel.pending.append(bytes);
  return true;
}

// Whether the pipe holds bytes now.
bool InputWaiting(const Channel& channel) {
  pollfd fd{channel.in, POLLIN, 0};
  return ::poll(&fd, 1, 0) > 0 && (fd.revents & (POLLIN | POLLHUP | POLLERR)) != 0;
}

// Takes (or only copies) the first whole line when there is one. Taken lines are erased in
// batches, so that a block of many lines is not moved once per line.
bool TakeLine(Channel& channel, std::string& line, bool take) {
  std::string& pending = channel.pending;
  const size_t end = pending.find('\n', std::max(channel.start, channel.scanned));
  if (end == std::string::npos) {
    channel.scanned = pending.size();
    if (pending.size() - channel.start < kLongestLine) return false;
    pending.resize(channel.start + kLongestLine);  // no end in sight: cut the line here
    pending += '\n';
    channel.dropping = true;
    return TakeLine(channel, line, take);
  }
  size_t length = end - channel.start;
  if (length > 0 && pending[end - 1] == '\r') --length;
  line.assign(pending, channel.start, length);
  if (!take) return true;
  channel.lineCut = length >= kLongestLine;
  channel.start = end + 1;
  if (channel.start >= pending.size() / 2) {
    pending.erase(0, channel.start);
    channel.scanned = channel.scanned > channel.start ? channel.scanned - channel.start : 0;
    channel.start = 0;
  }
  return true;
}

}  // namespace

Channel OpenChannel(int in, int out) {
  Channel channel;
  channel.in = in;
  channel.out = out;
  return channel;
}

bool NextLine(Channel& channel, std::string& line, bool wait) {
  while (!TakeLine(channel, line, true)) {
    if (channel.ended || !wait) return false;
    ReadSome(channel);
  }
  return true;
}

bool PeekLine(Channel& channel, std::string& line) {
  while (!channel.ended && InputWaiting(channel) && ReadSome(channel)) {
  }
  return TakeLine(channel, line, false);
}

bool ReadBlock(Channel& channel, std::vector<std::string>& lines, size_t limit, bool& tooLong) {
  lines.clear();
  tooLong = false;
  size_t bytes = 0;
  std::string line;
  while (NextLine(channel, line, true)) {
    if (line == ".") return true;
    if (!line.empty() && line[0] == '.') line.erase(0, 1);
    bytes += line.size() + 1;
    if (bytes > limit || channel.lineCut) tooLong = true;
    if (!tooLong) lines.push_back(std::move(line));
  }
  return false;
}

bool Send(Channel& channel, std::string_view bytes) {
  while (!bytes.empty() && !channel.broken) {
    const ssize_t n = ::write(channel.out, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      channel.broken = true;
      break;
    }
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return !channel.broken;
}

bool SendReply(Channel& channel, int code, const std::vector<std::string>& lines,
               std::string_view last) {
  const std::string number = std::to_string(code);
  std::string reply;
  for (const std::string& line : lines) reply += number + "-" + line + "\n";
  reply += number + " ";
  reply += last;
  reply += '\n';
  if (Logging(kLogExchange)) {
    std::string said = reply;
    said.pop_back();
    std::replace(said.begin(), said.end(), '\n', '|');
    Log(kLogExchange, "-> " + said);
  }
  return Send(channel, reply);
}

bool SendReply(Channel& channel, int code, std::string_view last) {
  return SendReply(channel, code, {}, last);
}

}  // namespace sdOrvia
