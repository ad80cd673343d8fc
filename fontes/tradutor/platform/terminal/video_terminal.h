// TIRLA: the terminal backend, for the program that chooses it.
#pragma once
#include "platform/video.h"

namespace platform {

// The terminal backend: the console's cells drawn with ncurses in the controlling terminal
// (/dev/tty), its keys read from it (the kitty keyboard protocol where the terminal has it),
// the clipboard through the terminal's clipboard sequence and a clipboard of its own, tones on
// the sound device (platform/audio; the terminal bell without one), and the real process. The
// terminal is restored at exit and on the signals that end the program.
const VideoDriver& TerminalVideoDriver();

}  // namespace platform
