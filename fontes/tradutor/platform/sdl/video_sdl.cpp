// TIRLA: the SDL2 backend: a software-drawn cell grid with SDL2_ttf glyphs, and its magnifier.
#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/audio/tone_sdl.h"
#include "platform/codepage.h"
#include "platform/font_size.h"
#include "platform/messages.h"
#include "platform/sdl/fonts.h"
#include "platform/sdl/video_sdl.h"
#include "platform/sdl/video_sdl_state.h"

namespace platform {
namespace sdl {

SdlState& State() {
  static SdlState& state = *new SdlState;
  return state;
}

namespace {

constexpr int kFallbackCellWidth = 8;    // cell size when no font can be loaded
constexpr int kFallbackCellHeight = 16;
constexpr int kDefaultFontHeight = 16;   // a font request of height 0
constexpr int kMinColumns = 16, kMinRows = 4;  // smallest window the user may size to
constexpr int kScrollMargin = 32;        // smooth scrolls need this much room under the window
constexpr int kCaretHeight = 2;          // the caret is a bar on the font's baseline

Uint32 MapRgb(SDL_Surface* surface, Rgb c) { return SDL_MapRGB(surface->format, c.red, c.green, c.blue); }

// The pixel rectangle of cells [column, column2) x [row, row2).
SDL_Rect CellRect(int column, int row, int column2, int row2) {
  const CellMetrics& cell = State().cell;
  return SDL_Rect{column * cell.width + cell.overhang, row * cell.height,
                  (column2 - column) * cell.width, (row2 - row) * cell.height};
}

void FreeGlyphs() {
  SdlState& s = State();
  for (SDL_Surface*& glyph : s.glyphs) {
    SDL_FreeSurface(glyph);
    glyph = nullptr;
  }
  s.glyph_tried.fill(false);
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

void ShutDown() {
  SdlState& s = State();
  StopWakeEvents();
  FreeGlyphs();
  if (s.font) TTF_CloseFont(s.font);
  s.font = nullptr;
  FreeWindow();
  if (TTF_WasInit()) TTF_Quit();
  SDL_Quit();
  s.up = false;
}

// ---- display ---------------------------------------------------------------------------------

bool Start(std::string* error) {
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
  StartWakeEvents();
  s.up = true;
  if (!s.shutdown_registered) {
    s.shutdown_registered = true;
    std::atexit(ShutDown);
  }
  return true;
}

bool IsUp() { return State().up; }

// Pixel size of the usable part of the display (screen less panels); false when unknown.
bool WorkArea(int* width, int* height) {
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

bool SetFont(const FontRequest& asked) {
  SdlState& s = State();
  int work_width = 0, work_height = 0;
  WorkArea(&work_width, &work_height);
  const FontRequest request = SizedForWorkArea(asked, work_width, work_height);
  if (s.font) TTF_CloseFont(s.font);
  s.font = nullptr;
  FreeGlyphs();
  const int height = request.height > 0 ? request.height : kDefaultFontHeight;
  if (TTF_WasInit() || TTF_Init() == 0) {
    const std::string file = FindFontFile(Cp1252ToUtf8(request.face), request.weight);
    if (!file.empty()) s.font = TTF_OpenFont(file.c_str(), height);
  }
  if (!s.font) {
    s.cell = CellMetrics{kFallbackCellWidth, kFallbackCellHeight, kFallbackCellHeight - 4, 0};
    s.glyph_dx = s.glyph_dy = 0;
    return false;
  }
  FitPointSize(s.font, request.width, height);
  int advance = 0;
  TTF_GlyphMetrics32(s.font, 'M', nullptr, nullptr, nullptr, nullptr, &advance);
  s.cell.width = std::max(request.width > 0 ? request.width : advance, 1);
  s.cell.height = std::max(request.height > 0 ? request.height : TTF_FontLineSkip(s.font), 1);
  s.glyph_dx = std::max(0, (s.cell.width - advance) / 2);
  s.glyph_dy = std::max(0, (s.cell.height - TTF_FontHeight(s.font)) / 2);
  s.cell.ascent = std::min(s.glyph_dy + TTF_FontAscent(s.font), s.cell.height - 2);
  s.cell.overhang = 0;
  return true;
}

// The window may grow to its own size, but never beyond the work area.
bool CreateWindow(std::string_view title, int columns, int rows, std::string* error) {
  SdlState& s = State();
  FreeWindow();
  const int width = columns * s.cell.width + s.cell.overhang;
  const int height = rows * s.cell.height;
  int max_width = width, max_height = height;
  int work_width = 0, work_height = 0;
  if (WorkArea(&work_width, &work_height) && work_width > 0 && work_height > 0) {
    max_width = std::min(max_width, work_width);
    max_height = std::min(max_height, work_height);
  }
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
    const int c = column + static_cast<int>(i);
    SDL_Rect cell = CellRect(c, row, c + 1, row + 1);
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

void FillCells(int column, int row, int column2, int row2, Rgb colour) {
  SdlState& s = State();
  if (!s.canvas) return;
  s.dirty = true;
  SDL_Rect rect = CellRect(column, row, column2, row2);
  SDL_FillRect(s.canvas, &rect, MapRgb(s.canvas, colour));
}

// Moving pixels shows the scroll; only while the window is active and well above the bottom
// of the screen.
bool CanScrollSmoothly() {
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

void ScrollRowsUp(int columns, int rows) {
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

void ShowCaret(int column, int row) {
  SdlState& s = State();
  s.caret = true;
  s.caret_rect = SDL_Rect{column * s.cell.width, row * s.cell.height + s.cell.ascent,
                          s.cell.width, kCaretHeight};
  Show();
}

void HideCaret() {
  State().caret = false;
  Show();
}

// ---- magnifier -------------------------------------------------------------------------------

void Snapshot() {
  SdlState& s = State();
  if (!s.canvas) return;
  SDL_FreeSurface(s.snapshot);
  s.snapshot = SDL_DuplicateSurface(s.canvas);
}

void Magnify(int x, int y, int factor) {
  SdlState& s = State();
  if (!s.snapshot || !s.canvas) return;
  const PixelRect part = MagnifiedPart(x, y, factor, s.canvas->w, s.canvas->h);
  if (part.width <= 0 || part.height <= 0) return;
  SDL_Rect from{part.x, part.y, part.width, part.height};
  SDL_BlitScaled(s.snapshot, &from, s.canvas, nullptr);
  s.dirty = true;
}

void DropSnapshot() {
  SDL_FreeSurface(State().snapshot);
  State().snapshot = nullptr;
}

constexpr Display kDisplay = {
    .Start = Start,
    .IsUp = IsUp,
    .SetFont = SetFont,
    .CreateWindow = CreateWindow,
    .DestroyWindow = FreeWindow,
    .ShowWindow = ShowWindow,
    .SetTitle = SetTitle,
    .DrawRun = DrawRun,
    .FillCells = FillCells,
    .CanScrollSmoothly = CanScrollSmoothly,
    .ScrollRowsUp = ScrollRowsUp,
    .Present = Present,
    .ShowCaret = ShowCaret,
    .HideCaret = HideCaret,
    .PollEvent = PollEvent,
    .WaitEvent = WaitEvent,
};

constexpr Magnifier kMagnifier = {.Snapshot = Snapshot, .Show = Magnify, .Drop = DropSnapshot};

}  // namespace

void Present() {
  if (State().dirty) Show();
}

}  // namespace sdl

const VideoDriver& SdlVideoDriver() {
  static const VideoDriver driver = {
      .name = "sdl",
      .display = &sdl::kDisplay,
      .magnifier = &sdl::kMagnifier,
      .clipboard = &sdl::SdlClipboard(),
      .tone = &SdlTone(),
      .host = &ProcessHost(),
  };
  return driver;
}

bool SdlWindowPixel(int x, int y, Rgb* colour) {
  sdl::SdlState& s = sdl::State();
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
