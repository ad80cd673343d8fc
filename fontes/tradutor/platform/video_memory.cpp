// TIRLA: the in-memory window backend: records cells, title, caret and sound for tests.
#include "platform/video_memory.h"

#include <algorithm>

#include "platform/messages.h"

namespace platform {
namespace {

MemoryVideoState& State() {
  static MemoryVideoState state;
  return state;
}

bool started = false;  // StartVideo succeeded

bool StartVideo(std::string* error) {
  if (State().video_fails) {
    if (error) *error = State().video_error;
    return false;
  }
  started = true;
  return true;
}

bool VideoUp() { return started; }

bool GetWorkArea(int* width, int* height) {
  *width = State().work_width;
  *height = State().work_height;
  return true;
}

bool LoadFont(const FontRequest& request, CellMetrics* metrics) {
  State().font = request;
  *metrics = State().metrics;
  return !State().font_fails;
}

bool CreateWindow(std::string_view title, int columns, int rows, int max_width,
                  int max_height, std::string*) {
  MemoryVideoState& s = State();
  s.window = true;
  s.title.assign(title);
  s.columns = columns;
  s.rows = rows;
  s.max_width = max_width;
  s.max_height = max_height;
  s.cells.assign(static_cast<size_t>(columns) * rows, MemoryCell{});
  return true;
}

void DestroyWindow() {
  State().window = false;
  State().shown = false;
}

void ShowWindow(bool maximize) {
  State().shown = true;
  State().maximized = maximize;
}

void SetTitle(std::string_view title) { State().title.assign(title); }

MemoryCell* Cell(int column, int row) {
  MemoryVideoState& s = State();
  if (column < 0 || row < 0 || column >= s.columns || row >= s.rows) return nullptr;
  return &s.cells[static_cast<size_t>(row) * s.columns + column];
}

void DrawRun(int column, int row, std::string_view text, Rgb fore, Rgb back) {
  ++State().draw_calls;
  for (size_t i = 0; i < text.size(); ++i)
    if (MemoryCell* cell = Cell(column + static_cast<int>(i), row))
      *cell = MemoryCell{static_cast<unsigned char>(text[i]), fore, back};
}

void ScrollPixelsUp(int columns, int rows) {
  ++State().pixel_scrolls;
  for (int r = 1; r < rows; ++r)
    for (int c = 0; c < columns; ++c) {
      MemoryCell* from = Cell(c, r);
      MemoryCell* to = Cell(c, r - 1);
      if (from && to) *to = *from;
    }
}

void FillCells(int column, int row, int column2, int row2, Rgb colour) {
  for (int r = row; r < row2; ++r)
    for (int c = column; c < column2; ++c)
      if (MemoryCell* cell = Cell(c, r)) *cell = MemoryCell{' ', colour, colour};
}

bool CanScrollPixels() { return State().can_scroll_pixels; }
void Present() {}

void ShowCaret(int x, int y, int, int) {
  State().caret = true;
  State().caret_x = x;
  State().caret_y = y;
}

void HideCaret() { State().caret = false; }
void SnapshotWindow() { State().snapshot = true; }
void DrawSnapshot(int x, int y, int width, int height) {
  State().magnified.push_back({x, y, width, height});
}
void DropSnapshot() { State().snapshot = false; }

bool PollEvent(VideoEvent* event) {
  MemoryVideoState& s = State();
  if (s.events.empty()) return false;
  *event = s.events.front();
  s.events.erase(s.events.begin());
  return true;
}

void WaitEvent(int timeout_ms) {
  if (!State().events.empty() || HasPostedMessage()) return;
  if (State().on_wait) State().on_wait();
  if (!State().events.empty() || HasPostedMessage()) return;
  if (timeout_ms < 0) throw ScriptExhausted{};
  WaitForPostedMessage(timeout_ms);  // a timed wait ends; only an endless one fails
}

void Sleep(int ms) { State().slept_ms += std::max(ms, 0); }

bool SetClipboard(std::string_view text) {
  MemoryVideoState& s = State();
  if (s.clipboard_fails) return false;
  s.clipboard.assign(text);
  s.clipboard_has_text = true;
  return true;
}

bool GetClipboard(std::string* text, bool* has_text) {
  const MemoryVideoState& s = State();
  if (s.clipboard_fails) return false;
  *has_text = s.clipboard_has_text;
  *text = s.clipboard;
  return true;
}

void PlaySound(std::string_view image, bool loop) {
  State().sounds.push_back({std::string(image), loop});
}

void Beep() { ++State().beeps; }

void Exit(int code) {
  State().exit_code = code;
  throw ProcessExit{code};
}

constexpr VideoDriver kMemoryDriver = {
    "memory",     StartVideo,   VideoUp,        GetWorkArea,    LoadFont,
    CreateWindow, DestroyWindow, ShowWindow,    SetTitle,       DrawRun,
    ScrollPixelsUp, FillCells,  CanScrollPixels, Present,       ShowCaret,
    HideCaret,    SnapshotWindow, DrawSnapshot, DropSnapshot,   PollEvent,
    WaitEvent,    Sleep,        SetClipboard,   GetClipboard,   PlaySound,
    Beep,         Exit,
};

}  // namespace

const VideoDriver& MemoryVideoDriver() { return kMemoryDriver; }
MemoryVideoState& MemoryVideo() { return State(); }

void ResetMemoryVideo() {
  State() = MemoryVideoState{};
  started = false;
}

unsigned char MemoryCellChar(int column, int row) {
  const MemoryCell* cell = Cell(column, row);
  return cell ? cell->ch : 0;
}

std::string MemoryRowText(int row) {
  std::string text;
  for (int c = 0; c < State().columns; ++c) text += static_cast<char>(MemoryCellChar(c, row));
  return text;
}

void PushEvent(const VideoEvent& event) { State().events.push_back(event); }

void PushKeyDown(int vk, unsigned modifiers) {
  VideoEvent event;
  event.kind = EventKind::kKeyDown;
  event.vk = vk;
  event.modifiers = modifiers;
  PushEvent(event);
}

void PushKeyUp(int vk, unsigned modifiers) {
  VideoEvent event;
  event.kind = EventKind::kKeyUp;
  event.vk = vk;
  event.modifiers = modifiers;
  PushEvent(event);
}

void PushChar(unsigned char ch, unsigned modifiers) {
  VideoEvent event;
  event.kind = EventKind::kChar;
  event.ch = ch;
  event.modifiers = modifiers;
  PushEvent(event);
}

// The key a typed character comes from: letters by their capital, digits and the space bar by
// their code, Enter and Backspace by theirs; other characters come with no key.
int KeyOf(unsigned char ch) {
  if (ch >= 'a' && ch <= 'z') return ch - 'a' + 'A';
  if ((ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') || ch == ' ') return ch;
  if (ch == '\r') return vk::kReturn;
  if (ch == 8) return vk::kBack;
  return 0;
}

void PushTyped(std::string_view text) {
  for (const char c : text) {
    const auto ch = static_cast<unsigned char>(c);
    PushKeyDown(KeyOf(ch));
    PushChar(ch);
    PushKeyUp(KeyOf(ch));
  }
}

}  // namespace platform
