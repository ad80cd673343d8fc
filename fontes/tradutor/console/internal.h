// TIRLA: what the console's window, keyboard and Braille files tell each other.
#pragma once
#include <cstdint>
#include <span>
#include <string>

#include "platform/keys.h"

namespace console::detail {

// Key binding rows: the first row whose key matches and whose modifier bits selected by `mask`
// equal `value` runs its action. Walked by RunKeyBinding (key_bindings.cpp).
inline constexpr int kAnyKey = -1;  // a row's key that matches every key
struct KeyBinding {
  int vk;          // virtual key, or kAnyKey
  unsigned mask;   // the Modifier bits looked at
  unsigned value;  // what those bits must be
  void (*action)(int vk, unsigned modifiers, int argument);
  int argument;    // handed to the action
};
// Runs the first matching row's action; false when no row matches.
bool RunKeyBinding(std::span<const KeyBinding> rows, int vk, unsigned modifiers);

// Window side (console.cpp).
bool BreakCheck();                            // Ctrl+Break ends the program
bool WindowAttached();                        // events still reach the console's handlers
void CaretCell(int* column, int* row);        // the screen cell under the cursor
int32_t MagnifyFactor();                      // the magnifier's factor, 0..7
void PaintCells(int column, int row, int column2, int row2);  // draws cells again, shows them
void RepaintAll();                            // draws every cell again and shows them
void SetBrailleModeValue(int32_t mode);       // stores the mode without announcing it

// Window events (window_events.cpp).
void StartWindowEvents();                     // the magnifier not active

// Keyboard side (keyboard.cpp, key_bindings.cpp).
void StartKeyboard();                                 // empty queue, no focus, not reading
void StartKeyBindings();                              // no stand-in key told yet
void HandleChar(unsigned char ch, unsigned modifiers);  // WM_CHAR
void HandleKeyDown(int vk, unsigned modifiers);         // WM_KEYDOWN
bool HandleKeyUp(int vk, unsigned modifiers);           // WM_KEYUP; false: not handled
void HandleFocus(bool gained);                          // WM_SETFOCUS / WM_KILLFOCUS
[[noreturn]] void QuitFromPump();                       // WM_QUIT or Ctrl+Break: code 255
void NoteKeyModifiers(unsigned modifiers);              // held by the key event being served
bool QueueAppend(uint8_t code);                         // false when the queue is full
int QueueRoom();                                        // free bytes in the queue

// Braille side (braille.cpp).
void StartBraille();                                  // mode off, chord and flags cleared
int ChordBit(int vk);                                 // the dot bit of a chord key, 0 for others
void BrailleKeyDown(int bit);                         // a chord key went down
bool BrailleKeyUp(int vk, unsigned modifiers);        // key-up; false: not handled
void ClearBrailleFlags();                             // capital, capitals-lock, number off
void TypeBrailleCell(int dots);                       // a cell from a braille display's keyboard

// Tones (tones.cpp).
void StartTones();  // forgets the tone buffer without playing anything
void ShortenToneImage(std::string& image, int ms);  // a tone image cut to `ms` of sound

}  // namespace console::detail
