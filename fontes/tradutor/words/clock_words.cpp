// TIRLA: the time of day and the date, spoken from recorded words.
#include <array>

#include "platform/clock.h"
#include "words/words.h"
#include "words/words_state.h"

namespace words {
namespace {

constexpr std::array<const char*, 7> kWeekdays = {"_Domingo", "_Segunda", "_Terca", "_Quarta",
                                                  "_Quinta",  "_Sexta",   "_Sabado"};
// The months' recordings: "_" and the first seven letters of the name.
constexpr std::array<const char*, 12> kMonths = {"_Janeiro", "_Feverei", "_Marco",   "_Abril",
                                                 "_Maio",    "_Junho",   "_Julho",   "_Agosto",
                                                 "_Setembr", "_Outubro", "_Novembr", "_Dezembr"};

}  // namespace

void SpeakTimeOf(int hour, int minute) {
  SpeakWords(NumberToWords(static_cast<uint32_t>(hour)), true);
  PlayWord(hour < 2 ? "_hora" : "_horas");
  if (minute == 0) return;
  SpeakWords(NumberToWords(static_cast<uint32_t>(minute)), false);
  PlayWord(minute < 2 ? "_minuto" : "_minutos");
}

void SpeakDateOf(int year, int month, int day) {
  if (month < 1 || month > 12) return;
  PlayWord(kWeekdays[platform::WeekdayOf(year, month, day)]);
  if (day == 1)
    PlayWord("_primeir");
  else
    SpeakWords(NumberToWords(static_cast<uint32_t>(day)), false);
  PlayWord("_de");
  PlayWord(kMonths[month - 1]);
  PlayWord("_de");
  // Years from 2000 on are read whole ("dois mil e cem" for 2100, never "dois mil e" alone);
  // earlier ones by their last two digits, as people say "noventa e nove", unless those are
  // 00 and would say nothing.
  const bool whole = year >= 2000 || year % 100 == 0;
  SpeakWords(NumberToWords(static_cast<uint32_t>(whole ? year : year % 100)), false);
}

void SpeakTime() {
  const platform::LocalTime now = platform::LocalTimeNow();
  SpeakTimeOf(now.hour, now.minute);
}

void SpeakDate() {
  const platform::LocalTime now = platform::LocalTimeNow();
  SpeakDateOf(now.year, now.month, now.day);
}

}  // namespace words
