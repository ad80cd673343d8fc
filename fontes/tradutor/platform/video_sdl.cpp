// TIRLA: the SDL2 window backend: a software-drawn cell grid with SDL2_ttf glyphs.
#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <thread>

#include "platform/clipboard.h"
#include "platform/codepage.h"
#include "platform/fonts.h"
#include "platform/messages.h"
#include "platform/tone.h"
#include "platform/video.h"

namespace platform {
namespace {

constexpr int kFallbackCellWidth = 8;    // cell size when no font can be loaded
constexpr int kFallbackCellHeight = 16;
constexpr int kDefaultFontHeight = 16;   // a font request of height 0
constexpr int kMinColumns = 16, kMinRows = 4;  // smallest window the user may size to
constexpr int kScrollMargin = 32;        // pixel scrolls need this much room under the window

struct SdlState {
  bool up = false;                       // video subsystem initialised
  Uint32 wake_event = 0;                 // event type pushed by posted messages
  SDL_Window* window = nullptr;          // the console window
  SDL_Surface* canvas = nullptr;         // what the console drew, client size
  SDL_Surface* snapshot = nullptr;       // the magnifier's copy of the canvas
  TTF_Font* font = nullptr;              // the console font, null when none loaded
  CellMetrics cell;                      // cell size
  int glyph_dx = 0, glyph_dy = 0;        // glyph offset inside a cell
  std::array<SDL_Surface*, 256> glyphs{};  // white glyph of each cp1252 byte, made lazily
  std::array<bool, 256> glyph_tried{};   // the glyph was asked for once
  bool caret = false;                    // caret shown
  SDL_Rect caret_rect{};
  std::deque<VideoEvent> pending;        // events made from one SDL event, not yet taken
  Uint16 key_mod = 0;                    // modifier state of the last key event
  bool dirty = false;                    // the canvas or caret changed since the last showing
};

// Never destroyed: the exit handlers still use it while the process ends.
SdlState& State() {
  static SdlState& state = *new SdlState;
  return state;
}

std::atomic<Uint32> wake_event_type{0};  // read by the posting threads

// Called from any thread that posts a message: wakes SDL_WaitEvent.
void PushWakeEvent() {
  const Uint32 type = wake_event_type.load();
  if (type == 0) return;
  SDL_Event event{};
  event.type = type;
  SDL_PushEvent(&event);
}

// SDL key codes and the virtual keys they stand for.
struct KeyMapping {
  SDL_Keycode sdl;
  int vk;
};

constexpr std::array<KeyMapping, 35> kKeyTable = {{
    {SDLK_BACKSPACE, vk::kBack},  {SDLK_TAB, vk::kTab},        {SDLK_RETURN, vk::kReturn},
    {SDLK_KP_ENTER, vk::kReturn}, {SDLK_ESCAPE, vk::kEscape},  {SDLK_SPACE, vk::kSpace},
    {SDLK_PAGEUP, vk::kPrior},    {SDLK_PAGEDOWN, vk::kNext},  {SDLK_END, vk::kEnd},
    {SDLK_HOME, vk::kHome},       {SDLK_LEFT, vk::kLeft},      {SDLK_UP, vk::kUp},
    {SDLK_RIGHT, vk::kRight},     {SDLK_DOWN, vk::kDown},      {SDLK_INSERT, vk::kInsert},
    {SDLK_DELETE, vk::kDelete},   {SDLK_PAUSE, vk::kPause},    {SDLK_CANCEL, vk::kCancel},
    {SDLK_LSHIFT, vk::kShift},    {SDLK_RSHIFT, vk::kShift},   {SDLK_LCTRL, vk::kControl},
    {SDLK_RCTRL, vk::kControl},   {SDLK_LALT, vk::kMenu},      {SDLK_RALT, vk::kMenu},
    {SDLK_F1, vk::kF1 + 0},       {SDLK_F2, vk::kF1 + 1},      {SDLK_F3, vk::kF1 + 2},
    {SDLK_F4, vk::kF1 + 3},       {SDLK_F5, vk::kF1 + 4},      {SDLK_F6, vk::kF1 + 5},
    {SDLK_F7, vk::kF1 + 6},       {SDLK_F8, vk::kF1 + 7},      {SDLK_F9, vk::kF1 + 8},
    {SDLK_F10, vk::kF1 + 9},      {SDLK_F11, vk::kF1 + 10},
}};

// Keypad keys while Num Lock is off: the editing and cursor keys they carry.
constexpr std::array<KeyMapping, 10> kKeypadTable = {{
    {SDLK_KP_7, vk::kHome},   {SDLK_KP_8, vk::kUp},     {SDLK_KP_9, vk::kPrior},
    {SDLK_KP_4, vk::kLeft},   {SDLK_KP_6, vk::kRight},  {SDLK_KP_1, vk::kEnd},
    {SDLK_KP_2, vk::kDown},   {SDLK_KP_3, vk::kNext},   {SDLK_KP_0, vk::kInsert},
    {SDLK_KP_PERIOD, vk::kDelete},
}};

int VirtualKey(SDL_Keycode key, unsigned modifiers, Uint16 mod) {
  if (!(mod & KMOD_NUM))
    for (const KeyMapping& m : kKeypadTable)
      if (m.sdl == key) return m.vk;
  if (key >= SDLK_a && key <= SDLK_z) return vk::kA + (key - SDLK_a);
  if (key >= SDLK_0 && key <= SDLK_9) return vk::k0 + (key - SDLK_0);
  if (key == SDLK_F12) return vk::kF12;
  if (key == SDLK_PAUSE && (modifiers & kModCtrl)) return vk::kCancel;  // Ctrl+Break
  for (const KeyMapping& m : kKeyTable)
    if (m.sdl == key) return m.vk;
  return 0;
}

unsigned Modifiers(Uint16 mod) {
  unsigned m = 0;
  if (mod & KMOD_SHIFT) m |= kModShift;
  if (mod & KMOD_CTRL) m |= kModCtrl;
  if (mod & KMOD_ALT) m |= kModAlt;
  return m;
}

// The character a key gives that SDL does not deliver as text input.
int KeyCharacter(SDL_Keycode key, unsigned modifiers) {
  switch (key) {
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
      return 13;
    case SDLK_BACKSPACE:
      return 8;
    case SDLK_ESCAPE:
      return 27;
    case SDLK_TAB:
      return 9;
    default:
      break;
  }
  if ((modifiers & kModCtrl) && !(modifiers & kModAlt) && key >= SDLK_a && key <= SDLK_z)
    return 1 + (key - SDLK_a);
  return -1;
}

Uint32 MapRgb(SDL_Surface* surface, Rgb c) { return SDL_MapRGB(surface->format, c.red, c.green, c.blue); }

// ---- driver entries ---------------------------------------------------------------------------

void ShutDown() {
  SdlState& s = State();
  wake_event_type.store(0);
  for (SDL_Surface*& glyph : s.glyphs) {
    SDL_FreeSurface(glyph);
    glyph = nullptr;
  }
  if (s.font) TTF_CloseFont(s.font);
  s.font = nullptr;
  SDL_FreeSurface(s.snapshot);
  SDL_FreeSurface(s.canvas);
  s.snapshot = s.canvas = nullptr;
  if (s.window) SDL_DestroyWindow(s.window);
  s.window = nullptr;
  if (TTF_WasInit()) TTF_Quit();
  SDL_Quit();
  s.up = false;
}

bool StartVideo(std::string* error) {
  SdlState& s = State();
  if (s.up) return true;
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
    if (error) *error = SDL_GetError();
    return false;
  }
  // Without a display SDL falls back to its invisible drivers; they count only when asked for
  // by name (as the tests do), otherwise a program would wait for keys nobody can type.
  const char* chosen = SDL_GetCurrentVideoDriver();
  const char* asked = std::getenv("SDL_VIDEODRIVER");
  if (chosen && (!asked || !*asked) &&
      (std::strcmp(chosen, "offscreen") == 0 || std::strcmp(chosen, "dummy") == 0)) {
    SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
    if (error) *error = "nenhuma tela disponível (DISPLAY e WAYLAND_DISPLAY não definidos)";
    return false;
  }
  s.wake_event = SDL_RegisterEvents(1);
  wake_event_type.store(s.wake_event == static_cast<Uint32>(-1) ? 0 : s.wake_event);
  SetWakeUpHook(PushWakeEvent);
  s.up = true;
  static bool shutdown_registered = false;
  if (!shutdown_registered) {
    shutdown_registered = true;
    std::atexit(ShutDown);
  }
  return true;
}

bool VideoUp() { return State().up; }

bool GetWorkArea(int* width, int* height) {
  SDL_Rect bounds;
  if (!State().up || SDL_GetDisplayUsableBounds(0, &bounds) != 0) return false;
  *width = bounds.w;
  *height = bounds.h;
  return true;
}

// Largest point size whose glyphs fit a cell of `width` x `height` (width 0: any width).
int FitPointSize(TTF_Font* font, int width, int height) {
  for (int size = std::max(height, 4); size > 4; --size) {
    if (TTF_SetFontSize(font, size) != 0) continue;
    int advance = 0;
    TTF_GlyphMetrics32(font, 'M', nullptr, nullptr, nullptr, nullptr, &advance);
    if (TTF_FontHeight(font) <= height && (width <= 0 || advance <= width)) return size;
  }
  TTF_SetFontSize(font, 4);
  return 4;
}

bool LoadFont(const FontRequest& request, CellMetrics* metrics) {
  SdlState& s = State();
  if (!TTF_WasInit() && TTF_Init() != 0) return false;
  if (s.font) TTF_CloseFont(s.font);
  s.font = nullptr;
  for (SDL_Surface*& glyph : s.glyphs) {
    SDL_FreeSurface(glyph);
    glyph = nullptr;
  }
  s.glyph_tried.fill(false);
  const int height = request.height > 0 ? request.height : kDefaultFontHeight;
  const std::string file = FindFontFile(Cp1252ToUtf8(request.face), request.weight);
  if (!file.empty()) s.font = TTF_OpenFont(file.c_str(), height);
  if (!s.font) {
    s.cell = CellMetrics{kFallbackCellWidth, kFallbackCellHeight, kFallbackCellHeight - 4, 0};
    s.glyph_dx = s.glyph_dy = 0;
    *metrics = s.cell;
    return false;
  }
  FitPointSize(s.font, request.width, height);
  int advance = 0;
  TTF_GlyphMetrics32(s.font, 'M', nullptr, nullptr, nullptr, nullptr, &advance);
  s.cell.width = request.width > 0 ? request.width : std::max(advance, 1);
  s.cell.height = request.height > 0 ? request.height : std::max(TTF_FontLineSkip(s.font), 1);
  s.glyph_dx = std::max(0, (s.cell.width - advance) / 2);
  s.glyph_dy = std::max(0, (s.cell.height - TTF_FontHeight(s.font)) / 2);
  s.cell.ascent = std::min(s.glyph_dy + TTF_FontAscent(s.font), s.cell.height - 2);
  s.cell.overhang = 0;
  *metrics = s.cell;
  return true;
}

void FreeWindow() {
  SdlState& s = State();
  SDL_FreeSurface(s.snapshot);
  SDL_FreeSurface(s.canvas);
  s.snapshot = s.canvas = nullptr;
  if (s.window) SDL_DestroyWindow(s.window);
  s.window = nullptr;
  s.caret = false;
}

bool CreateWindow(std::string_view title, int columns, int rows, int max_width, int max_height,
                  std::string* error) {
  SdlState& s = State();
  FreeWindow();
  const int width = columns * s.cell.width + s.cell.overhang;
  const int height = rows * s.cell.height;
  s.window = SDL_CreateWindow(Cp1252ToUtf8(title).c_str(), SDL_WINDOWPOS_UNDEFINED,
                              SDL_WINDOWPOS_UNDEFINED, width, height,
                              SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE);
  s.canvas = SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_XRGB8888);
  if (!s.window || !s.canvas) {
    if (error) *error = SDL_GetError();
    FreeWindow();
    return false;
  }
  SDL_FillRect(s.canvas, nullptr, MapRgb(s.canvas, Rgb{}));
  s.dirty = true;
  SDL_SetWindowMinimumSize(s.window, std::min(width, kMinColumns * s.cell.width),
                           std::min(height, kMinRows * s.cell.height));
  SDL_SetWindowMaximumSize(s.window, std::max(max_width, 1), std::max(max_height, 1));
  SDL_StartTextInput();
  return true;
}

