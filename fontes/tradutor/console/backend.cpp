// TIRLA: calls into the backend's tables, with the harmless default for what it lacks.
#include "console/backend.h"

#include "console/console.h"
#include "platform/messages.h"

namespace console::backend {
namespace {

const platform::Display* Display() { return VideoDriver().display; }
const platform::Magnifier* Magnifier() { return VideoDriver().magnifier; }
const platform::Clipboard* Clipboard() { return VideoDriver().clipboard; }
const platform::Tone* Tone() { return VideoDriver().tone; }
const platform::Host& Host() {
  const platform::Host* host = VideoDriver().host;
  return host ? *host : platform::ProcessHost();
}

// The display's entry, or null when the display or the entry is missing.
template <typename Entry>
Entry Find(Entry platform::Display::*entry) {
  const platform::Display* display = Display();
  return display ? display->*entry : nullptr;
}

}  // namespace

bool DisplayUp() {
  const auto is_up = Find(&platform::Display::IsUp);
  return !is_up || is_up();
}

bool StartDisplay(std::string* error) {
  if (DisplayUp()) return true;
  const auto start = Find(&platform::Display::Start);
  return !start || start(error);
}

bool SetFont(const platform::FontRequest& font) {
  const auto set = Find(&platform::Display::SetFont);
  return !set || set(font);
}

bool CreateWindow(std::string_view title, int columns, int rows, std::string* error) {
  const auto create = Find(&platform::Display::CreateWindow);
  return !create || create(title, columns, rows, error);
}

void DestroyWindow() {
  if (const auto destroy = Find(&platform::Display::DestroyWindow)) destroy();
}

void ShowWindow(bool maximize) {
  if (const auto show = Find(&platform::Display::ShowWindow)) show(maximize);
}

void SetTitle(std::string_view title) {
  if (const auto set = Find(&platform::Display::SetTitle)) set(title);
}

void DrawRun(int column, int row, std::string_view text, platform::Rgb fore, platform::Rgb back) {
  if (const auto draw = Find(&platform::Display::DrawRun)) draw(column, row, text, fore, back);
}

void FillCells(int column, int row, int column2, int row2, platform::Rgb colour) {
  if (const auto fill = Find(&platform::Display::FillCells))
    fill(column, row, column2, row2, colour);
}

bool CanScrollSmoothly() {
  const auto can = Find(&platform::Display::CanScrollSmoothly);
  return can && can();
}

void ScrollRowsUp(int columns, int rows) {
  if (const auto scroll = Find(&platform::Display::ScrollRowsUp)) scroll(columns, rows);
}

void Present() {
  if (const auto present = Find(&platform::Display::Present)) present();
}

void ShowCaret(int column, int row) {
  if (const auto show = Find(&platform::Display::ShowCaret)) show(column, row);
}

void HideCaret() {
  if (const auto hide = Find(&platform::Display::HideCaret)) hide();
}

bool PollEvent(platform::VideoEvent* event) {
  const auto poll = Find(&platform::Display::PollEvent);
  return poll && poll(event);
}

void WaitEvent(int timeout_ms) {
  if (const auto wait = Find(&platform::Display::WaitEvent))
    wait(timeout_ms);
  else
    platform::WaitForPostedMessage(timeout_ms);
}

bool ReportsKeyUps() {
  const auto reports = Find(&platform::Display::ReportsKeyUps);
  return !reports || reports();
}

bool HasMagnifier() { return Magnifier() != nullptr; }

void Snapshot() {
  if (Magnifier() && Magnifier()->Snapshot) Magnifier()->Snapshot();
}

void Magnify(int x, int y, int factor) {
  if (Magnifier() && Magnifier()->Show) Magnifier()->Show(x, y, factor);
}

void DropSnapshot() {
  if (Magnifier() && Magnifier()->Drop) Magnifier()->Drop();
}

bool SetClipboard(std::string_view text) {
  return Clipboard() && Clipboard()->Set && Clipboard()->Set(text);
}

bool GetClipboard(std::string* text, bool* has_text) {
  return Clipboard() && Clipboard()->Get && Clipboard()->Get(text, has_text);
}

void PlaySound(std::string_view wav_image, bool loop) {
  if (Tone() && Tone()->Play) Tone()->Play(wav_image, loop);
}

void Beep() {
  if (Tone() && Tone()->Beep) Tone()->Beep();
}

void Exit(int code) {
  if (Host().Exit) Host().Exit(code);
  platform::ExitProcess(code);
}

void Sleep(int ms) {
  if (Host().Sleep)
    Host().Sleep(ms);
  else
    platform::SleepThread(ms);
}

}  // namespace console::backend
