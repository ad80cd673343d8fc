// TIRLA: the output module: the server's commands, one table row each, over one channel, with
// ORVIA and one MBROLA kept warm from INIT to QUIT.
#pragma once
#include <string>

#include "speechd/channel.h"

namespace sdOrvia {

// Longest SPEAK text taken (bytes of the block); a longer one is answered 301.
constexpr size_t kLongestMessage = 8u << 20;

// Serves commands until QUIT or the end of input; the program's exit code. `configPath` is the
// file the server names (it may not exist).
int RunModule(Channel& channel, const std::string& configPath);

}  // namespace sdOrvia
