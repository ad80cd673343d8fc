// TIRLA: the line editor's field, shared by its files: the state of one editing call and the
// operations its key tables call.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace frontend::editor {

// One editing call. Positions are 1-based; text holds maxLength characters, blank-padded.
struct Field {
  std::string text;            // the field text, always maxLength characters
  int maxLength = 0;           // 1..kLongestField
  int column = 1, row = 1;     // where the field is drawn
  int width = 0;               // visible columns, at most maxLength
  int cursor = 1;              // 1..maxLength + 1
  int firstVisible = 1;        // the position shown in the field's first column
  std::string entryText;       // the padded text at entry, for Ctrl+U
  int selStart = 0;            // the anchor; 0 when there is none
  int selEnd = 0;              // the selection is selStart..selEnd - 1, either way round
  bool firstKey = true;        // no key handled yet
  uint8_t lastExtended = ' ';  // the last extended code read
  bool editable = true;        // false: keys that change the text are ignored
  unsigned modifiers = 0;      // Shift, Ctrl and Alt held with the key being handled
  bool ended = false;          // a key ended editing with endCode
  uint8_t endCode = 0;
};

// Character at a 1-based position; a blank outside the text.
char At(const Field& f, int position);
bool ShiftHeld(const Field& f);
bool AltHeld(const Field& f);
// Whether a selection covers at least one character; its smaller and larger end.
bool HasSelection(const Field& f);
int SelectionLow(const Field& f);
int SelectionHigh(const Field& f);
// The position after the last non-blank character (1 for a blank field).
int AfterLastNonBlank(const Field& f);
// Text without its trailing blanks.
std::string Trimmed(std::string_view text);
// Cuts or pads `text` to the field's length.
void SetText(Field& f, std::string text);
// Draws the visible part of the field and places the console cursor in it.
void Draw(Field& f);

// Handles one key: `code` is the character, or the extended code when `extended`.
void HandleKey(Field& f, uint8_t code, bool extended);

// Editing (editor_edit.cpp).
void TypeCharacter(Field& f, uint8_t code);
void DeleteAtCursor(Field& f, bool sayDelete);
void WordLeft(Field& f);
void WordRight(Field& f);
void DeleteWord(Field& f);
void Paste(Field& f);
void Copy(Field& f);

// Speech from inside the field (editor_speech.cpp).
void SpeakItem(Field& f);
void ChangeSpeed(Field& f);
void Dial(Field& f);

// The link or document under the cursor (editor_link.cpp).
void OpenLink(Field& f);
// The word around the cursor, stripped of the marks that surround links in text.
std::string LinkAt(const Field& f);

}  // namespace frontend::editor
