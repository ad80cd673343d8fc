// TIRLA: the console's text screen: writing, scrolling and blanking cells of the buffer.
#include "console/screen_buffer.h"

#include <algorithm>

namespace console {
namespace {

constexpr uint8_t kBlank = 32;

size_t CellIndex(const ScreenBuffer& screen, int column, int row) {
  return static_cast<size_t>(row) * screen.columns + column;
}

void Fill(ScreenBuffer& screen, int column, int row, int count, uint8_t attribute) {
  const size_t at = CellIndex(screen, column, row);
  std::fill_n(screen.chars.begin() + at, count, kBlank);
  std::fill_n(screen.attrs.begin() + at, count, attribute);
}

// The region columns of the cursor row a write has changed, [lo, hi).
struct Span {
  int lo;
  int hi;
};

void TellRowChanged(const ScreenBuffer& screen, Span span) {
  if (span.hi > span.lo && screen.notices.RowChanged)
    screen.notices.RowChanged(screen.region.Top + screen.cursor_row,
                              screen.region.Left + span.lo, screen.region.Left + span.hi);
}

void ScrollRegionUp(ScreenBuffer& screen, uint8_t attribute) {
  const Region& region = screen.region;
  const int width = RegionWidth(screen);
  for (int r = region.Top + 1; r <= region.Bottom; ++r) {
    const size_t from = CellIndex(screen, region.Left, r);
    const size_t to = CellIndex(screen, region.Left, r - 1);
    std::copy_n(screen.chars.begin() + from, width, screen.chars.begin() + to);
    std::copy_n(screen.attrs.begin() + from, width, screen.attrs.begin() + to);
  }
  Fill(screen, region.Left, region.Bottom, width, attribute);
  if (screen.notices.Scrolled) screen.notices.Scrolled();
}

// Tells the changed span, then moves the cursor one row down, scrolling at the bottom.
void NewLine(ScreenBuffer& screen, Span& span, uint8_t attribute) {
  TellRowChanged(screen, span);
  span = Span{0, 0};
  ++screen.cursor_row;
  if (screen.cursor_row < RegionHeight(screen)) return;
  screen.cursor_row = RegionHeight(screen) - 1;
  ScrollRegionUp(screen, attribute);
}

void Put(ScreenBuffer& screen, Span& span, uint8_t ch, uint8_t attribute) {
  if (screen.cursor_column >= RegionWidth(screen)) {
    screen.cursor_column = 0;
    NewLine(screen, span, attribute);
  }
  const size_t at = CellIndex(screen, screen.region.Left + screen.cursor_column,
                              screen.region.Top + screen.cursor_row);
  screen.chars[at] = ch;
  screen.attrs[at] = attribute;
  span.lo = std::min(span.lo, static_cast<int>(screen.cursor_column));
  ++screen.cursor_column;
  span.hi = std::max(span.hi, static_cast<int>(screen.cursor_column));
}

void RubOut(ScreenBuffer& screen, Span& span, uint8_t attribute) {
  if (screen.cursor_column == 0) return;
  --screen.cursor_column;
  Fill(screen, screen.region.Left + screen.cursor_column, screen.region.Top + screen.cursor_row,
       1, attribute);
  span.lo = std::min(span.lo, static_cast<int>(screen.cursor_column));
}

// The cell index of 1-based region cell (column, row); false outside the screen.
bool RegionCell(const ScreenBuffer& screen, int32_t column, int32_t row, size_t* index) {
  const int64_t c = int64_t{column} + screen.region.Left - 1;
  const int64_t r = int64_t{row} + screen.region.Top - 1;
  if (c < 0 || r < 0 || c >= screen.columns || r >= screen.rows) return false;
  *index = CellIndex(screen, static_cast<int>(c), static_cast<int>(r));
  return true;
}

}  // namespace

ScreenBuffer MakeScreenBuffer(int columns, int rows, uint8_t attribute, ScreenNotices notices) {
  ScreenBuffer screen;
  screen.columns = columns;
  screen.rows = rows;
  screen.region = Region{0, 0, columns - 1, rows - 1};
  const size_t cells = static_cast<size_t>(columns) * rows;
  screen.chars.assign(cells, kBlank);
  screen.attrs.assign(cells, attribute);
  screen.notices = notices;
  return screen;
}

int RegionWidth(const ScreenBuffer& screen) {
  return screen.region.Right - screen.region.Left + 1;
}

int RegionHeight(const ScreenBuffer& screen) {
  return screen.region.Bottom - screen.region.Top + 1;
}

void WriteBytes(ScreenBuffer& screen, std::string_view text, uint8_t attribute) {
  Span span{screen.cursor_column, screen.cursor_column};
  for (const char byte : text) {
    const auto ch = static_cast<uint8_t>(byte);
    switch (ch) {
      case 7:
        if (screen.notices.Bell) screen.notices.Bell();
        break;
      case 8:
        RubOut(screen, span, attribute);
        break;
      case 10:
        NewLine(screen, span, attribute);
        screen.cursor_column = 0;
        break;
      case 13:
        screen.cursor_column = 0;
        break;
      default:
        if (ch >= 32) Put(screen, span, ch, attribute);  // other control bytes, tabs too, go
        break;
    }
  }
  TellRowChanged(screen, span);
}

void ClearRegion(ScreenBuffer& screen, uint8_t attribute) {
  for (int r = screen.region.Top; r <= screen.region.Bottom; ++r)
    Fill(screen, screen.region.Left, r, RegionWidth(screen), attribute);
  screen.cursor_column = screen.cursor_row = 0;
  if (screen.notices.AllChanged) screen.notices.AllChanged();
}

void ClearToRowEnd(ScreenBuffer& screen, uint8_t attribute) {
  const int count = RegionWidth(screen) - screen.cursor_column;
  if (count <= 0) return;
  Fill(screen, screen.region.Left + screen.cursor_column, screen.region.Top + screen.cursor_row,
       count, attribute);
  TellRowChanged(screen, Span{screen.cursor_column, RegionWidth(screen)});
}

void PlaceCursor(ScreenBuffer& screen, int32_t column, int32_t row) {
  const int64_t max_column = screen.region.Right - screen.region.Left;
  const int64_t max_row = screen.region.Bottom - screen.region.Top;
  screen.cursor_column =
      static_cast<int32_t>(std::clamp<int64_t>(int64_t{column} - 1, 0, max_column));
  screen.cursor_row = static_cast<int32_t>(std::clamp<int64_t>(int64_t{row} - 1, 0, max_row));
}

uint8_t CellChar(const ScreenBuffer& screen, int32_t column, int32_t row) {
  size_t at = 0;
  return RegionCell(screen, column, row, &at) ? screen.chars[at] : kBlank;
}

uint8_t CellAttribute(const ScreenBuffer& screen, int32_t column, int32_t row) {
  size_t at = 0;
  return RegionCell(screen, column, row, &at) ? screen.attrs[at] : 0;
}

}  // namespace console
