// TIRLA: WAV sound: one strict reader (for in-memory images and for files) and one writer.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace platform {

// Size of the header WriteWavHeader writes.
constexpr size_t kWavHeaderSize = 44;

// What the reader found: the PCM format and where the samples are.
struct WavInfo {
  int channels = 0;         // 1 or 2
  int rate = 0;             // samples per second, above 0
  int bits = 0;             // 8 (unsigned) or 16 (signed little-endian)
  uint64_t dataOffset = 0;  // first sample byte, from the start of the image or file
  uint64_t dataSize = 0;    // sample bytes (an image's cut to what it holds)
};

// Reads a RIFF/WAVE image: chunk names without regard to case, chunks stepped over with their
// pad byte, a "fmt " chunk of integer PCM (8 or 16 bits, 1 or 2 channels, a rate) before the
// "data" chunk. False for anything else: other encodings would play as noise.
bool ReadWavImage(const uint8_t* image, size_t size, WavInfo& info);

// The same for an open file, read from its current position; on success the file stands at
// the first sample byte. `dataSize` is what the data chunk says, whatever the file holds.
bool ReadWavFile(FILE* file, WavInfo& info);

// Writes the 44-byte PCM header for `dataSize` sample bytes at `destination`.
void WriteWavHeader(uint8_t* destination, int rate, int bits, int channels, uint32_t dataSize);

// A whole WAV image: the header and `samples`.
std::string MakeWavImage(int rate, int bits, int channels, std::string_view samples);

}  // namespace platform
