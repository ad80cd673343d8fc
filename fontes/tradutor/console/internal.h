// TIRLA: what the console's screen, keyboard and Braille files tell each other.
#pragma once
#include <cstdint>

#include "platform/video.h"

namespace console::detail {

// Screen side (console.cpp).
const platform::VideoDriver& Driver();        // the backend in use
bool BreakCheck();                            // Ctrl+Break ends the program
bool WindowAttached();                        // events still reach the console's handlers
void CaretRect(int* x, int* y, int* width, int* height);  // caret place at the cursor
void SetBrailleModeValue(int32_t mode);       // stores the mode without announcing it
void Beep();                                  // the warning sound

// Keyboard side (keyboard.cpp).
void StartKeyboard();                                 // empty queue, no focus, not reading
void HandleChar(unsigned char ch, unsigned modifiers);  // WM_CHAR
void HandleKeyDown(int vk, unsigned modifiers);         // WM_KEYDOWN
bool HandleKeyUp(int vk, unsigned modifiers);           // WM_KEYUP; false: not handled
void HandleFocus(bool gained);                          // WM_SETFOCUS / WM_KILLFOCUS
[[noreturn]] void QuitFromPump();                       // WM_QUIT or Ctrl+Break: code 255
bool QueueAppend(uint8_t code);                         // false when the queue is full
int QueueRoom();                                        // free bytes in the queue

// Braille side (braille.cpp).
void StartBraille();                                  // mode off, chord and flags cleared
int ChordBit(int vk);                                 // the dot bit of a chord key, 0 for others
void BrailleKeyDown(int bit);                         // a chord key went down
bool BrailleKeyUp(int vk, unsigned modifiers);        // key-up; false: not handled
void ClearBrailleFlags();                             // capital, capitals-lock, number off

// Tones (tones.cpp).
void StartTones();  // forgets the tone buffer without playing anything

}  // namespace console::detail