void DestroyWindow() { FreeWindow(); }

void ShowWindow(bool maximize) {
  SdlState& s = State();
  if (!s.window) return;
  SDL_ShowWindow(s.window);
  if (maximize) SDL_MaximizeWindow(s.window);
}

void SetTitle(std::string_view title) {
  if (State().window) SDL_SetWindowTitle(State().window, Cp1252ToUtf8(title).c_str());
}

// The white glyph of one cp1252 byte, or null for a blank or when there is none.
SDL_Surface* Glyph(unsigned char ch) {
  SdlState& s = State();
  if (!s.font || ch == ' ') return nullptr;
  if (!s.glyph_tried[ch]) {
    s.glyph_tried[ch] = true;
    const char32_t code = Cp1252ToCodePoint(ch);
    if (code >= 32 && TTF_GlyphIsProvided32(s.font, code))
      s.glyphs[ch] = TTF_RenderGlyph32_Blended(s.font, code, SDL_Color{255, 255, 255, 255});
  }
  return s.glyphs[ch];
}

void DrawRun(int column, int row, std::string_view text, Rgb fore, Rgb back) {
  SdlState& s = State();
  if (!s.canvas) return;
  s.dirty = true;
  for (size_t i = 0; i < text.size(); ++i) {
    SDL_Rect cell{(column + static_cast<int>(i)) * s.cell.width + s.cell.overhang,
                  row * s.cell.height, s.cell.width, s.cell.height};
    SDL_SetClipRect(s.canvas, &cell);
    SDL_FillRect(s.canvas, &cell, MapRgb(s.canvas, back));
    const auto ch = static_cast<unsigned char>(text[i]);
    if (SDL_Surface* glyph = Glyph(ch)) {
      SDL_SetSurfaceColorMod(glyph, fore.red, fore.green, fore.blue);
      SDL_Rect at{cell.x + s.glyph_dx, cell.y + s.glyph_dy, glyph->w, glyph->h};
      SDL_BlitSurface(glyph, nullptr, s.canvas, &at);
    } else if (!s.font && ch != ' ') {
      // No font at all: an outlined box keeps the text's shape visible.
      SDL_Rect box{cell.x + 1, cell.y + 2, std::max(cell.w - 2, 1), std::max(cell.h - 4, 1)};
      SDL_FillRect(s.canvas, &box, MapRgb(s.canvas, fore));
      SDL_Rect inner{box.x + 1, box.y + 1, std::max(box.w - 2, 0), std::max(box.h - 2, 0)};
      SDL_FillRect(s.canvas, &inner, MapRgb(s.canvas, back));
    }
  }
  SDL_SetClipRect(s.canvas, nullptr);
}

