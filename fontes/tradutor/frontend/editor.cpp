// TIRLA: the line editor's life: entry, the key loop, drawing the field, exit; ReadLine.
#include "frontend/editor.h"

#include <algorithm>

#include "console/braille_output.h"
#include "console/console.h"
#include "console/keyboard.h"
#include "frontend/editor_field.h"
#include "frontend/sound.h"
#include "platform/keys.h"

namespace frontend {
namespace {

constexpr uint8_t kEscape = 27;
constexpr uint8_t kSelectionBackground = 8;
constexpr int kRowWidth = 80;  // a draw shorter than a row clears the rest of it

struct EditorState {
  int lastCursor = 0;  // the cursor when EditLine last returned
};

EditorState& State() {
  static EditorState state;
  return state;
}

bool IsAltQWE(uint8_t code) { return code >= 16 && code <= 18; }

// Control characters would move the console cursor: they show as blanks.
std::string Shown(std::string_view text) {
  std::string shown(text);
  for (char& c : shown)
    if (static_cast<unsigned char>(c) < 32) c = ' ';
  return shown;
}

// The width the field may have at (column, row): never past the right edge, and one column
// narrower when it would reach the last cell of the last row.
int FittedWidth(int column, int row, int width) {
  const console::Region& region = console::TextRegion();
  const int columns = region.Right - region.Left + 1;
  const int rows = region.Bottom - region.Top + 1;
  width = std::clamp(width, 0, std::max(0, columns - column + 1));
  if (row >= rows && width > 0 && column + width - 1 >= columns) --width;
  return width;
}

// Reads one key: the character, or the extended code after a 0. The Alt codes of Q, W and E
// come with AltGr characters: they are skipped for the key that follows.
uint8_t ReadKey(bool* extended) {
  uint8_t key = console::ReadKeyCode();
  StopSpeaking();
  while (key == 0) {
    const uint8_t code = console::ReadKeyCode();
    if (!IsAltQWE(code)) {
      *extended = true;
      return code;
    }
    key = console::ReadKeyCode();
  }
  *extended = false;
  return key;
}

}  // namespace

namespace editor {

char At(const Field& f, int position) {
  if (position < 1 || position > static_cast<int>(f.text.size())) return ' ';
  return f.text[position - 1];
}

bool ShiftHeld(const Field& f) { return (f.modifiers & platform::kModShift) != 0; }
bool AltHeld(const Field& f) { return (f.modifiers & platform::kModAlt) != 0; }

bool HasSelection(const Field& f) {
  return f.selStart > 0 && f.selEnd > 0 && f.selStart != f.selEnd;
}
int SelectionLow(const Field& f) { return std::min(f.selStart, f.selEnd); }
int SelectionHigh(const Field& f) { return std::min(std::max(f.selStart, f.selEnd), f.maxLength + 1); }

int AfterLastNonBlank(const Field& f) {
  const size_t last = f.text.find_last_not_of(' ');
  return last == std::string::npos ? 1 : static_cast<int>(last) + 2;
}

std::string Trimmed(std::string_view text) {
  const size_t last = text.find_last_not_of(' ');
  return last == std::string_view::npos ? std::string() : std::string(text.substr(0, last + 1));
}

void SetText(Field& f, std::string text) {
  text.resize(f.maxLength, ' ');
  f.text = std::move(text);
}

void Draw(Field& f) {
  if (f.cursor < f.firstVisible) f.firstVisible = f.cursor;
  if (f.cursor - f.firstVisible > f.width) f.firstVisible = f.cursor - f.width;
  const int first = f.firstVisible;
  const std::string visible = Shown(std::string_view(f.text).substr(
      std::min<size_t>(first - 1, f.text.size()), f.width));
  const int last = first + static_cast<int>(visible.size());  // past the last shown
  console::MoveCursor(f.column, f.row);
  if (HasSelection(f) && SelectionLow(f) < last && SelectionHigh(f) > first) {
    const int from = std::max(SelectionLow(f), first) - first;
    const int to = std::min(SelectionHigh(f), last) - first;
    const uint8_t attribute = console::TextAttribute();
    console::ConsoleWrite(visible.substr(0, from));
    console::SetBackground(kSelectionBackground);
    console::ConsoleWrite(visible.substr(from, to - from));
    console::SetTextAttribute(attribute);
    console::ConsoleWrite(visible.substr(to));
  } else {
    console::ConsoleWrite(visible);
  }
  if (static_cast<int>(visible.size()) < kRowWidth) console::ClearToLineEnd();
  console::MoveCursor(f.column + f.cursor - first, f.row);
  console::ShowBrailleText(Shown(f.text), f.cursor - 1);  // the whole field, not just what fits
}

}  // namespace editor

void StartEditor() { State() = EditorState{}; }

int LastCursorPosition() { return State().lastCursor; }

uint8_t EditLine(std::string& text, int column, int row, bool editable, int width,
                 int maxLength) {
  using editor::Field;
  Field f;
  f.maxLength = std::clamp(maxLength, 0, kLongestField);
  f.column = std::max(column, 1);
  f.row = std::max(row, 1);
  f.width = FittedWidth(f.column, f.row, std::min(width, f.maxLength));
  f.editable = editable;
  editor::SetText(f, text.substr(0, f.maxLength));
  f.entryText = f.text;

  while (!f.ended) {
    editor::Draw(f);
    bool extended = false;
    const uint8_t code = ReadKey(&extended);
    f.modifiers = console::KeyModifiers();
    editor::HandleKey(f, code, extended);
    f.firstKey = false;
  }

  State().lastCursor = f.cursor;
  console::FollowCursorInBraille();
  console::MoveCursor(f.column, f.row);
  console::ConsoleWrite(Shown(std::string_view(f.text).substr(0, f.width)));
  console::MoveCursor(f.column, f.row);
  text = editor::Trimmed(f.text);
  return f.endCode;
}

uint8_t EditLineHere(std::string& text, int column, int row, bool editable, int maxLength) {
  const console::Region& region = console::TextRegion();
  return EditLine(text, column, row, editable, region.Right - column - region.Left, maxLength);
}

void ReadLine(std::string& text) {
  text.clear();
  const int column = console::CursorColumn();
  const int row = console::CursorRow();
  if (EditLineHere(text, column, row, true, kLongestLine) == kEscape) {
    // The field holds one row: blanking the rest of it never reaches the rows below.
    console::MoveCursor(column, row);
    console::ClearToLineEnd();
    console::MoveCursor(column, row);
    text.clear();
  }
  console::ConsoleWrite("\r\n");
}

}  // namespace frontend
