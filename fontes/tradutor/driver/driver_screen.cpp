// TIRLA: where the console is shown: a window, or the terminal the program runs in.
#include <unistd.h>

#include <cstdlib>

#include "driver/driver.h"

namespace driver {
namespace {

bool Named(const char* variable) {
  const char* value = std::getenv(variable);
  return value && *value;
}

}  // namespace

Screen ChooseScreen(bool terminal_option, bool display_named, bool input_is_terminal) {
  if (terminal_option) return Screen::kTerminal;
  return !display_named && input_is_terminal ? Screen::kTerminal : Screen::kWindow;
}

Screen ChooseScreen(bool terminal_option) {
  const bool display_named =
      Named("DISPLAY") || Named("WAYLAND_DISPLAY") || Named("SDL_VIDEODRIVER");
  return ChooseScreen(terminal_option, display_named, isatty(STDIN_FILENO) == 1);
}

}  // namespace driver