void ScrollPixelsUp(int columns, int rows) {
  SdlState& s = State();
  if (!s.canvas || rows < 2) return;
  s.dirty = true;
  const int row_height = s.cell.height;
  const int bytes = std::min(columns * s.cell.width + s.cell.overhang, s.canvas->w) * 4;
  const int lines = std::min((rows - 1) * row_height, s.canvas->h - row_height);
  if (SDL_LockSurface(s.canvas) != 0) return;
  auto* pixels = static_cast<uint8_t*>(s.canvas->pixels);
  for (int y = 0; y < lines; ++y)
    std::memmove(pixels + y * s.canvas->pitch, pixels + (y + row_height) * s.canvas->pitch,
                 bytes);
  SDL_UnlockSurface(s.canvas);
}

void FillCells(int column, int row, int column2, int row2, Rgb colour) {
  SdlState& s = State();
  if (!s.canvas) return;
  s.dirty = true;
  SDL_Rect rect{column * s.cell.width + s.cell.overhang, row * s.cell.height,
                (column2 - column) * s.cell.width, (row2 - row) * s.cell.height};
  SDL_FillRect(s.canvas, &rect, MapRgb(s.canvas, colour));
}

bool CanScrollPixels() {
  SdlState& s = State();
  if (!s.window || !(SDL_GetWindowFlags(s.window) & SDL_WINDOW_INPUT_FOCUS)) return false;
  int x, y, w, h;
  SDL_GetWindowPosition(s.window, &x, &y);
  SDL_GetWindowSize(s.window, &w, &h);
  SDL_Rect screen;
  if (SDL_GetDisplayBounds(std::max(SDL_GetWindowDisplayIndex(s.window), 0), &screen) != 0)
    return false;
  return y + h < screen.y + screen.h - kScrollMargin;
}

