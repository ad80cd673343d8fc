// TIRLA: in-memory WAV images played through the sound device (tones and the warning beep).
#pragma once
#include <string>
#include <string_view>

namespace platform {

// Short sounds as the console plays them. A null entry stays silent.
struct Tone {
  // Plays a WAV image asynchronously, looping if `loop`; the image is copied. An empty image
  // stops what plays.
  void (*Play)(std::string_view wav_image, bool loop) = nullptr;
  // The short warning sound.
  void (*Beep)() = nullptr;
};

// PlayWavImage and PlayBeep as a table.
const Tone& SdlTone();

// Plays a PCM WAV image (8 or 16 bits, mono or stereo) asynchronously, looping if `loop`;
// the image is copied. An empty or unreadable image stops what plays. When the sound device
// cannot be opened the reason is written once to standard error.
void PlayWavImage(std::string_view image, bool loop);

// The short warning beep (880 Hz for a tenth of a second).
void PlayBeep();

// Whether the sound device could not be opened (the tones are then silent).
bool ToneDeviceFailed();

// An 8-bit 11025 Hz square wave of `frequency` Hz lasting `ms` milliseconds, as a WAV image.
std::string SquareWaveImage(int frequency, int ms);

}  // namespace platform
