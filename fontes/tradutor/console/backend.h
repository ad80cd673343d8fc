// TIRLA: the console's calls into the backend in use. Each one checks that the table and the
// entry exist; where either is missing it does the harmless thing the table's header names.
#pragma once
#include <string>
#include <string_view>

#include "platform/video.h"

namespace console::backend {

// Display.
bool DisplayUp();
bool StartDisplay(std::string* error);  // true at once when it is up already
bool SetFont(const platform::FontRequest& font);
bool CreateWindow(std::string_view title, int columns, int rows, std::string* error);
void DestroyWindow();
void ShowWindow(bool maximize);
void SetTitle(std::string_view title);
void DrawRun(int column, int row, std::string_view text, platform::Rgb fore, platform::Rgb back);
void FillCells(int column, int row, int column2, int row2, platform::Rgb colour);
bool CanScrollSmoothly();
void ScrollRowsUp(int columns, int rows);
void Present();
void ShowCaret(int column, int row);
void HideCaret();
bool PollEvent(platform::VideoEvent* event);
void WaitEvent(int timeout_ms);
bool ReportsKeyUps();

// Magnifier.
bool HasMagnifier();
void Snapshot();
void Magnify(int x, int y, int factor);
void DropSnapshot();

// Clipboard.
bool SetClipboard(std::string_view text);
bool GetClipboard(std::string* text, bool* has_text);

// Tones.
void PlaySound(std::string_view wav_image, bool loop);
void Beep();

// Host.
[[noreturn]] void Exit(int code);
void Sleep(int ms);

}  // namespace console::backend
