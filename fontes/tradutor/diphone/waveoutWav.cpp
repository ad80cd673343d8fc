// TIRLA: playing WAV files through the wave output.
#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include "diphone/waveout.h"
#include "platform/codepage.h"
#include "platform/messages.h"
#include "platform/wav.h"

namespace waveout {
namespace {

constexpr size_t kOddPieceLow = 65535;      // a remainder in this range ...
constexpr size_t kOddPieceHigh = 65789;
constexpr size_t kOddPiece = 65278;         // ... is cut here, so the last piece is not tiny
constexpr int kEndPollMs = 10;              // wait for the end of the sound

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

}  // namespace

int PlayWavFile(const std::string& name) {
  WaveFlags& flags = Flags();
  if (StopWanted()) return 0;
  File f = OpenForReading(name);
  if (!f) return -1;
  platform::WavInfo info;
  const bool readable = platform::ReadWavFile(f.get(), info);
  int result = readable ? 0 : -1;
  uint64_t remaining = readable ? info.dataSize : 0;
  std::vector<uint8_t> buffer(kBufferSize);
  while (remaining > 0 && result == 0) {
    if (StopWanted()) break;
    size_t piece = static_cast<size_t>(std::min<uint64_t>(remaining, kBufferSize));
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
    while (WavePlaying()) platform::WaitMessages(kEndPollMs);  // a key or the end wakes it
  return result;
}

}  // namespace waveout
