// TIRLA: the in-memory braille display for tests: what was written recorded, keys scripted.
#pragma once
#include <string>
#include <vector>

#include "platform/braille_display.h"

namespace platform {

struct MemoryBrailleState {
  bool absent = false;         // Open fails, as without BRLTTY
  bool lose = false;           // the next Write or ReadKey finds the display gone
  int width = 20;              // cells
  bool open = false;
  bool own_terminal = false;   // what Open was asked for
  int opens = 0;               // successful Open calls
  std::string text;            // the last text written (UTF-8) and its cursor
  std::string dots;            // the last cells written by WriteDots
  int cursor = -1;
  int writes = 0;
  std::vector<BrailleKey> keys;  // pending keys, oldest first
};

const BrailleDisplay& MemoryBrailleDisplay();
MemoryBrailleState& MemoryBraille();
void ResetMemoryBraille();
// Queues a key of the display and posts kBrailleKeysMessage, as the real watcher does.
void PushBrailleKey(BrailleKeyKind kind, int argument = 0);

}  // namespace platform
