// TIRLA: keyboard input of the console: key queue, Braille keyboard, message pumps and waits.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace console {

// Opens the console, pumps the messages, and tells whether a key code is queued.
bool KeyWaiting();
// Waits (showing the caret) for a key code and takes it from the queue. A character key gives
// its cp1252 code; other keys give 0 and then an extended code.
uint8_t ReadKeyCode();
// Serves the pending events of the console window and the posted messages.
void PumpWindowMessages();
// Serves the posted messages and, when the display is up, the pending window events. Works
// without a console window and never creates it.
void PumpThreadMessages();
// Sleeps `ms` milliseconds, then pumps. Never creates the window.
void Pause(uint16_t ms);
// Blocks until a window event or a posted message is waiting. Never creates the window.
void WaitMessage();
// Reads one line with echo into `buffer` (at most size - 2 characters), ended by CR LF;
// returns the count including CR LF (0 when size is below 2).
uint16_t ReadConsoleLine(char* buffer, uint16_t size);

// Braille keyboard mode: 0 off, 1 computer Braille, 2 literary Braille; announced with tones.
void SetBrailleMode(int32_t mode);
// The current Braille mode.
int32_t BrailleMode();

// Starts a looping square-wave tone of `frequency` Hz (0 is taken as 1 Hz).
void StartTone(uint16_t frequency);
// Stops the tone, if one plays.
void StopTone();
// The WAV image StartTone plays for `frequency` (44-byte header, 8-bit 11025 Hz samples).
std::string BuildToneImage(uint16_t frequency);

// Puts cp1252 text on the clipboard; nothing happens when it cannot be opened.
void CopyToClipboard(std::string_view text);
// Copies the clipboard text into `buffer`, cut to size - 1 bytes and zero-terminated; without
// text buffer[0] := 0; size 0 or no clipboard leave the buffer unchanged.
void PasteFromClipboard(char* buffer, int32_t size);

// Today's date; weekday 0 = Sunday .. 6 = Saturday.
void GetDateParts(uint16_t& year, uint16_t& month, uint16_t& day, uint16_t& weekday);
// The time now; hundredths = milliseconds div 10.
void GetTimeParts(uint16_t& hour, uint16_t& minute, uint16_t& second, uint16_t& hundredths);

// The modifier keys (platform::Modifier bits) that were held when the key code last taken by
// ReadKeyCode was typed; keys typed ahead keep their own, so Shift and Alt are known per key.
unsigned KeyModifiers();

// Number of bytes waiting in the key queue (tests and the line editor's beep).
int32_t KeyQueueCount();
// Drops every queued key code.
void ClearKeyQueue();

}  // namespace console
