// TIRLA: the in-memory display: records cells, title and caret, and serves scripted events.
#include "platform/memory/video_memory.h"

#include "platform/font_size.h"
#include "platform/messages.h"

namespace platform {

MemoryVideoState& MemoryVideo() {
  static MemoryVideoState state;
  return state;
}

void ResetMemoryVideo() { MemoryVideo() = MemoryVideoState{}; }

namespace {

MemoryVideoState& State() { return MemoryVideo(); }

bool Start(std::string* error) {
  if (State().video_fails) {
    if (error) *error = State().video_error;
    return false;
  }
  State().up = true;
  return true;
}

bool IsUp() { return State().up; }

bool SetFont(const FontRequest& request) {
  State().font = SizedForWorkArea(request, State().work_width, State().work_height);
  return !State().font_fails;
}

bool CreateWindow(std::string_view title, int columns, int rows, std::string*) {
  MemoryVideoState& s = State();
  s.window = true;
  s.title.assign(title);
  s.columns = columns;
  s.rows = rows;
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

void FillCells(int column, int row, int column2, int row2, Rgb colour) {
  for (int r = row; r < row2; ++r)
    for (int c = column; c < column2; ++c)
      if (MemoryCell* cell = Cell(c, r)) *cell = MemoryCell{' ', colour, colour};
}

bool CanScrollSmoothly() { return State().can_scroll_smoothly; }

void ScrollRowsUp(int columns, int rows) {
  ++State().smooth_scrolls;
  for (int r = 1; r < rows; ++r)
    for (int c = 0; c < columns; ++c) {
      MemoryCell* from = Cell(c, r);
      MemoryCell* to = Cell(c, r - 1);
      if (from && to) *to = *from;
    }
}

void ShowCaret(int column, int row) {
  State().caret = true;
  State().caret_column = column;
  State().caret_row = row;
}

void HideCaret() { State().caret = false; }

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

// Present is left out: the cells are what tests read, and they are there at once.
constexpr Display kDisplay = {
    .Start = Start,
    .IsUp = IsUp,
    .SetFont = SetFont,
    .CreateWindow = CreateWindow,
    .DestroyWindow = DestroyWindow,
    .ShowWindow = ShowWindow,
    .SetTitle = SetTitle,
    .DrawRun = DrawRun,
    .FillCells = FillCells,
    .CanScrollSmoothly = CanScrollSmoothly,
    .ScrollRowsUp = ScrollRowsUp,
    .ShowCaret = ShowCaret,
    .HideCaret = HideCaret,
    .PollEvent = PollEvent,
    .WaitEvent = WaitEvent,
};

}  // namespace

const Display& MemoryDisplay() { return kDisplay; }

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
  PushEvent({.kind = EventKind::kKeyDown, .vk = vk, .modifiers = modifiers});
}

void PushKeyUp(int vk, unsigned modifiers) {
  PushEvent({.kind = EventKind::kKeyUp, .vk = vk, .modifiers = modifiers});
}

void PushChar(unsigned char ch, unsigned modifiers) {
  PushEvent({.kind = EventKind::kChar, .ch = ch, .modifiers = modifiers});
}

namespace {

// The key a typed character comes from: letters by their capital, digits and the space bar by
// their code, Enter and Backspace by theirs; other characters come with no key.
int KeyOf(unsigned char ch) {
  if (ch >= 'a' && ch <= 'z') return ch - 'a' + 'A';
  if ((ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') || ch == ' ') return ch;
  if (ch == '\r') return vk::kReturn;
  if (ch == 8) return vk::kBack;
  return 0;
}

}  // namespace

void PushTyped(std::string_view text) {
  for (const char c : text) {
    const auto ch = static_cast<unsigned char>(c);
    PushKeyDown(KeyOf(ch));
    PushChar(ch);
    PushKeyUp(KeyOf(ch));
  }
}

}  // namespace platform
