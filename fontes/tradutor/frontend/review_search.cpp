// TIRLA: screen review's search, its go-to of a row and column, and the copy of the screen.
#include <string>

#include "console/keyboard.h"
#include "frontend/review_parts.h"
#include "frontend/sound.h"
#include "frontend/speech.h"

namespace frontend::review {
namespace {

constexpr uint8_t kEscape = 27;
constexpr uint8_t kEnter = 13;
constexpr uint8_t kBackspace = 8;
constexpr size_t kLongestSearch = 255;

// Reads the search text key by key, each voiced; false when Escape cancels it.
bool ReadSearchText(std::string* text) {
  text->clear();
  for (;;) {
    const uint8_t key = console::ReadKeyCode();
    StopSpeaking();
    if (key == 0) {
      console::ReadKeyCode();  // extended keys add nothing
      continue;
    }
    if (key == kEscape) return false;
    if (key == kEnter) return true;
    if (key == kBackspace) {
      if (text->empty()) continue;
      SpeakSoundFile("_DEL");
      SpeakCharSound(static_cast<unsigned char>(text->back()));
      text->pop_back();
    } else if (text->size() >= kLongestSearch) {
      Beep();
    } else {
      *text += static_cast<char>(key);
      SpeakCharSound(key);
    }
  }
}

std::string RowText(int row) {
  std::string text;
  for (int column = 1; column <= Columns(); ++column) text += static_cast<char>(CharAt(column, row));
  return text;
}

}  // namespace

void Search(Position& p) {
  SpeakText("Qual texto");
  std::string text;
  if (!ReadSearchText(&text)) return;
  State().searchText = text;
  SearchAgain(p);
}

// From the review row down; on that row only after the review column. A text longer than a
// row is found nowhere.
void SearchAgain(Position& p) {
  const std::string& text = State().searchText;
  if (!text.empty()) {
    for (int row = p.row; row <= Rows(); ++row) {
      const size_t from = row == p.row ? static_cast<size_t>(p.column) : 0;
      const size_t at = RowText(row).find(text, from);
      if (at == std::string::npos) continue;
      p = {.column = static_cast<int>(at) + 1, .row = row};
      Click();
      return;
    }
  }
  Beep();
  Beep();
}

// Two digits of row and two of column, each voiced; anything else leaves the position.
void GoTo(Position& p) {
  SpeakText("Entre linha e coluna");
  int value[4];
  for (int& digit : value) {
    const uint8_t key = console::ReadKeyCode();
    StopSpeaking();
    if (key == 0) console::ReadKeyCode();
    if (key < '0' || key > '9') {
      Beep();
      Beep();
      return;
    }
    SpeakCharSound(key);
    digit = key - '0';
  }
  p = {.column = value[2] * 10 + value[3], .row = value[0] * 10 + value[1]};
}

// Any number of rows: the copy is built to the screen's size.
void CopyScreen() {
  std::string screen;
  screen.reserve(static_cast<size_t>(Rows()) * (Columns() + 2));
  for (int row = 1; row <= Rows(); ++row) screen += RowText(row) + "\r\n";
  console::CopyToClipboard(screen);
}

}  // namespace frontend::review
