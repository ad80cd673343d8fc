// TIRLA: the line editor's changes to the text: typing, deleting, word moves, the clipboard.
#include <algorithm>
#include <string>

#include "console/keyboard.h"
#include "frontend/editor_field.h"
#include "frontend/sound.h"
#include "frontend/state.h"
#include "platform/byteset.h"

namespace frontend::editor {
namespace {

// Word runs: letters (with every code from 128) or digits; any other character stands alone.
constexpr platform::ByteSet kLetters =
    platform::ByteSet().AddRange('A', 'Z').AddRange('a', 'z').AddRange(128, 255);
constexpr platform::ByteSet kDigits = platform::ByteSet().AddRange('0', '9');

bool In(const platform::ByteSet& set, char c) { return set.Has(static_cast<unsigned char>(c)); }

// The class a run goes on with: letters, digits, or none (a one-character word).
const platform::ByteSet* RunClass(char c) {
  if (In(kLetters, c)) return &kLetters;
  if (In(kDigits, c)) return &kDigits;
  return nullptr;
}

}  // namespace

void TypeCharacter(Field& f, uint8_t code) {
  const bool filled = f.text.find_first_not_of(' ', f.cursor - 1) != std::string::npos;
  if (f.firstKey && State().replaceOnFirstKey && filled) {
    // Typing over a pre-filled field replaces it.
    Click();
    Click();
    if (code >= 32 && f.editable) SetText(f, "");
  }
  if (code < 32 || !f.editable) return;
  if (f.cursor > f.maxLength) {
    Beep();
    return;
  }
  f.text.insert(f.text.begin() + (f.cursor - 1), static_cast<char>(code));
  f.text.pop_back();
  Draw(f);
  if (State().echoTypedCharacters) SpeakCharSound(code);
  ++f.cursor;
}

void DeleteAtCursor(Field& f, bool sayDelete) {
  if (!f.editable || f.cursor > f.maxLength) return;
  const auto removed = static_cast<unsigned char>(At(f, f.cursor));
  f.text.erase(f.cursor - 1, 1);
  f.text.push_back(' ');
  Draw(f);
  if (sayDelete) SpeakSoundFile("_DEL");
  SpeakCharSound(removed);
}

void WordRight(Field& f) {
  int p = f.cursor;
  if (p <= f.maxLength && At(f, p) != ' ') {
    const platform::ByteSet* run = RunClass(At(f, p));
    ++p;
    if (run)
      while (p <= f.maxLength && In(*run, At(f, p))) ++p;
  }
  while (p <= f.maxLength && At(f, p) == ' ') ++p;
  if (p > f.maxLength) {
    f.cursor = AfterLastNonBlank(f);
    Beep();
    return;
  }
  f.cursor = p;
  Click();
}

void WordLeft(Field& f) {
  int p = f.cursor - 1;
  while (p >= 1 && At(f, p) == ' ') --p;
  if (p >= 1) {
    if (const platform::ByteSet* run = RunClass(At(f, p)))
      while (p > 1 && In(*run, At(f, p - 1))) --p;
  }
  if (p <= 1) {
    f.cursor = 1;
    Beep();
    return;
  }
  f.cursor = p;
  Click();
}

// The word at the cursor and the blanks after it go.
void DeleteWord(Field& f) {
  if (!f.editable) return;
  if (f.cursor > 1 && At(f, f.cursor - 1) != ' ') WordLeft(f);
  const int from = f.cursor;
  WordRight(f);
  const int to = f.cursor;
  WordLeft(f);
  for (int i = 0; i < to - from; ++i) DeleteAtCursor(f, i == 0);
}

void Paste(Field& f) {
  if (!f.editable) return;
  std::string buffer(f.maxLength + 1, '\0');
  buffer[0] = '\0';
  console::PasteFromClipboard(buffer.data(), static_cast<int32_t>(buffer.size()));
  std::string pasted(buffer.c_str());
  pasted.resize(std::min(pasted.find_first_of("\r\n"), pasted.size()));
  if (f.firstKey && State().replaceOnFirstKey) {
    Click();
    Click();
    SetText(f, "");
  }
  int from = f.cursor, to = f.cursor;
  if (HasSelection(f)) {
    from = SelectionLow(f);
    to = SelectionHigh(f);
    f.cursor = from;
  }
  SetText(f, f.text.substr(0, from - 1) + pasted + f.text.substr(std::min<size_t>(to - 1, f.text.size())));
  // The pasted text is left selected.
  f.selStart = from;
  f.selEnd = std::min(from + static_cast<int>(pasted.size()), f.maxLength + 1);
}

void Copy(Field& f) {
  if (!HasSelection(f)) {
    console::CopyToClipboard(Trimmed(f.text) + "\r\n");
    return;
  }
  const int low = SelectionLow(f);
  console::CopyToClipboard(f.text.substr(low - 1, SelectionHigh(f) - low));
}

}  // namespace frontend::editor
