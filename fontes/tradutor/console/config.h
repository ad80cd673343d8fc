// TIRLA: the console's look, read from TOLVAN.INI.
#pragma once
#include <array>
#include <cstdint>

#include "platform/display.h"

namespace console {

// What the configuration sets for the console and the keyboard.
struct ConsoleConfig {
  std::array<uint8_t, 16> colour_table{};  // palette entry per colour number
  uint8_t text_attribute = 0x0F;           // background << 4 | foreground
  bool fixed_colours = false;              // SetBackground has no effect
  bool slow_scroll = false;                // scroll by moving pixels
  bool maximize_window = false;            // open maximized
  int32_t braille_mode = 0;                // 0..3 (3 is taken as 1 when announced)
  int32_t magnify_factor = 2;              // 0..7; 0 shows the picture unmagnified
  platform::FontRequest font;              // the console font
};

// Reads [VIDEO] and [BRAILLE] of TOLVAN.INI over `colour_table` (the current mapping). The
// font keys are read once per run: later calls keep the first font values.
ConsoleConfig LoadConsoleConfig(const std::array<uint8_t, 16>& colour_table);

// Forgets the font values read so far.
void StartConsoleConfig();

}  // namespace console
