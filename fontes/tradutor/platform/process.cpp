// TIRLA: starting other programs with posix_spawn and an argument vector.
#include "platform/process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cstring>
#include <system_error>
#include <thread>

#include "platform/codepage.h"
#include "platform/datafile.h"

extern char** environ;

namespace platform {

bool RunProgram(std::string_view program, const std::vector<std::string>& arguments,
                std::string* error) {
  if (program.empty()) {
    if (error) *error = "nenhum programa";
    return false;
  }
  // Everything the child needs is made before it exists.
  std::vector<std::string> words{Cp1252ToUtf8(program)};
  for (const std::string& argument : arguments) words.push_back(Cp1252ToUtf8(argument));
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  // The opener must not read the keys typed in our terminal.
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  pid_t pid = 0;
  const int status = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (status != 0) {
    if (error) *error = words[0] + ": " + Cp1252ToUtf8(SystemReason(status));
    return false;
  }
  // The program runs on by itself; a thread of ours collects its end, so none is left as a
  // zombie and nothing here waits for it. Without a thread it stays a zombie until we end.
  try {
    std::thread([pid] { waitpid(pid, nullptr, 0); }).detach();
  } catch (const std::system_error&) {
  }
  return true;
}

bool OpenDocument(std::string_view document, std::string* error) {
  std::string name(document);
  if (!name.empty() && name[0] == '-') name = "./" + name;
  return RunProgram(kDocumentOpener, {name}, error);
}

}  // namespace platform
