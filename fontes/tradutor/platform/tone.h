// TIRLA: short sounds as a table: in-memory WAV images (tones) and the warning beep.
#pragma once
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

}  // namespace platform
