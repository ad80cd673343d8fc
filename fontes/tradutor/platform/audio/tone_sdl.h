// TIRLA: tones and the warning beep on the sound device, for the backends that play them.
#pragma once
#include <string_view>

#include "platform/tone.h"

namespace platform {

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

}  // namespace platform
