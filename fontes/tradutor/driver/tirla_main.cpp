// TIRLA: the program's entry.
#include <array>
#include <cstdio>
#include <string_view>
#include <vector>

#include "console/braille_output.h"
#include "console/console.h"
#include "console/keyboard.h"
#include "diphone/waveout.h"
#include "driver/driver.h"
#include "platform/brlapi/braille_brlapi.h"
#include "platform/louis/braille_louis.h"
#include "platform/report.h"
#include "platform/sdl/video_sdl.h"
#include "platform/terminal/video_terminal.h"

namespace {

const char* const kUsage =
    "Uso: tirla [--terminal] [TEXTO...]\n"
    "Com TEXTO, abre uma janela de três linhas, fala o texto e termina.\n"
    "Sem TEXTO, abre o console: digite uma linha e tecle Enter para ouvi-la; a linha fim\n"
    "termina. Cada tecla é falada ao ser digitada; uma tecla interrompe a fala.\n"
    "Com --terminal, ou sem tela gráfica (DISPLAY) num terminal, o console aparece no\n"
    "próprio terminal, com as mesmas teclas e a mesma fala.\n"
    "As teclas do console, do editor de linha e da revisão de tela estão em\n"
    "share/tolvan/teclas.md da instalação (/usr/share/tolvan/teclas.md) e em man tirla;\n"
    "Ctrl+F2 diz onde você está e as teclas principais.\n"
    "A configuração é /etc/tolvan/TOLVAN.INI (etc/tolvan da instalação), e por cima dela,\n"
    "chave por chave, ~/.config/tolvan/TOLVAN.INI ($XDG_CONFIG_HOME/tolvan); com\n"
    "$TOLVAN_WINDIR, só o TOLVAN.INI daquela pasta.\n";

bool KeyWaiting(void*) { return console::KeyWaiting(); }

// The backend of each screen, by driver::Screen: the console has none of its own.
constexpr std::array<const platform::VideoDriver& (*)(), 2> kBackends = {
    platform::SdlVideoDriver,       // kWindow
    platform::TerminalVideoDriver,  // kTerminal
};

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && (std::string_view(argv[1]) == "--help" || std::string_view(argv[1]) == "-h")) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  // --terminal comes first; the rest is the text to speak.
  std::vector<char*> args(argv, argv + argc);
  const bool terminal_option = args.size() > 1 && std::string_view(args[1]) == "--terminal";
  if (terminal_option) args.erase(args.begin() + 1);
  const driver::Screen screen = driver::ChooseScreen(terminal_option);
  console::UseVideoDriver(kBackends[static_cast<size_t>(screen)]());
  console::UseBrailleDisplay(&platform::BrlapiBrailleDisplay());
  console::UseBrailleTranslator(&platform::LouisBrailleTranslator());
  argc = static_cast<int>(args.size());
  argv = args.data();

  console::BindStandardStreams();
  platform::SetReportSink(console::ConsoleReportSink());
  waveout::SetStopToken({.context = nullptr, .Requested = KeyWaiting});
  if (argc > 1) driver::RunCommandLine(driver::ProcessCommandLine(argc, argv));
  driver::RunInteractive();
}
