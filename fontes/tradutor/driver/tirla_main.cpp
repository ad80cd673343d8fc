// TIRLA: the program's entry.
#include "console/console.h"
#include "console/keyboard.h"
#include "diphone/waveout.h"
#include "driver/driver.h"
#include "platform/report.h"

namespace {

bool KeyWaiting(void*) { return console::KeyWaiting(); }

}  // namespace

int main(int argc, char** argv) {
  console::BindStandardStreams();
  platform::SetReportSink(console::ConsoleReportSink());
  waveout::SetStopToken({.context = nullptr, .Requested = KeyWaiting});
  if (argc > 1) driver::RunCommandLine(driver::ProcessCommandLine(argc, argv));
  driver::RunInteractive();
}
