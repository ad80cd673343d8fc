// TIRLA: the line editor's two key tables, extended keys and character keys, each walked by
// HandleKey; the short actions live here, the longer ones in the other editor files.
#include <algorithm>
#include <span>
#include <string>

#include "console/braille_output.h"
#include "frontend/editor_field.h"
#include "frontend/review.h"
#include "frontend/sound.h"
#include "frontend/speech.h"
#include "frontend/state.h"
#include "platform/messages.h"
#include "words/words.h"

namespace frontend::editor {
namespace {

constexpr int kWaitSliceMs = 50;

// ---- actions ---------------------------------------------------------------------------------

void EndEditing(Field& f, uint8_t code) {
  f.ended = true;
  f.endCode = code;
}

void Ignore(Field&, uint8_t) {}

void Home(Field& f, uint8_t) { f.cursor = 1; }
void End(Field& f, uint8_t) { f.cursor = AfterLastNonBlank(f); }

void Left(Field& f, uint8_t) {
  if (f.cursor <= 1) {
    Beep();
    return;
  }
  --f.cursor;
  SpeakCharSound(static_cast<unsigned char>(At(f, f.cursor)));
}

// With Alt, a letter says its phonetic name.
void Right(Field& f, uint8_t) {
  if (f.cursor > f.maxLength) {
    Beep();
    return;
  }
  const auto ch = static_cast<unsigned char>(At(f, f.cursor));
  const bool letter = (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z');
  if (AltHeld(f) && letter)
    SpeakSoundFile("_FON" + std::to_string(ch));
  else
    SpeakCharSound(ch);
  ++f.cursor;
}

// A routing key of the braille display: the caret to the character under it, which is said.
void RouteKey(Field& f, uint8_t) {
  f.cursor = std::clamp(console::BrailleRoutedPosition() + 1, 1, f.maxLength + 1);
  SpeakCharSound(static_cast<unsigned char>(At(f, f.cursor)));
}

// The selection survives only while Shift is held: this is Shift+Delete.
void Delete(Field& f, uint8_t) {
  if (!f.editable) return;
  if (!HasSelection(f)) {
    if (f.cursor > f.maxLength) {
      Beep();
      return;
    }
    DeleteAtCursor(f, true);
    return;
  }
  const int count = SelectionHigh(f) - SelectionLow(f);
  f.cursor = SelectionLow(f);
  SpeakSoundFile("_DEL");
  for (int i = 0; i < count; ++i) DeleteAtCursor(f, false);
  f.selEnd = f.selStart;
}

void Backspace(Field& f, uint8_t) {
  if (f.cursor <= 1) {
    Beep();
    return;
  }
  --f.cursor;
  DeleteAtCursor(f, true);
}

void ToggleEcho(Field&, uint8_t) {
  bool& echo = State().echoTypedCharacters;
  echo = !echo;
  SpeakSoundFile(echo ? "_FALACI" : "_FALDLG");
}

void SpeakField(Field& f, uint8_t) { SpeakText(Trimmed(f.text)); }

// Code 222: the field once everything before it has been heard.
void SpeakFieldAfterSpeech(Field& f, uint8_t) {
  while (IsSpeaking()) platform::WaitMessages(kWaitSliceMs);
  SpeakText(Trimmed(f.text));
}

void SpeakPosition(Field& f, uint8_t) { SpeakText(std::to_string(f.cursor)); }
// Where the user is and the main keys of the editor, for a user who lost their way.
void WhereAmI(Field& f, uint8_t) {
  SpeakText("Editor de linha, posi\xE7\xE3o " + std::to_string(f.cursor) +
            ". Enter fala a linha, setas movem, control F1 l\xEA a linha, "
            "control alt F9 revisa a tela. Control F2 repete esta ajuda.");
}

void SayTime(Field&, uint8_t) { words::SpeakTime(); }
void SayDate(Field&, uint8_t) { words::SpeakDate(); }

// Ctrl+Alt+F9 (or Ctrl+Shift+Alt+F9, which reaches an X client) reviews the screen.
void ReviewOrEnd(Field& f, uint8_t code) {
  if (AltHeld(f))
    ReviewScreen();
  else
    EndEditing(f, code);
}

void ClearToEnd(Field& f, uint8_t) {
  if (!f.editable) return;
  SetText(f, f.text.substr(0, f.cursor - 1));
  SpeakSoundFile("_APFCPO");
}

void ClearBefore(Field& f, uint8_t) {
  if (!f.editable) return;
  SetText(f, f.text.substr(f.cursor - 1));
  f.cursor = 1;
  SpeakSoundFile("_APICPO");
}

void Restore(Field& f, uint8_t) {
  if (!f.editable) return;
  f.text = f.entryText;
  f.cursor = 1;
  Beep();
  Beep();
}

void ClearAll(Field& f, uint8_t) {
  if (!f.editable) return;
  SetText(f, "");
  SpeakSoundFile("_CPOAPA");
  f.cursor = 1;
}

void Typed(Field& f, uint8_t code) { TypeCharacter(f, code); }
void ItemKey(Field& f, uint8_t) { SpeakItem(f); }
void LinkKey(Field& f, uint8_t) { OpenLink(f); }
void SpeedKey(Field& f, uint8_t) { ChangeSpeed(f); }
void DialKey(Field& f, uint8_t) { Dial(f); }
void WordLeftKey(Field& f, uint8_t) { WordLeft(f); }
void WordRightKey(Field& f, uint8_t) { WordRight(f); }
void DeleteWordKey(Field& f, uint8_t) { DeleteWord(f); }
void PasteKey(Field& f, uint8_t) { Paste(f); }
void CopyKey(Field& f, uint8_t) { Copy(f); }

// ---- tables ----------------------------------------------------------------------------------

enum KeyFlags : unsigned {
  kKeepsSelection = 1,  // the selection is not dropped when Shift is up
  kFollowsShift = 2,    // with Shift held the selection then ends at the cursor
};

// Codes first..last run the action; the last row of each table takes every other code.
struct KeyRow {
  uint8_t first;
  uint8_t last;
  unsigned flags;
  void (*action)(Field& f, uint8_t code);
};

// Extended keys: Shift anchors the selection and moves its end along.
constexpr KeyRow kExtendedKeys[] = {
    // first  last  flags                             action
    {59,      59,   0,                                ItemKey},        // F1
    {62,      62,   0,                                ToggleEcho},     // F4
    {66,      66,   0,                                SayTime},        // F8
    {70,      70,   0,                                LinkKey},        // F12
    {71,      71,   0,                                Home},           // Home
    {75,      75,   0,                                Left},           // Left
    {77,      77,   0,                                Right},          // Right
    {79,      79,   0,                                End},            // End
    {83,      83,   0,                                Delete},         // Delete
    {94,      94,   0,                                SpeakField},     // Ctrl+F1
    {95,      95,   0,                                WhereAmI},       // Ctrl+F2
    {97,      97,   0,                                SpeedKey},       // Ctrl+F4
    {101,     101,  0,                                SayDate},        // Ctrl+F8
    {102,     102,  0,                                ReviewOrEnd},    // Ctrl+F9
    {115,     115,  0,                                WordLeftKey},    // Ctrl+Left
    {116,     116,  0,                                WordRightKey},   // Ctrl+Right
    {120,     129,  0,                                Ignore},         // Alt+digit
    {console::kBrailleRouteCode, console::kBrailleRouteCode, 0, RouteKey},  // routing key
    {254,     254,  kKeepsSelection | kFollowsShift,  PasteKey},       // Shift+Insert
    {255,     255,  kKeepsSelection | kFollowsShift,  CopyKey},        // Ctrl+Insert
    {0,       255,  0,                                EndEditing},     // any other key
};

constexpr KeyRow kCharacterKeys[] = {
    // first  last  flags                             action
    {3,       3,    kKeepsSelection | kFollowsShift,  CopyKey},        // Ctrl+C
    {4,       4,    0,                                ClearToEnd},     // Ctrl+D
    {8,       8,    0,                                Backspace},      // Backspace
    {9,       10,   0,                                EndEditing},     // Tab, Ctrl+Enter
    {11,      11,   0,                                SpeakPosition},  // Ctrl+K
    {13,      13,   0,                                EndEditing},     // Enter
    {19,      19,   0,                                ClearBefore},    // Ctrl+S
    {21,      21,   0,                                Restore},        // Ctrl+U
    {22,      22,   kKeepsSelection | kFollowsShift,  PasteKey},       // Ctrl+V
    {25,      25,   0,                                ClearAll},       // Ctrl+Y
    {27,      27,   0,                                EndEditing},     // Escape
    {28,      28,   0,                                DialKey},        // Ctrl+backslash
    {127,     127,  0,                                DeleteWordKey},  // Ctrl+Backspace
    {222,     222,  kKeepsSelection,                  SpeakFieldAfterSpeech},  // internal
    {223,     223,  kKeepsSelection,                  Ignore},         // internal
    {0,       255,  0,                                Typed},          // any other key
};

const KeyRow& Find(std::span<const KeyRow> rows, uint8_t code) {
  for (const KeyRow& row : rows)
    if (code >= row.first && code <= row.last) return row;
  return rows.back();
}

}  // namespace

void HandleKey(Field& f, uint8_t code, bool extended) {
  const KeyRow& row = Find(extended ? std::span<const KeyRow>(kExtendedKeys)
                                    : std::span<const KeyRow>(kCharacterKeys),
                           code);
  if (extended) f.lastExtended = code;
  if (extended && ShiftHeld(f)) {
    if (f.selStart == 0) f.selStart = f.cursor;
  } else if (!(row.flags & kKeepsSelection)) {
    f.selStart = f.selEnd = 0;
  }
  row.action(f, code);
  if ((extended || (row.flags & kFollowsShift)) && ShiftHeld(f)) f.selEnd = f.cursor;
}

}  // namespace frontend::editor
