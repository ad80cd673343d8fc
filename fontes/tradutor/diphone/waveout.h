// TIRLA: the wave output: every sound of the program is queued here on the sound device, in
// up to four buffers, from raw PCM blocks, in-memory WAV images or WAV files.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/speech.h"
#include "platform/stop.h"

namespace waveout {

// Size of each device buffer and of the file buffer, in bytes.
constexpr size_t kBufferSize = 65534;
// Shortest block handed to the device, in bytes.
constexpr size_t kMinBlock = 256;

// Options set by the front-end and the engines.
struct WaveFlags {
  bool StopOnKey = true;     // a waiting key (the stop token) stops playback
  bool NoWait = false;       // PlayWavFile returns without waiting for the end of the sound
  bool FastRate = false;     // play at 1.5 times the sample rate
  bool CompactMode = false;  // compact mono sound (CompactSpeech), played as 8-bit
};

// Puts the module in its start state: flags as above, nothing queued, device closed, no
// stop token.
void StartWaveOut();

// What "a key is waiting" means for StopOnKey: the front-end passes the console's key test;
// without a token nothing stops playback early.
void SetStopToken(const platform::StopToken& token);

// The options, to read and to set.
WaveFlags& Flags();

// Whether StopOnKey is set and the stop token asks to stop (device errors pending are told
// first).
bool StopWanted();

// Buffers queued on the device and not yet returned by it.
int QueuedCount();

// Plays raw PCM (8-bit unsigned or 16-bit signed little-endian). 0 on success, also when a
// key stopped it; otherwise the device's open error. Returns once the last piece is queued.
int PlayPcm(const uint8_t* samples, size_t length, int rate, int channels, int bits);

// A sink for an engine's 16-bit mono samples: played as they come, without FastRate or
// CompactMode, which are meant for the built-in 8-bit sounds.
platform::AudioSink EngineSink();

// Plays the data of a WAV image (see platform/wav.h) with its fmt values; the samples are
// copied, so the caller may reuse the image at once. 0, −1 for an image that cannot be read,
// or the device's error.
int PlayWavImage(const uint8_t* image, size_t size);

// Plays a WAV file and, unless NoWait, waits for its end. 0 played or stopped, −1 missing,
// not a WAV file or unreadable (also a file shorter than its chunks say), otherwise the
// device's open error.
int PlayWavFile(const std::string& name);

// True while buffers are queued; pumps the messages first, and stops playback (closing the
// device) when nothing is queued or when StopOnKey is set and a key is waiting.
bool WavePlaying();

// Stops at once and closes the device.
void WaveStop();

// The device finished one buffer: the handler of the block-done message, run on the main
// thread by the message pump (`device` is the device's status for the block, `header` the
// buffer number 1 to 4). Releases the buffer; a device error is kept and told, with a wait
// for the user's answer, by the next wave output call outside the pump.
void WaveBlockDone(intptr_t window, intptr_t device, intptr_t header);

// Compacts mono speech in place: 16-bit samples first become 8-bit, then of each two pitch
// periods the first is dropped. Returns the new byte count (unchanged below 1000 samples).
size_t CompactSpeech(uint8_t* bytes, size_t n, int bits, int rate);

// Opens the device for sound of this format ahead of the first sound, and keeps it paused: a
// program that speaks text as it arrives should not spend the first line's time opening it.
// Quiet on failure: the first sound tries again and tells why.
void PrepareDevice(int rate, int bits, int channels);

// Result of the last attempt to open the device: 0, or the open error (reported once).
int LastOpenError();

// The message shown for an unprepare error code, or "" for codes without one.
const char* DeviceErrorMessage(int code);

}  // namespace waveout
