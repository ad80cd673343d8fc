// TIRLA: ORVIA helpers for cp1252 text: Windows ANSI case mapping, trimming, integers.
#include "orvia/uttsPortugCase.h"

#include <charconv>

namespace uttsPortug {

namespace {

// The two mappings as tables, built once.
struct CaseTables {
  unsigned char upper[256] = {}, lower[256] = {};
  constexpr CaseTables();
};

constexpr unsigned char UpperOne(unsigned char c) {
  if (c >= 'a' && c <= 'z') return c - 32;
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 32;  // à..þ except ÷
  switch (c) {
    case 0x9A: return 0x8A;  // š
    case 0x9C: return 0x8C;  // œ
    case 0x9E: return 0x8E;  // ž
    case 0xFF: return 0x9F;  // ÿ
    default: return c;
  }
}

constexpr unsigned char LowerOne(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return c + 32;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;  // À..Þ except ×
  switch (c) {
    case 0x8A: return 0x9A;
    case 0x8C: return 0x9C;
    case 0x8E: return 0x9E;
    case 0x9F: return 0xFF;
    default: return c;
  }
}

constexpr CaseTables::CaseTables() {
  for (int c = 0; c < 256; ++c) {
    upper[c] = UpperOne(static_cast<unsigned char>(c));
    lower[c] = LowerOne(static_cast<unsigned char>(c));
  }
}

constexpr CaseTables kCase;

}  // namespace

unsigned char UpperAnsi(unsigned char c) { return kCase.upper[c]; }

unsigned char LowerAnsi(unsigned char c) { return kCase.lower[c]; }

std::string UpperAnsi(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(UpperAnsi(static_cast<unsigned char>(c)));
  return out;
}

std::string LowerAnsi(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(LowerAnsi(static_cast<unsigned char>(c)));
  return out;
}

std::string Trim(std::string_view text) {
  auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
  size_t first = 0, last = text.size();
  while (first < last && blank(text[first])) ++first;
  while (last > first && blank(text[last - 1])) --last;
  return std::string(text.substr(first, last - first));
}

std::optional<int> ParseInteger(std::string_view text) {
  std::string t = Trim(text);
  const char* begin = t.data();
  const char* end = t.data() + t.size();
  if (begin != end && *begin == '+') ++begin;
  int value = 0;
  auto [ptr, ec] = std::from_chars(begin, end, value);
  if (ec != std::errc() || ptr != end || begin == end) return std::nullopt;
  return value;
}

std::string Concat(std::initializer_list<std::string_view> pieces) {
  size_t size = 0;
  for (std::string_view piece : pieces) size += piece.size();
  std::string out;
  out.reserve(size);
  for (std::string_view piece : pieces) out.append(piece);
  return out;
}

void DropCarriageReturn(std::string& line) {
  if (!line.empty() && line.back() == '\r') line.pop_back();
}

}  // namespace uttsPortug