// Shows the canvas and the caret in the window.
void Show() {
  SdlState& s = State();
  if (!s.window || !s.canvas) return;
  s.dirty = false;
  SDL_Surface* surface = SDL_GetWindowSurface(s.window);
  if (!surface) return;
  if (surface->w != s.canvas->w || surface->h != s.canvas->h)
    SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 0));
  SDL_BlitSurface(s.canvas, nullptr, surface, nullptr);
  if (s.caret) {
    // The caret takes the inverse of the colour under it, so it shows on any background.
    Uint8 r = 0, g = 0, b = 0;
    if (SDL_LockSurface(s.canvas) == 0) {
      const int x = std::clamp(s.caret_rect.x, 0, s.canvas->w - 1);
      const int y = std::clamp(s.caret_rect.y, 0, s.canvas->h - 1);
      Uint32 pixel = 0;
      std::memcpy(&pixel, static_cast<const uint8_t*>(s.canvas->pixels) + y * s.canvas->pitch + x * 4,
                  sizeof pixel);
      SDL_UnlockSurface(s.canvas);
      SDL_GetRGB(pixel, s.canvas->format, &r, &g, &b);
    }
    SDL_FillRect(surface, &s.caret_rect, SDL_MapRGB(surface->format, 255 - r, 255 - g, 255 - b));
  }
  SDL_UpdateWindowSurface(s.window);
}

