// TIRLA: numbers, the time of day and the date, spoken by joining recordings of whole words
// kept in the letters folder ("_vinte.wav", "_horas.wav", "_Domingo.wav").
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace words {

// How the words reach the ear; the front-end fills it (an empty entry plays straight through
// the wave output and waits for the end).
struct WordsOutput {
  // Plays a WAV image (8-bit mono 11025 Hz) and returns once it has been heard.
  void (*PlayWaveBuffer)(uint8_t* image, size_t size) = nullptr;
  // Plays the recording "<letters folder>/<name>.wav" and returns at its end.
  void (*SpeakSoundFile)(std::string_view name) = nullptr;
};

// Start state: the recordings are looked for in `lettersFolder`, played through `output`.
void StartWords(const std::string& lettersFolder, const WordsOutput& output);

// Brazilian Portuguese words for 0..2147483647, blank-separated, maybe with a trailing blank:
// 21 "vinte e um", 1000 "mil ", 2005 "dois mil e cinco", 2340 "dois mil trezentos e quarenta".
std::string NumberToWords(uint32_t n);

// Speaks the words by joining their recordings ("_" + the word cut to 8 characters, ã and õ
// written a and o, "dezessete" as "dezeset"); with `feminine` a last "um" or "dois" is spoken
// "uma" or "duas". A missing recording is skipped. Returns once all has been heard.
void SpeakWords(std::string_view text, bool feminine);

// The recording name of one word (without the folder and ".wav").
std::string RecordingName(std::string_view word, bool feminine);

// The time of day and the date from the clock, and the same for a given time or date.
void SpeakTime();
void SpeakDate();
void SpeakTimeOf(int hour, int minute);
void SpeakDateOf(int year, int month, int day);

}  // namespace words
