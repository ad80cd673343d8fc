// TIRLA: the console on a braille display: the text under the point of attention, with its
// cursor, and the display's keys turned into the console's own keys.
#pragma once
#include <cstdint>
#include <string_view>

#include "platform/braille_display.h"

namespace console {

// Extended code (after 0) queued by a routing key; BrailleRoutedPosition() tells where.
inline constexpr uint8_t kBrailleRouteCode = 224;

// The display the program offers (null: none). The console connects when it first has
// something to show, if [BRAILLE] LINHA allows, and again a while after losing it.
void UseBrailleDisplay(const platform::BrailleDisplay* display);
// The braille tables the program offers for [BRAILLE] TABELA (null: none, computer braille
// only).
void UseBrailleTranslator(const platform::BrailleTranslator* translator);
// Shows `text` (cp1252) with the cursor under character `caret` (0-based; negative: none),
// scrolled so the cursor is in view, until FollowCursorInBraille: the line editor's field,
// the text being spoken.
void ShowBrailleText(std::string_view text, int caret);
// Shows the screen row under the console cursor again (screen review, plain output).
void FollowCursorInBraille();
// The 0-based position a routing key chose: a character of the text shown, or a screen
// column counted from 0.
int BrailleRoutedPosition();
// The window gained or lost the keyboard focus: a window out of focus gives the display back,
// so that the screen reader of the desktop has it, and takes it again with the focus.
void BrailleFocus(bool gained);
// Writes to the display what changed since the last call; cheap when nothing did.
void RefreshBraille();
// Forgets the display and all that was shown (tests).
void StartBrailleOutput();

}  // namespace console
