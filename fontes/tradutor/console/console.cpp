// TIRLA: the console window: screen buffers, output, painting, scrolling, magnifier and program end.
#include "console/console.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "console/config.h"
#include "console/internal.h"
#include "console/keyboard.h"
#include "platform/codepage.h"
#include "platform/folders.h"
#include "platform/messages.h"
#include "platform/report.h"

namespace console {
namespace {

// The 16 fixed colours a palette entry selects.
constexpr std::array<platform::Rgb, 16> kConsolePalette = {{
    {0, 0, 0},       {0, 0, 255},     {0, 255, 0},     {0, 255, 255},
    {255, 0, 0},     {142, 0, 142},   {68, 34, 34},    {192, 192, 192},
    {128, 128, 128}, {128, 128, 255}, {128, 255, 128}, {128, 255, 255},
    {255, 128, 128}, {255, 128, 255}, {255, 255, 0},   {255, 255, 255},
}};

constexpr size_t kTitleSize = 80;      // title buffer, terminator included
constexpr int kMaxColumns = 1000;      // sizes beyond these would only exhaust memory
constexpr int kMaxRows = 1000;
constexpr uint8_t kBlank = 32;

struct ConsoleState {
  const platform::VideoDriver* driver = nullptr;  // backend; the SDL one unless chosen
  ScreenDimensions size;                 // screen size in cells, as others see and set it
  int columns = 0;                       // screen size the buffers were made for
  int rows = 0;
  Region region;                         // text region, fixed at creation
  int32_t cursor_column = 0;             // 0-based, relative to the region; may equal width
  int32_t cursor_row = 0;                // 0-based, relative to the region
  uint8_t text_attribute = 0x0F;         // attribute of written characters
  bool created = false;                  // the window exists
  bool attached = true;                  // events reach the console (off after the exit handler)
  std::vector<uint8_t> chars;            // Columns x Rows characters, row-major
  std::vector<uint8_t> attrs;            // Columns x Rows attributes, row-major
  platform::CellMetrics cell;            // cell size in pixels
  std::array<uint8_t, 16> colour_table{};  // colour number -> palette entry
  bool break_check = true;               // Ctrl+Break ends the program
  bool slow_scroll = false;              // scroll by moving pixels
  bool maximize_window = false;          // open maximized
  bool fixed_colours = false;            // SetBackground has no effect
  int32_t magnify_factor = 2;            // magnifier factor; 0 shows no magnification
  bool magnifier_active = false;         // right button held
  std::string title;                     // window title, at most 79 bytes
  int window_width = 0;                  // client size in pixels, set at creation
  int window_height = 0;
  bool invalid = false;                  // the whole client area waits for a repaint
};

// The start-up state with the given backend.
ConsoleState InitialState(const platform::VideoDriver* driver) {
  ConsoleState state;
  state.driver = driver ? driver : &platform::SdlVideoDriver();
  for (int i = 0; i < 16; ++i) state.colour_table[i] = static_cast<uint8_t>(i);
  state.title = platform::Utf8ToCp1252(platform::ModuleFileName()).substr(0, kTitleSize - 1);
  return state;
}

ConsoleState& State() {
  static ConsoleState state = InitialState(nullptr);
  return state;
}

int RegionWidth() { return State().region.Right - State().region.Left + 1; }
int RegionHeight() { return State().region.Bottom - State().region.Top + 1; }

platform::Rgb PaletteColour(int colour_number) {
  const uint8_t entry = State().colour_table[colour_number & 15];
  return entry < kConsolePalette.size() ? kConsolePalette[entry] : platform::Rgb{0, 0, 0};
}

size_t CellIndex(int column, int row) {
  return static_cast<size_t>(row) * State().columns + column;
}

// Draws region columns [from, to) of region row `row`, one run per attribute.
void DrawRowSpan(int from, int to, int row) {
  ConsoleState& s = State();
  if (!s.created) return;
  from = std::max(from + s.region.Left, 0);
  to = std::min(to + s.region.Left, s.columns);
  row += s.region.Top;
  if (to <= from || row < 0 || row >= s.rows) return;
  int start = from;
  while (start < to) {
    const uint8_t attribute = s.attrs[CellIndex(start, row)];
    int end = start + 1;
    while (end < to && s.attrs[CellIndex(end, row)] == attribute) ++end;
    const char* text = reinterpret_cast<const char*>(&s.chars[CellIndex(start, row)]);
    s.driver->DrawRun(start, row, std::string_view(text, end - start),
                      PaletteColour(attribute & 15), PaletteColour(attribute >> 4));
    start = end;
  }
}

// Draws the cells under the pixel rectangle [x, x2) x [y, y2).
void PaintRect(int x, int y, int x2, int y2) {
  ConsoleState& s = State();
  if (!s.created) return;
  const int cw = std::max(s.cell.width, 1), ch = std::max(s.cell.height, 1);
  const int first_column = std::max(0, x / cw);
  const int end_column = std::min(s.columns, (x2 + cw - 1) / cw);
  const int first_row = std::max(0, y / ch);
  const int end_row = std::min(s.rows, (y2 + ch - 1) / ch);
  for (int row = first_row; row < end_row; ++row)
    DrawRowSpan(first_column - s.region.Left, end_column - s.region.Left, row - s.region.Top);
}

void Invalidate() { State().invalid = true; }

// Repaints at once what is invalid and shows the result.
void UpdateWindow() {
  ConsoleState& s = State();
  if (!s.created) return;
  if (s.invalid) {
    s.invalid = false;
    PaintRect(0, 0, s.window_width, s.window_height);
  }
  s.driver->Present();
}

void FillCells(int column, int row, int count, uint8_t attribute) {
  ConsoleState& s = State();
  const size_t at = CellIndex(column, row);
  std::fill_n(s.chars.begin() + at, count, kBlank);
  std::fill_n(s.attrs.begin() + at, count, attribute);
}

// The span of the cursor row a write has changed.
struct Span {
  int lo;
  int hi;
};

// Moves the cursor one row down, scrolling the region up at the bottom.
void NewLine(Span& span) {
  ConsoleState& s = State();
  DrawRowSpan(span.lo, span.hi, s.cursor_row);
  span.lo = span.hi = 0;
  ++s.cursor_row;
  if (s.cursor_row < RegionHeight()) return;
  s.cursor_row = RegionHeight() - 1;
  const int width = RegionWidth();
  for (int r = 1; r < RegionHeight(); ++r) {
    const size_t from = CellIndex(s.region.Left, s.region.Top + r);
    const size_t to = CellIndex(s.region.Left, s.region.Top + r - 1);
    std::copy_n(s.chars.begin() + from, width, s.chars.begin() + to);
    std::copy_n(s.attrs.begin() + from, width, s.attrs.begin() + to);
  }
  FillCells(s.region.Left, s.region.Bottom, width, s.text_attribute);
  if (s.slow_scroll && s.driver->CanScrollPixels()) {
    s.driver->ScrollPixelsUp(s.columns, s.rows);
    s.driver->FillCells(s.region.Left, s.region.Bottom, s.region.Right + 1,
                        s.region.Bottom + 1, PaletteColour(s.text_attribute >> 4));
  } else {
    Invalidate();
  }
  UpdateWindow();
}

// Draws the magnified snapshot so that the point under the pointer keeps its place.
void MagnifyAt(int x, int y) {
  ConsoleState& s = State();
  x = std::clamp(x, 0, 0xFFFF);
  y = std::clamp(y, 0, 0xFFFF);
  const int f = s.magnify_factor > 0 ? s.magnify_factor : 1;
  s.driver->DrawSnapshot(std::max(0, x - x / f), std::max(0, y - y / f), s.window_width / f,
                         s.window_height / f);
  s.driver->Present();
}

void Magnifier(const platform::VideoEvent& event) {
  ConsoleState& s = State();
  switch (event.kind) {
    case platform::EventKind::kRightDown:
      if (s.magnifier_active) return;
      s.magnifier_active = true;
      s.driver->SnapshotWindow();
      MagnifyAt(event.x, event.y);
      return;
    case platform::EventKind::kMouseMove:
      if (s.magnifier_active) MagnifyAt(event.x, event.y);
      return;
    case platform::EventKind::kRightUp:
      if (!s.magnifier_active) return;
      s.magnifier_active = false;
      s.driver->DropSnapshot();
      Invalidate();
      UpdateWindow();
      return;
    default:
      return;
  }
}

// What the default handling does with a system key the console does not take.
void DefaultSystemKey(int vk, unsigned modifiers) {
  if (vk == platform::vk::kF1 + 3 && (modifiers & platform::kModAlt)) CloseConsole();  // Alt+F4
}

void KeyDownMessage(const platform::VideoEvent& event) {
  const bool ctrl = event.modifiers & platform::kModCtrl;
  const bool alt = event.modifiers & platform::kModAlt;
  const bool system_key = !ctrl && (alt || event.vk == platform::vk::kF10);
  if (system_key && State().break_check && event.vk != platform::vk::kLeft &&
      event.vk != platform::vk::kRight) {
    DefaultSystemKey(event.vk, event.modifiers);
    return;
  }
  detail::HandleKeyDown(event.vk, event.modifiers);
}

// The exit handling: the window stays, titled "Programa terminado", and no longer reacts.
void RunExitHandler() {
  ConsoleState& s = State();
  if (!s.created || !s.attached) return;
  SetWindowTitle("Programa terminado");
  s.break_check = false;
  s.attached = false;
  s.driver->Present();
}

void ExitHandlerAtExit() { RunExitHandler(); }

void ReportAndExit(const char* what, const std::string& error) {
  platform::Report(platform::Severity::kError,
                   platform::Utf8ToCp1252(std::string(what) + ": " + error));  // reasons come as UTF-8
  State().driver->Exit(1);
  std::abort();
}

}  // namespace

// ---- state access --------------------------------------------------------------------------

ScreenDimensions& ScreenSize() {
  ConsoleState& s = State();
  if (s.created) s.size = ScreenDimensions{s.columns, s.rows};  // fixed once the window exists
  return s.size;
}
const Region& TextRegion() { return State().region; }
uint8_t& TextAttribute() { return State().text_attribute; }
bool ConsoleOpen() { return State().created; }

void StartConsole() {
  ConsoleState& s = State();
  s = InitialState(s.driver);
  detail::StartKeyboard();
  detail::StartBraille();
  detail::StartTones();
  StartConsoleConfig();
}

void UseVideoDriver(const platform::VideoDriver& driver) {
  if (!State().created) State().driver = &driver;
}

const platform::VideoDriver& VideoDriver() { return *State().driver; }

// ---- window life -----------------------------------------------------------------------------

void OpenConsole() {
  ConsoleState& s = State();
  if (s.created) return;
  std::string error;
  if (!s.driver->VideoUp() && !s.driver->StartVideo(&error))
    ReportAndExit("não foi possível abrir a janela", error);

  const ConsoleConfig config = LoadConsoleConfig(s.colour_table);
  s.text_attribute = config.text_attribute;
  s.colour_table = config.colour_table;
  s.fixed_colours = config.fixed_colours;
  s.slow_scroll = config.slow_scroll;
  s.maximize_window = config.maximize_window;
  s.magnify_factor = config.magnify_factor;
  detail::SetBrailleModeValue(config.braille_mode);
  if (!s.driver->LoadFont(config.font, &s.cell))
    platform::Report(platform::Severity::kWarning,
                     "fonte n\xE3o encontrada (" + config.font.face + "); usando a fonte de reserva");
  s.cell.width = std::max(s.cell.width, 1);
  s.cell.height = std::max(s.cell.height, 1);

  s.size.Columns = std::clamp(s.size.Columns, 1, kMaxColumns);
  s.size.Rows = std::clamp(s.size.Rows, 1, kMaxRows);
  s.columns = s.size.Columns;
  s.rows = s.size.Rows;
  s.window_width = s.columns * s.cell.width + s.cell.overhang;
  s.window_height = s.rows * s.cell.height;
  int work_width = 0, work_height = 0;
  int max_width = s.window_width, max_height = s.window_height;
  if (s.driver->GetWorkArea(&work_width, &work_height) && work_width > 0 && work_height > 0) {
    max_width = std::min(max_width, work_width);
    max_height = std::min(max_height, work_height);
  }

  // What creating the window sets up: the buffers and the region.
  const size_t cells = static_cast<size_t>(s.columns) * s.rows;
  s.chars.assign(cells, kBlank);
  s.attrs.assign(cells, s.text_attribute);
  s.region = Region{0, 0, s.columns - 1, s.rows - 1};
  s.cursor_column = s.cursor_row = 0;
  if (!s.driver->CreateWindow(s.title, s.columns, s.rows, max_width, max_height,
                              &error)) {
    s.chars.clear();
    s.attrs.clear();
    ReportAndExit("não foi possível abrir a janela", error);
  }
  s.created = true;
  s.attached = true;
  static bool exit_handler_installed = false;
  if (!exit_handler_installed) {
    exit_handler_installed = true;
    std::atexit(ExitHandlerAtExit);
  }
  s.driver->ShowWindow(s.maximize_window);
  Invalidate();
  UpdateWindow();
  SetBrailleMode(BrailleMode());
}

void CloseConsole() {
  ConsoleState& s = State();
  if (s.created) {
    while (KeyWaiting()) ReadKeyCode();
    s.attached = false;
    s.driver->DestroyWindow();
    s.created = false;
  }
  EndProgram(0);
}

void EndProgram(int code) {
  RunExitHandler();
  VideoDriver().Exit(code);
  std::abort();  // Exit does not come back
}

void SetWindowTitle(std::string_view title) {
  ConsoleState& s = State();
  const size_t end = std::min(title.find('\0'), kTitleSize - 1);
  s.title.assign(title.substr(0, std::min(end, title.size())));
  if (s.created) s.driver->SetTitle(s.title);
}

std::string_view WindowTitle() { return State().title; }

// ---- output ---------------------------------------------------------------------------------

void ConsoleWrite(std::string_view text) {
  OpenConsole();
  ConsoleState& s = State();
  Span span{s.cursor_column, s.cursor_column};
  for (const char byte : text) {
    const auto ch = static_cast<uint8_t>(byte);
    switch (ch) {
      case 7:
        detail::Beep();
        break;
      case 8:
        if (s.cursor_column > 0) {
          --s.cursor_column;
          FillCells(s.region.Left + s.cursor_column, s.region.Top + s.cursor_row, 1,
                    s.text_attribute);
          span.lo = std::min(span.lo, static_cast<int>(s.cursor_column));
        }
        break;
      case 10:
        NewLine(span);
        s.cursor_column = 0;
        break;
      case 13:
        s.cursor_column = 0;
        break;
      default:
        if (ch < 32) break;  // other control bytes, tabs included, are dropped
        if (s.cursor_column >= RegionWidth()) {
          s.cursor_column = 0;
          NewLine(span);
        }
        {
          const size_t at =
              CellIndex(s.region.Left + s.cursor_column, s.region.Top + s.cursor_row);
          s.chars[at] = ch;
          s.attrs[at] = s.text_attribute;
        }
        ++s.cursor_column;
        span.hi = std::max(span.hi, static_cast<int>(s.cursor_column));
        break;
    }
  }
  DrawRowSpan(span.lo, span.hi, s.cursor_row);
  s.driver->Present();
}

void ConsoleWrite(const char* text, uint16_t count) {
  if (text) ConsoleWrite(std::string_view(text, count));
}

void ConsoleWriteChar(unsigned char ch) {
  const char byte = static_cast<char>(ch);
  ConsoleWrite(std::string_view(&byte, 1));
}

void ClearScreen() {
  OpenConsole();
  ConsoleState& s = State();
  for (int r = s.region.Top; r <= s.region.Bottom; ++r)
    FillCells(s.region.Left, r, RegionWidth(), s.text_attribute);
  s.cursor_column = s.cursor_row = 0;
  Invalidate();
  UpdateWindow();
}

void ClearToLineEnd() {
  OpenConsole();
  ConsoleState& s = State();
  const int count = RegionWidth() - s.cursor_column;
  if (count > 0)
    FillCells(s.region.Left + s.cursor_column, s.region.Top + s.cursor_row, count,
              s.text_attribute);
  DrawRowSpan(s.cursor_column, s.columns, s.cursor_row);
  s.driver->Present();
}

void MoveCursor(int32_t column, int32_t row) {
  ConsoleState& s = State();
  const int64_t max_column = s.region.Right - s.region.Left;
  const int64_t max_row = s.region.Bottom - s.region.Top;
  s.cursor_column = static_cast<int32_t>(std::clamp<int64_t>(int64_t{column} - 1, 0, max_column));
  s.cursor_row = static_cast<int32_t>(std::clamp<int64_t>(int64_t{row} - 1, 0, max_row));
}

int32_t CursorColumn() { return State().cursor_column + 1; }
int32_t CursorRow() { return State().cursor_row + 1; }

void SetBackground(uint8_t colour) {
  OpenConsole();
  ConsoleState& s = State();
  if (!s.fixed_colours)
    s.text_attribute = static_cast<uint8_t>((s.text_attribute & 0x0F) | (colour << 4));
}

uint8_t ScreenChar(int32_t column, int32_t row) {
  const ConsoleState& s = State();
  const int64_t c = int64_t{column} + s.region.Left - 1, r = int64_t{row} + s.region.Top - 1;
  if (!s.created || c < 0 || r < 0 || c >= s.columns || r >= s.rows) return kBlank;
  return s.chars[CellIndex(static_cast<int>(c), static_cast<int>(r))];
}

uint8_t ScreenAttribute(int32_t column, int32_t row) {
  const ConsoleState& s = State();
  const int64_t c = int64_t{column} + s.region.Left - 1, r = int64_t{row} + s.region.Top - 1;
  if (!s.created || c < 0 || r < 0 || c >= s.columns || r >= s.rows) return 0;
  return s.attrs[CellIndex(static_cast<int>(c), static_cast<int>(r))];
}

// ---- messages --------------------------------------------------------------------------------

void DispatchWindowEvent(const platform::VideoEvent& event) {
  ConsoleState& s = State();
  if (!s.created || !s.attached) return;
  using platform::EventKind;
  switch (event.kind) {
    case EventKind::kKeyDown:
      KeyDownMessage(event);
      break;
    case EventKind::kKeyUp:
      detail::HandleKeyUp(event.vk, event.modifiers);
      break;
    case EventKind::kChar:
      detail::HandleChar(event.ch, event.modifiers);
      break;
    case EventKind::kRightDown:
    case EventKind::kMouseMove:
    case EventKind::kRightUp:
      Magnifier(event);
      break;
    case EventKind::kPaint:
      PaintRect(event.x, event.y, event.x2, event.y2);
      s.driver->Present();
      break;
    case EventKind::kFocusGained:
      detail::HandleFocus(true);
      break;
    case EventKind::kFocusLost:
      detail::HandleFocus(false);
      break;
    case EventKind::kClose:
      CloseConsole();
    case EventKind::kQuit:
      detail::QuitFromPump();
    case EventKind::kNone:
      break;
  }
}

namespace detail {

const platform::VideoDriver& Driver() { return VideoDriver(); }
bool BreakCheck() { return State().break_check; }
bool WindowAttached() { return State().created && State().attached; }

void CaretRect(int* x, int* y, int* width, int* height) {
  const ConsoleState& s = State();
  *x = (s.cursor_column + s.region.Left) * s.cell.width;
  *y = (s.cursor_row + s.region.Top) * s.cell.height + s.cell.ascent;
  *width = s.cell.width;
  *height = 2;
}

void Beep() { VideoDriver().Beep(); }

}  // namespace detail
}  // namespace console
