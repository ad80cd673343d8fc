// TIRLA: reading WAV images and WAV files for the wave output.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <strings.h>
#include <vector>

#include "console/keyboard.h"
#include "diphone/waveout.h"
#include "platform/codepage.h"

namespace waveout {
namespace {

constexpr size_t kFmtValues = 16;           // fmt bytes we read: tag .. bits per sample
constexpr size_t kOddPieceLow = 65535;      // a remainder in this range ...
constexpr size_t kOddPieceHigh = 65789;
constexpr size_t kOddPiece = 65278;         // ... is cut here, so the last piece is not tiny
constexpr uint16_t kEndPollMs = 10;         // wait for the end of the sound

uint32_t Le32(const uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

bool SameId(const uint8_t* p, const char* id) {
  return strncasecmp(reinterpret_cast<const char*>(p), id, 4) == 0;
}

void TakeFmt(const uint8_t* fmt, WavImageInfo& info) {
  info.channels = Le16(fmt + 2);
  info.rate = static_cast<int>(Le32(fmt + 4));
  info.bits = Le16(fmt + 14);
}

// The file buffer, allocated once.
std::vector<uint8_t>& FileBuffer() {
  static std::vector<uint8_t> buffer(kBufferSize);
  return buffer;
}

struct FileCloser {
  void operator()(FILE* f) const { fclose(f); }
};
using File = std::unique_ptr<FILE, FileCloser>;

// Opens a cp1252 name; names with accents are also tried in their UTF-8 form.
File OpenForReading(const std::string& name) {
  File f(fopen(name.c_str(), "rb"));
  if (!f) {
    const std::string utf8 = platform::Cp1252ToUtf8(name);
    if (utf8 != name) f.reset(fopen(utf8.c_str(), "rb"));
  }
  return f;
}

bool ReadExactly(FILE* f, uint8_t* into, size_t n) { return fread(into, 1, n, f) == n; }

// Steps over `n` bytes of the file without storing them; false past the end.
bool Skip(FILE* f, uint32_t n) {
  return n == 0 || fseek(f, static_cast<long>(n), SEEK_CUR) == 0;
}

// Reads the header of a WAV file up to the start of its data; -1 when it is not one.
long ReadWavHeader(FILE* f, WavImageInfo& info) {
  uint8_t head[12], chunk[8], fmt[kFmtValues];
  if (!ReadExactly(f, head, 12) || !SameId(head, "RIFF")) return -1;
  if (!ReadExactly(f, chunk, 8) || !SameId(chunk, "fmt ")) return -1;
  const uint32_t fmtSize = Le32(chunk + 4);
  if (fmtSize < kFmtValues || !ReadExactly(f, fmt, kFmtValues)) return -1;
  if (!Skip(f, fmtSize - kFmtValues)) return -1;
  TakeFmt(fmt, info);
  for (;;) {
    if (!ReadExactly(f, chunk, 8)) return -1;
    if (SameId(chunk, "data")) return static_cast<long>(Le32(chunk + 4));
    if (!Skip(f, Le32(chunk + 4))) return -1;
  }
}

}  // namespace

bool ParseWavImage(const uint8_t* image, size_t size, WavImageInfo& info) {
  if (!image || size < 20 + kFmtValues) return false;
  if (!SameId(image, "RIFF") || !SameId(image + 12, "fmt ")) return false;
  const uint64_t fmtSize = Le32(image + 16);
  if (fmtSize < kFmtValues || 20 + fmtSize > size) return false;
  TakeFmt(image + 20, info);
  uint64_t at = 20 + fmtSize;
  while (at + 8 <= size) {
    const uint64_t chunkSize = Le32(image + at + 4);
    if (SameId(image + at, "data")) {
      info.dataOffset = static_cast<size_t>(at + 8);
      info.dataSize = static_cast<size_t>(std::min<uint64_t>(chunkSize, size - (at + 8)));
      return true;
    }
    at += 8 + chunkSize;
  }
  return false;
}

int PlayWavFile(const std::string& name) {
  WaveFlags& flags = Flags();
  if (flags.StopOnKey && console::KeyWaiting()) return 0;
  File f = OpenForReading(name);
  if (!f) return -1;
  WavImageInfo info;
  const long dataSize = ReadWavHeader(f.get(), info);
  int result = dataSize < 0 ? -1 : 0;
  size_t remaining = dataSize < 0 ? 0 : static_cast<size_t>(dataSize);
  std::vector<uint8_t>& buffer = FileBuffer();
  while (remaining > 0 && result == 0) {
    if (flags.StopOnKey && console::KeyWaiting()) break;
    size_t piece = std::min(remaining, kBufferSize);
    if (remaining >= kOddPieceLow && remaining <= kOddPieceHigh) piece = kOddPiece;
    const size_t got = fread(buffer.data(), 1, piece, f.get());
    if (got == 0) {
      result = -1;
      break;
    }
    result = PlayPcm(buffer.data(), got, info.rate, info.channels, info.bits);
    remaining -= got;
  }
  f.reset();
  if (!flags.NoWait)
    while (WavePlaying()) console::Pause(kEndPollMs);
  return result;
}

}  // namespace waveout