void Present() {
  if (State().dirty) Show();
}

void ShowCaret(int x, int y, int width, int height) {
  State().caret = true;
  State().caret_rect = SDL_Rect{x, y, width, height};
  Show();
}

void HideCaret() {
  State().caret = false;
  Show();
}

void SnapshotWindow() {
  SdlState& s = State();
  if (!s.canvas) return;
  SDL_FreeSurface(s.snapshot);
  s.snapshot = SDL_DuplicateSurface(s.canvas);
}

void DrawSnapshot(int x, int y, int width, int height) {
  SdlState& s = State();
  if (!s.snapshot || !s.canvas || width <= 0 || height <= 0) return;
  SDL_Rect from{x, y, width, height};
  SDL_BlitScaled(s.snapshot, &from, s.canvas, nullptr);
  s.dirty = true;
}

void DropSnapshot() {
  SDL_FreeSurface(State().snapshot);
  State().snapshot = nullptr;
}

// Turns one SDL event into console events (none for events the console does not use).
void Translate(const SDL_Event& e) {
  SdlState& s = State();
  VideoEvent out;
  switch (e.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
      s.key_mod = e.key.keysym.mod;
      out.modifiers = Modifiers(e.key.keysym.mod);
      out.vk = VirtualKey(e.key.keysym.sym, out.modifiers, e.key.keysym.mod);
      out.kind = e.type == SDL_KEYDOWN ? EventKind::kKeyDown : EventKind::kKeyUp;
      s.pending.push_back(out);  // unmapped keys too (vk 0): their key-up ends Braille signs
      if (e.type == SDL_KEYDOWN) {
        const int ch = KeyCharacter(e.key.keysym.sym, out.modifiers);
        if (ch >= 0) {
          VideoEvent character;
          character.kind = EventKind::kChar;
          character.ch = static_cast<unsigned char>(ch);
          character.modifiers = out.modifiers;
          s.pending.push_back(character);
        }
      }
      return;
    }
    case SDL_TEXTINPUT: {
      // Text follows the key event that made it, with the same modifiers. Alt with a
      // character is a system key: it gives no character.
      const unsigned modifiers = Modifiers(s.key_mod);
      if ((s.key_mod & KMOD_LALT) && !(modifiers & kModCtrl)) return;
      for (const char c : Utf8ToCp1252(e.text.text)) {
        if (static_cast<unsigned char>(c) < 32) continue;
        VideoEvent character;
        character.kind = EventKind::kChar;
        character.ch = static_cast<unsigned char>(c);
        character.modifiers = modifiers;
        s.pending.push_back(character);
      }
      return;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      if (e.button.button != SDL_BUTTON_RIGHT) return;
      out.kind = e.type == SDL_MOUSEBUTTONDOWN ? EventKind::kRightDown : EventKind::kRightUp;
      out.x = e.button.x;
      out.y = e.button.y;
      s.pending.push_back(out);
      return;
    case SDL_MOUSEMOTION:
      out.kind = EventKind::kMouseMove;
      out.x = e.motion.x;
      out.y = e.motion.y;
      s.pending.push_back(out);
      return;
    case SDL_QUIT:
      out.kind = EventKind::kQuit;
      s.pending.push_back(out);
      return;
    case SDL_WINDOWEVENT:
      switch (e.window.event) {
        case SDL_WINDOWEVENT_CLOSE:
          out.kind = EventKind::kClose;
          break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
          out.kind = EventKind::kFocusGained;
          break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
          out.kind = EventKind::kFocusLost;
          break;
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_SIZE_CHANGED:
          s.dirty = true;
          out.kind = EventKind::kPaint;
          out.x2 = s.canvas ? s.canvas->w : 0;
          out.y2 = s.canvas ? s.canvas->h : 0;
          break;
        default:
          return;
      }
      s.pending.push_back(out);
      return;
    default:
      return;
  }
}

