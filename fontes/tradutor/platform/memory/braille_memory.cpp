// TIRLA: the in-memory braille display.
#include "platform/memory/braille_memory.h"

#include "platform/messages.h"

namespace platform {
namespace {

bool Open(bool own_terminal, std::string* error) {
  MemoryBrailleState& s = MemoryBraille();
  if (s.absent) {
    if (error) *error = "sem linha braille";
    return false;
  }
  s.open = true;
  s.own_terminal = own_terminal;
  ++s.opens;
  return true;
}

void Close() { MemoryBraille().open = false; }
int Width() { return MemoryBraille().open ? MemoryBraille().width : 0; }

// Text and cells are recorded alike; each goes to its own field.
bool Record(std::string MemoryBrailleState::*field, std::string_view bytes, int cursor) {
  MemoryBrailleState& s = MemoryBraille();
  if (!s.open || s.lose) return false;
  (s.*field).assign(bytes);
  s.cursor = cursor;
  ++s.writes;
  return true;
}

bool Write(std::string_view utf8, int cursor) {
  return Record(&MemoryBrailleState::text, utf8, cursor);
}
bool WriteDots(std::string_view dots, int cursor) {
  return Record(&MemoryBrailleState::dots, dots, cursor);
}

bool ReadKey(BrailleKey* key, bool* lost) {
  MemoryBrailleState& s = MemoryBraille();
  *lost = s.lose;
  if (!s.open || s.lose || s.keys.empty()) return false;
  *key = s.keys.front();
  s.keys.erase(s.keys.begin());
  return true;
}

constexpr BrailleDisplay kMemoryBraille = {
    .Open = Open, .Close = Close, .Width = Width, .Write = Write, .WriteDots = WriteDots,
    .ReadKey = ReadKey};

}  // namespace

const BrailleDisplay& MemoryBrailleDisplay() { return kMemoryBraille; }

MemoryBrailleState& MemoryBraille() {
  static MemoryBrailleState state;
  return state;
}

void ResetMemoryBraille() { MemoryBraille() = MemoryBrailleState{}; }

void PushBrailleKey(BrailleKeyKind kind, int argument) {
  MemoryBraille().keys.push_back({kind, argument});
  PostMessage(kBrailleKeysMessage);
}

}  // namespace platform
