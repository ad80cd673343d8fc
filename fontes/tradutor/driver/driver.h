// TIRLA: the test driver: speaks its command line, or reads typed lines until "fim".
#pragma once
#include <string>
#include <string_view>

namespace driver {

// The process command line as one string: the program path (quoted when it holds a blank)
// and the arguments, each joined with one blank, converted from UTF-8 to cp1252.
std::string ProcessCommandLine(int argc, char** argv);

// The text of a command line once the program path is cut off: a leading quoted path is
// skipped up to its closing quote (or the end, when it is never closed), then everything up
// to and including the first blank goes. Later blanks stay.
std::string CutProgramPath(std::string_view command_line);

// Where the console is shown.
enum class Screen { kWindow, kTerminal };

// The terminal when asked for (--terminal), or when no display is named while standard input
// is a terminal (a text console, an SSH session); the window otherwise, which says clearly
// when it cannot open.
Screen ChooseScreen(bool terminal_option, bool display_named, bool input_is_terminal);
// The same for this process: a display is named by DISPLAY, WAYLAND_DISPLAY or
// SDL_VIDEODRIVER (tests name SDL's invisible drivers).
Screen ChooseScreen(bool terminal_option);

// Command-line mode: writes `text` in a window three rows high, speaks it, then ends.
[[noreturn]] void RunCommandLine(const std::string& command_line);

// Interactive mode: greets (written and spoken), then reads lines and writes and speaks each
// (with its phonetic text when no engine speaks) until the line "fim". A synthesizer that
// cannot start is told (frontend::TellStartFailure) and ends the program with code 1.
[[noreturn]] void RunInteractive();

}  // namespace driver