bool PollEvent(VideoEvent* event) {
  SdlState& s = State();
  if (!s.up) return false;
  SDL_Event e;
  while (s.pending.empty() && SDL_PollEvent(&e)) Translate(e);
  if (s.pending.empty()) return false;
  *event = s.pending.front();
  s.pending.pop_front();
  return true;
}

void WaitEvent(int timeout_ms) {
  SdlState& s = State();
  if (!s.up) {
    WaitForPostedMessage(timeout_ms);
    return;
  }
  SetWakeUpHook(PushWakeEvent);  // tests may have reset the hook
  if (!s.pending.empty() || HasPostedMessage()) return;
  Present();
  if (timeout_ms < 0)
    SDL_WaitEvent(nullptr);
  else
    SDL_WaitEventTimeout(nullptr, timeout_ms);
}

void Sleep(int ms) {
  if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

bool SetClipboard(std::string_view text) { return SetClipboardText(text); }
bool GetClipboard(std::string* text, bool* has_text) { return GetClipboardText(text, has_text); }
void PlaySound(std::string_view image, bool loop) { PlayWavImage(image, loop); }
void Beep() { PlayBeep(); }

void Exit(int code) {
  std::fflush(stdout);
  std::fflush(stderr);
  std::exit(code);
}

constexpr VideoDriver kSdlDriver = {
    "sdl",        StartVideo,    VideoUp,         GetWorkArea,  LoadFont,
    CreateWindow, DestroyWindow, ShowWindow,      SetTitle,     DrawRun,
    ScrollPixelsUp, FillCells,   CanScrollPixels, Present,      ShowCaret,
    HideCaret,    SnapshotWindow, DrawSnapshot,   DropSnapshot, PollEvent,
    WaitEvent,    Sleep,         SetClipboard,    GetClipboard, PlaySound,
    Beep,         Exit,
};

}  // namespace

const VideoDriver& SdlVideoDriver() { return kSdlDriver; }

bool SdlWindowPixel(int x, int y, Rgb* colour) {
  SdlState& s = State();
  if (!s.window) return false;
  SDL_Surface* surface = SDL_GetWindowSurface(s.window);
  if (!surface || x < 0 || y < 0 || x >= surface->w || y >= surface->h) return false;
  if (SDL_LockSurface(surface) != 0) return false;
  const auto* row = static_cast<const uint8_t*>(surface->pixels) + y * surface->pitch;
  Uint32 pixel = 0;
  std::memcpy(&pixel, row + x * surface->format->BytesPerPixel,
              std::min<int>(surface->format->BytesPerPixel, sizeof pixel));
  SDL_UnlockSurface(surface);
  SDL_GetRGB(pixel, surface->format, &colour->red, &colour->green, &colour->blue);
  return true;
}

}  // namespace platform
