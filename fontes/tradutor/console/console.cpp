// TIRLA: the console window: its life, painting the screen buffer, and program end.
#include "console/console.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <string>

#include "console/backend.h"
#include "console/braille_output.h"
#include "console/config.h"
#include "console/internal.h"
#include "console/keyboard.h"
#include "platform/codepage.h"
#include "platform/folders.h"
#include "platform/report.h"

namespace console {
namespace {

constexpr size_t kTitleSize = 80;      // title buffer, terminator included
constexpr int kMaxColumns = 1000;      // sizes beyond these would only exhaust memory
constexpr int kMaxRows = 1000;

// The backend until the program chooses one: no tables at all, so backend.cpp does the harmless
// thing for each (nothing shows, no key comes) and the host is the real process.
constexpr platform::VideoDriver kNoBackend = {.name = "none"};

struct ConsoleState {
  const platform::VideoDriver* driver = &kNoBackend;  // backend, as the program chose it
  bool exit_handler_installed = false;   // RunExitHandler is an exit handler (once per process)
  ScreenDimensions size;                 // screen size asked for before the window exists
  ScreenBuffer screen;                   // the cells, made with the window
  uint8_t text_attribute = 0x0F;         // attribute of written characters
  bool created = false;                  // the window exists
  bool attached = true;                  // events reach the console (off after the exit handler)
  std::array<uint8_t, 16> colour_table{};  // colour number -> palette entry
  bool break_check = true;               // Ctrl+Break ends the program
  bool slow_scroll = false;              // scroll by moving what is shown
  bool maximize_window = false;          // open maximized
  bool fixed_colours = false;            // SetBackground has no effect
  int32_t magnify_factor = 2;            // magnifier factor; 0 shows no magnification
  std::string title;                     // window title, at most 79 bytes
  bool invalid = false;                  // every cell waits to be drawn again
};

// The start-up state; the backend and what the process already registered stay.
ConsoleState InitialState(const ConsoleState& before) {
  ConsoleState state;
  state.driver = before.driver;
  state.exit_handler_installed = before.exit_handler_installed;
  for (int i = 0; i < 16; ++i) state.colour_table[i] = static_cast<uint8_t>(i);
  state.title = platform::Utf8ToCp1252(platform::ModuleFileName()).substr(0, kTitleSize - 1);
  return state;
}

ConsoleState& State() {
  static ConsoleState state = InitialState(ConsoleState{});
  return state;
}

platform::Rgb PaletteColour(int colour_number) {
  const uint8_t entry = State().colour_table[colour_number & 15];
  return entry < platform::kConsolePalette.size() ? platform::kConsolePalette[entry]
                                                  : platform::Rgb{0, 0, 0};
}

// ---- painting --------------------------------------------------------------------------------

// Draws cells [from, to) of screen row `row`, one run per attribute.
void DrawRow(int row, int from, int to) {
  ConsoleState& s = State();
  const ScreenBuffer& screen = s.screen;
  if (!s.created) return;
  from = std::max(from, 0);
  to = std::min(to, screen.columns);
  if (to <= from || row < 0 || row >= screen.rows) return;
  const size_t line = static_cast<size_t>(row) * screen.columns;
  int start = from;
  while (start < to) {
    const uint8_t attribute = screen.attrs[line + start];
    int end = start + 1;
    while (end < to && screen.attrs[line + end] == attribute) ++end;
    const char* text = reinterpret_cast<const char*>(&screen.chars[line + start]);
    backend::DrawRun(start, row, std::string_view(text, end - start),
                     PaletteColour(attribute & 15), PaletteColour(attribute >> 4));
    start = end;
  }
}

void Invalidate() { State().invalid = true; }

// Draws at once what is invalid and shows the result.
void UpdateWindow() {
  ConsoleState& s = State();
  if (!s.created) return;
  if (s.invalid) {
    s.invalid = false;
    for (int row = 0; row < s.screen.rows; ++row) DrawRow(row, 0, s.screen.columns);
  }
  backend::Present();
}

// The buffer's notices: changed cells are drawn as they change.
void OnRowChanged(int row, int from, int to) { DrawRow(row, from, to); }

void OnScrolled() {
  ConsoleState& s = State();
  const Region& region = s.screen.region;
  if (s.slow_scroll && backend::CanScrollSmoothly()) {
    backend::ScrollRowsUp(s.screen.columns, s.screen.rows);
    backend::FillCells(region.Left, region.Bottom, region.Right + 1, region.Bottom + 1,
                       PaletteColour(s.text_attribute >> 4));
  } else {
    Invalidate();
  }
  UpdateWindow();
}

void OnAllChanged() {
  Invalidate();
  UpdateWindow();
}

constexpr ScreenNotices kNotices = {
    .RowChanged = OnRowChanged,
    .Scrolled = OnScrolled,
    .AllChanged = OnAllChanged,
    .Bell = backend::Beep,
};

// ---- window life -----------------------------------------------------------------------------

[[noreturn]] void ReportAndExit(const char* what, const std::string& error) {
  platform::Report(platform::Severity::kError,
                   platform::Utf8ToCp1252(std::string(what) + ": " + error));  // reasons come as UTF-8
  backend::Exit(1);
}

void StartDisplayOrExit() {
  std::string error;
  if (!backend::StartDisplay(&error)) ReportAndExit("não foi possível abrir a janela", error);
}

// Takes the configuration's colours, scrolling, window state and magnifier; returns its font.
platform::FontRequest ApplyConfig() {
  ConsoleState& s = State();
  const ConsoleConfig config = LoadConsoleConfig(s.colour_table);
  s.text_attribute = config.text_attribute;
  s.colour_table = config.colour_table;
  s.fixed_colours = config.fixed_colours;
  s.slow_scroll = config.slow_scroll;
  s.maximize_window = config.maximize_window;
  s.magnify_factor = config.magnify_factor;
  detail::SetBrailleModeValue(config.braille_mode);
  return config.font;
}

void SetFontOrWarn(const platform::FontRequest& font) {
  if (!backend::SetFont(font))
    platform::Report(platform::Severity::kWarning,
                     "fonte n\xE3o encontrada (" + font.face + "); usando a fonte de reserva");
}

// The screen size kept usable, and the buffer of that size.
void MakeScreen() {
  ConsoleState& s = State();
  s.size.Columns = std::clamp(s.size.Columns, 1, kMaxColumns);
  s.size.Rows = std::clamp(s.size.Rows, 1, kMaxRows);
  s.screen = MakeScreenBuffer(s.size.Columns, s.size.Rows, s.text_attribute, kNotices);
}

void CreateWindowOrExit() {
  ConsoleState& s = State();
  std::string error;
  if (!backend::CreateWindow(s.title, s.screen.columns, s.screen.rows, &error)) {
    s.screen = ScreenBuffer{};
    ReportAndExit("não foi possível abrir a janela", error);
  }
  s.created = true;
  s.attached = true;
}

// The exit handling: the window stays, titled "Programa terminado", and no longer reacts.
void RunExitHandler() {
  ConsoleState& s = State();
  if (!s.created || !s.attached) return;
  SetWindowTitle("Programa terminado");
  s.break_check = false;
  s.attached = false;
  backend::Present();
}

void InstallExitHandler() {
  ConsoleState& s = State();
  if (s.exit_handler_installed) return;
  s.exit_handler_installed = true;
  std::atexit(RunExitHandler);
}

}  // namespace

// ---- state access --------------------------------------------------------------------------

ScreenDimensions ScreenSize() {
  const ConsoleState& s = State();
  if (s.created) return ScreenDimensions{s.screen.columns, s.screen.rows};
  return s.size;
}

void SetScreenSize(ScreenDimensions size) {
  if (!State().created) State().size = size;
}

const Region& TextRegion() { return State().screen.region; }
uint8_t TextAttribute() { return State().text_attribute; }
void SetTextAttribute(uint8_t attribute) { State().text_attribute = attribute; }
bool ConsoleOpen() { return State().created; }

void StartConsole() {
  ConsoleState& s = State();
  s = InitialState(s);
  detail::StartWindowEvents();
  detail::StartKeyboard();
  detail::StartBraille();
  detail::StartTones();
  StartBrailleOutput();
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
  StartDisplayOrExit();
  SetFontOrWarn(ApplyConfig());
  MakeScreen();
  CreateWindowOrExit();
  InstallExitHandler();
  backend::ShowWindow(s.maximize_window);
  Invalidate();
  UpdateWindow();
  SetBrailleMode(BrailleMode());
}

void CloseConsole(int code) {
  ConsoleState& s = State();
  if (s.created) {
    while (KeyWaiting()) ReadKeyCode();
    s.attached = false;
    backend::DestroyWindow();
    s.created = false;
  }
  EndProgram(code);
}

void EndProgram(int code) {
  RunExitHandler();
  backend::Exit(code);
}

void SetWindowTitle(std::string_view title) {
  ConsoleState& s = State();
  const size_t end = std::min(title.find('\0'), kTitleSize - 1);
  s.title.assign(title.substr(0, std::min(end, title.size())));
  if (s.created) backend::SetTitle(s.title);
}

std::string_view WindowTitle() { return State().title; }

// ---- output ---------------------------------------------------------------------------------

void ConsoleWrite(std::string_view text) {
  OpenConsole();
  WriteBytes(State().screen, text, State().text_attribute);
  backend::Present();
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
  ClearRegion(State().screen, State().text_attribute);
}

void ClearToLineEnd() {
  OpenConsole();
  ClearToRowEnd(State().screen, State().text_attribute);
  backend::Present();
}

void MoveCursor(int32_t column, int32_t row) { PlaceCursor(State().screen, column, row); }

int32_t CursorColumn() { return State().screen.cursor_column + 1; }
int32_t CursorRow() { return State().screen.cursor_row + 1; }

void SetBackground(uint8_t colour) {
  OpenConsole();
  ConsoleState& s = State();
  if (!s.fixed_colours)
    s.text_attribute = static_cast<uint8_t>((s.text_attribute & 0x0F) | (colour << 4));
}

// A closed window's cells read as blanks.
uint8_t ScreenChar(int32_t column, int32_t row) {
  return State().created ? CellChar(State().screen, column, row) : ' ';
}

uint8_t ScreenAttribute(int32_t column, int32_t row) {
  return State().created ? CellAttribute(State().screen, column, row) : 0;
}

namespace detail {

bool BreakCheck() { return State().break_check; }
bool WindowAttached() { return State().created && State().attached; }
int32_t MagnifyFactor() { return State().magnify_factor; }

void CaretCell(int* column, int* row) {
  const ScreenBuffer& screen = State().screen;
  *column = screen.cursor_column + screen.region.Left;
  *row = screen.cursor_row + screen.region.Top;
}

void PaintCells(int column, int row, int column2, int row2) {
  const ScreenBuffer& screen = State().screen;
  for (int r = std::max(row, 0); r < std::min(row2, screen.rows); ++r) DrawRow(r, column, column2);
  backend::Present();
}

void RepaintAll() {
  Invalidate();
  UpdateWindow();
}

}  // namespace detail
}  // namespace console
