// TIRLA: sd_orvia, the Speech Dispatcher output module that speaks with ORVIA. The server
// starts it with the path of its configuration file and talks to it over standard input and
// output; standard error is the module's log.
#include <signal.h>
#include <unistd.h>

#include "platform/report.h"
#include "speechd/module.h"
#include "speechd/moduleLog.h"

int main(int argc, char** argv) {
  // A server that went away shows as a failed write, never as a killed module.
  signal(SIGPIPE, SIG_IGN);
  platform::SetReportProgram("sd_orvia");
  sdOrvia::StartModuleLog();
  sdOrvia::Channel channel = sdOrvia::OpenChannel(STDIN_FILENO, STDOUT_FILENO);
  return sdOrvia::RunModule(channel, argc > 1 ? argv[1] : "");
}
