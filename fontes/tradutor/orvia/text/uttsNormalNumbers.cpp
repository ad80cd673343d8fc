// TIRLA: ORVIA normalisation of numbers with a meaning: money, dates, times, and numbers
// followed by a unit. Amounts, days and years stay in digits for the preprocessing to read.
#include <string>

#include "orvia/text/uttsNormalParts.h"
#include "orvia/text/uttsPreprocParts.h"

namespace uttsNormal {
namespace {

constexpr std::uint64_t kMillion = 1000000;
constexpr int kLastDay = 31, kLastHour = 23, kLastMinute = 59;
constexpr size_t kCentDigits = 2;

bool At(std::string_view text, size_t pos, char c) { return pos < text.size() && text[pos] == c; }

// Whether a number ends at pos: no digit, letter, or a separator followed by a digit there.
bool EndsHere(std::string_view text, size_t pos) {
  if (IsDigitAt(text, pos) || IsLetterAt(text, pos)) return false;
  const bool separator = At(text, pos, '/') || At(text, pos, ':') || At(text, pos, '-');
  return !(separator && IsDigitAt(text, pos + 1));
}

// An amount: digits with "." between groups of three, then "," and one or two digits for the
// cents. Its whole part, its cents (-1 when none), and where it ends.
struct Amount {
  std::uint64_t whole = 0;
  int cents = -1;
  size_t end = 0;
};

bool ReadAmount(std::string_view text, size_t pos, Amount& a) {
  std::uint64_t part = 0;
  size_t n = ReadDigits(text, pos, part);
  if (n == 0) return false;
  a.whole = part;
  pos += n;
  while (At(text, pos, '.') && ReadDigits(text, pos + 1, part) == 3 && !IsDigitAt(text, pos + 4)) {
    a.whole = a.whole * 1000 + part;
    pos += 4;
  }
  a.cents = -1;
  if (At(text, pos, ',') && IsDigitAt(text, pos + 1)) {
    n = ReadDigits(text, pos + 1, part);
    if (n > kCentDigits) return false;  // a decimal number, not money
    a.cents = static_cast<int>(n == 1 ? part * 10 : part);
    pos += 1 + n;
  }
  a.end = pos;
  return true;
}

// The scale word that may follow an amount ("2 milhões de reais").
size_t ScaleWordAt(std::string_view text, size_t pos) {
  for (std::string_view word : {"mil", "milh\xE3o", "milh\xF5" "es", "bilh\xE3o", "bilh\xF5" "es"}) {
    if (text.substr(pos).starts_with(word) && !IsLetterAt(text, pos + word.size()))
      return word.size();
  }
  return 0;
}

// Writes an amount of a currency: "1234 reais e 56 centavos", "2 milhões de reais".
void WriteMoney(Walk& w, const Amount& a, const Currency& money, std::string_view scale) {
  const bool wholeShown = a.whole != 0 || a.cents <= 0;
  if (wholeShown) {
    w.out += std::to_string(a.whole);
    if (!scale.empty()) {
      w.out += ' ';
      w.out += scale;
      w.out += " de ";
      w.out += money.whole.plural;
    } else {
      const bool millions = a.whole >= kMillion && a.whole % kMillion == 0;
      w.out += millions ? " de " : " ";
      w.out += UnitWord(money.whole, a.whole == 1);
    }
  }
  if (a.cents > 0 && scale.empty()) {
    if (wholeShown) w.out += " e ";
    w.out += std::to_string(a.cents);
    w.out += ' ';
    w.out += UnitWord(money.cent, a.cents == 1);
  }
}

// The currency whose sign stands at pos, or none.
const Currency* CurrencyAt(std::string_view text, size_t pos) {
  if (pos >= text.size() || !T().currencyStart[static_cast<unsigned char>(text[pos])]) return nullptr;
  for (const Currency& c : T().currencies)
    if (text.substr(pos).starts_with(c.sign)) return &c;
  return nullptr;
}

// An amount at pos, its scale word and the words of a currency; advances past them.
bool AmountWithCurrency(Walk& w, size_t pos, const Currency& money) {
  Amount a;
  if (!ReadAmount(w.text, pos, a)) return false;
  size_t end = a.end;
  std::string_view scale;
  if (At(w.text, end, ' ')) {
    if (size_t n = ScaleWordAt(w.text, end + 1)) {
      scale = w.text.substr(end + 1, n);
      end += 1 + n;
    }
  }
  if (!EndsHere(w.text, end)) return false;
  if (!scale.empty() && a.cents > 0) {  // "R$ 1,5 milhão": a decimal comma, read as written
    w.out.append(w.text, pos, a.end - pos);
    w.out += ' ';
    w.out += scale;
    w.out += " de ";
    w.out += money.whole.plural;
  } else {
    WriteMoney(w, a, money, scale);
  }
  w.pos = end;
  return true;
}

// The words of a time: "catorze horas e 30 minutos".
void WriteTime(Walk& w, std::uint64_t hours, int minutes, int seconds) {
  const auto& units = T().units;
  auto hour = units.find("h"), minute = units.find("min"), second = units.find("s");
  w.out += CardinalFor(hours, true);
  w.out += ' ';
  w.out += UnitWord(hour->second, hours <= 1);
  if (minutes > 0) {
    w.out += " e " + std::to_string(minutes) + ' ' + UnitWord(minute->second, minutes == 1);
  }
  if (seconds > 0) {
    w.out += " e " + std::to_string(seconds) + ' ' + UnitWord(second->second, seconds == 1);
  }
}

// Two digits of minutes or seconds at pos (00..59); -1 when not there.
int TwoDigits(std::string_view text, size_t pos) {
  std::uint64_t v = 0;
  if (ReadDigits(text, pos, v) != 2 || v > kLastMinute) return -1;
  return static_cast<int>(v);
}

}  // namespace

bool Money(Walk& w) {
  const std::string_view text = w.text;
  if (const Currency* money = CurrencyAt(text, w.pos)) {  // sign first: "R$ 10"
    size_t pos = w.pos + money->sign.size();
    if (At(text, pos, ' ')) ++pos;
    return IsDigitAt(text, pos) && AmountWithCurrency(w, pos, *money);
  }
  if (!IsDigitAt(text, w.pos)) return false;
  Amount a;  // amount first: "20 €"
  if (!ReadAmount(text, w.pos, a)) return false;
  size_t pos = a.end + (At(text, a.end, ' ') ? 1 : 0);
  const Currency* money = CurrencyAt(text, pos);
  if (!money || IsLetterAt(text, pos + money->sign.size())) return false;
  WriteMoney(w, a, *money, {});
  w.pos = pos + money->sign.size();
  return true;
}

bool Date(Walk& w) {
  const std::string_view text = w.text;
  const Tables& t = T();
  std::uint64_t first = 0, second = 0, year = 0;
  size_t n1 = ReadDigits(text, w.pos, first), pos = w.pos + n1;
  std::uint64_t day = 0, month = 0;
  size_t yearDigits = 0, end = 0;
  if (n1 == 4 && At(text, pos, '-')) {  // 2026-10-05
    size_t n2 = ReadDigits(text, pos + 1, second);
    std::uint64_t third = 0;
    if (n2 != 2 || !At(text, pos + 3, '-') || ReadDigits(text, pos + 4, third) != 2) return false;
    year = first, month = second, day = third, yearDigits = 4, end = pos + 6;
  } else if (n1 >= 1 && n1 <= 2 && At(text, pos, '/')) {  // 05/10/2026, 5/10/26, 05/10
    size_t n2 = ReadDigits(text, pos + 1, second);
    if (n2 < 1 || n2 > 2) return false;
    day = first, month = second, end = pos + 1 + n2;
    if (At(text, end, '/') && IsDigitAt(text, end + 1)) {
      yearDigits = ReadDigits(text, end + 1, year);
      if (yearDigits != 2 && yearDigits != 4) return false;
      end += 1 + yearDigits;
    } else if (n1 != 2 || n2 != 2) {
      return false;  // "1/2" is a fraction
    }
  } else {
    return false;
  }
  if (day < 1 || day > kLastDay || month < 1 || month > t.months.size() || !EndsHere(text, end))
    return false;
  if (t.months[month - 1].empty()) return false;
  w.out += day == 1 ? uttsPreproc::OrdinalWords(1, uttsPreproc::Gender::Masculine)
                    : std::to_string(day);
  w.out += " de ";
  w.out += t.months[month - 1];
  if (yearDigits > 0) {
    w.out += " de ";
    w.out += std::to_string(year);
  }
  w.pos = end;
  return true;
}

bool Time(Walk& w) {
  const std::string_view text = w.text;
  const auto& units = T().units;
  if (!units.contains("h") || !units.contains("min") || !units.contains("s")) return false;
  std::uint64_t hours = 0;
  size_t n = ReadDigits(text, w.pos, hours), pos = w.pos + n;
  if (n < 1 || n > 2 || hours > kLastHour) return false;
  int minutes = 0, seconds = 0;
  if (At(text, pos, 'h')) {  // 14h, 14h30, 14h30min
    ++pos;
    if (IsDigitAt(text, pos)) {
      minutes = TwoDigits(text, pos);
      if (minutes < 0) return false;
      pos += 2;
      if (text.substr(pos).starts_with("min")) pos += 3;
    }
  } else if (At(text, pos, ':')) {  // 14:30, 14:30:15
    minutes = TwoDigits(text, pos + 1);
    if (minutes < 0) return false;
    pos += 3;
    if (At(text, pos, ':')) {
      seconds = TwoDigits(text, pos + 1);
      if (seconds < 0) return false;
      pos += 3;
    }
  } else {
    return false;
  }
  if (!EndsHere(text, pos)) return false;
  WriteTime(w, hours, minutes, seconds);
  w.pos = pos;
  return true;
}

bool NumberAndUnit(Walk& w) {
  const std::string_view text = w.text;
  const Tables& t = T();
  Amount a;
  if (!ReadAmount(text, w.pos, a)) {
    return false;
  }
  size_t end = a.end;
  // A decimal part of more than two digits: the whole number as written.
  while (IsDigitAt(text, end) || (At(text, end, ',') && IsDigitAt(text, end + 1))) ++end;
  size_t pos = end + (At(text, end, ' ') ? 1 : 0);
  // The longest sign that stands there and ends before a letter or digit.
  for (size_t length = std::min(t.longestUnit, text.size() - pos); length > 0; --length) {
    auto unit = t.units.find(std::string(text.substr(pos, length)));
    if (unit == t.units.end()) continue;
    const size_t after = pos + length;
    if (IsLetterAt(text, after) || IsDigitAt(text, after)) return false;
    const bool whole = end == a.end && a.cents < 0;
    const bool one = whole && a.whole == 1;
    if (unit->second.feminine && whole) w.out += CardinalFor(a.whole, true);
    else w.out.append(text, w.pos, end - w.pos);
    w.out += ' ';
    w.out += UnitWord(unit->second, one);
    w.pos = after;
    return true;
  }
  return false;
}

}  // namespace uttsNormal
