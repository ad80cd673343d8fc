// TIRLA: the program's entry.
#include <cstdio>
#include <string_view>

#include "console/console.h"
#include "console/keyboard.h"
#include "diphone/waveout.h"
#include "driver/driver.h"
#include "platform/report.h"

namespace {

const char* const kUsage =
    "Uso: tirla [TEXTO...]\n"
    "Com TEXTO, abre uma janela de três linhas, fala o texto e termina.\n"
    "Sem TEXTO, abre o console: digite uma linha e tecle Enter para ouvi-la; a linha fim\n"
    "termina. Cada tecla é falada ao ser digitada; uma tecla interrompe a fala.\n"
    "A configuração é TOLVAN.INI ($TOLVAN_WINDIR, ou etc/tolvan da instalação).\n";

bool KeyWaiting(void*) { return console::KeyWaiting(); }

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && (std::string_view(argv[1]) == "--help" || std::string_view(argv[1]) == "-h")) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  console::BindStandardStreams();
  platform::SetReportSink(console::ConsoleReportSink());
  waveout::SetStopToken({.context = nullptr, .Requested = KeyWaiting});
  if (argc > 1) driver::RunCommandLine(driver::ProcessCommandLine(argc, argv));
  driver::RunInteractive();
}
