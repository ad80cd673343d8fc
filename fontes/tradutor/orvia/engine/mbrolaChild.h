// TIRLA: the mbrola program as a child process talked to over three pipes.
#pragma once
#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace mbrola {

// One running mbrola program. Our ends of its pipes are non-blocking.
struct Child {
  pid_t pid = -1;   // process id, -1 when none
  int input = -1;   // we write phoneme lines here (its standard input)
  int output = -1;  // it writes 16-bit samples here (its standard output)
  int errors = -1;  // it writes warnings and fatal errors here (its standard error)
};

// Full path of the first executable `name` in the folders of $PATH; empty when none.
std::string FindOnPath(const std::string& name);

// Starts `program` with the argument vector `args` (args[0] is the program's name), no
// shell. False, with `child` untouched, when the pipes or the process cannot be made.
bool StartChild(const std::string& program, const std::vector<std::string>& args, Child& child);

// Ends the child: closes its input, gives it `grace_ms` to leave, then kills it; reaps it and
// closes every pipe. Nothing when there is no child.
void EndChild(Child& child, int grace_ms);

// Whether the child is still running; a child found gone is reaped and its pipes closed.
bool ChildRunning(Child& child);

// What one Exchange round saw.
struct Traffic {
  size_t written = 0;        // bytes of `pending` taken by the child
  bool outputEnded = false;  // its standard output was closed: it has gone
  bool progress = false;     // anything moved at all
};

// Waits up to `wait_ms` (0: not at all) for the child to be ready, then moves what it can:
// writes from `pending` (the written part is erased), appends ready samples to `samples`
// and ready error text to `errors` (at most 256 KiB of each per round). A broken input pipe
// counts as output ended.
Traffic Exchange(Child& child, std::string& pending, std::vector<uint8_t>& samples,
                 std::string& errors, int wait_ms);

}  // namespace mbrola
