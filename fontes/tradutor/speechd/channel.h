// TIRLA: the output module's two pipes: lines and blocks read from the server (standard
// input), replies and events written to it (standard output), with the protocol's framing.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace sdOrvia {

// Longest line kept whole; the rest of a longer one is dropped (and the line marked so).
constexpr size_t kLongestLine = 16u << 20;

struct Channel {
  int in = 0;             // the server's commands
  int out = 1;            // replies, events, audio
  std::string pending;    // bytes read; those from `start` on are not yet taken as lines
  size_t start = 0;       // where the first line not yet taken begins
  size_t scanned = 0;     // `pending` up to here holds no line end after `start`
  bool ended = false;     // input closed (or failed): nothing more will come
  bool dropping = false;  // inside an over-long line: bytes are dropped up to its end
  bool lineCut = false;   // the last line taken was cut to kLongestLine
  bool broken = false;    // a write failed: the server is gone
};

// A channel over the two file descriptors.
Channel OpenChannel(int in, int out);

// The next whole line (without its LF, and without a CR before it). With `wait`, reads until
// one is there; false when none is (without `wait`) or the input ended.
bool NextLine(Channel& channel, std::string& line, bool wait);

// The first whole line waiting, if any, without taking it; reads what the pipe holds first,
// never blocking.
bool PeekLine(Channel& channel, std::string& line);

// The lines of a block up to its lone "." line, each with one leading "." dropped; false when
// the input ended first. Past `limit` bytes the lines are dropped and `tooLong` is set.
bool ReadBlock(Channel& channel, std::vector<std::string>& lines, size_t limit, bool& tooLong);

// Writes the bytes at once (the pipe is the server's only news); false when the server is gone.
bool Send(Channel& channel, std::string_view bytes);

// One reply or event: every line but the last as "NNN-line", the last as "NNN text".
bool SendReply(Channel& channel, int code, const std::vector<std::string>& lines,
               std::string_view last);
bool SendReply(Channel& channel, int code, std::string_view last);

}  // namespace sdOrvia
