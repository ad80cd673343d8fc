// TIRLA: WAV reading and writing.
#include "platform/wav.h"

#include <strings.h>

#include <algorithm>
#include <cstring>

namespace platform {
namespace {

constexpr uint16_t kPcmTag = 1;
constexpr uint32_t kFmtValues = 16;  // tag, channels, rate, byte rate, align, bits

uint32_t Le32(const uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

void Put16(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}
void Put32(uint8_t* p, uint32_t v) {
  Put16(p, v);
  Put16(p + 2, v >> 16);
}

bool SameId(const uint8_t* p, const char* id) {
  return strncasecmp(reinterpret_cast<const char*>(p), id, 4) == 0;
}

// Where the chunk walk reads from: an image in memory or a file.
struct Source {
  virtual ~Source() = default;
  // Reads exactly n bytes; false at the end.
  virtual bool Read(uint8_t* into, size_t n) = 0;
  // Steps over n bytes; false past the end.
  virtual bool Skip(uint64_t n) = 0;
  uint64_t at = 0;  // bytes consumed so far
};

struct ImageSource final : Source {
  const uint8_t* image;
  size_t size;
  ImageSource(const uint8_t* i, size_t s) : image(i), size(s) {}
  bool Read(uint8_t* into, size_t n) override {
    if (size - at < n) return false;
    std::memcpy(into, image + at, n);
    at += n;
    return true;
  }
  bool Skip(uint64_t n) override {
    if (size - at < n) return false;
    at += n;
    return true;
  }
};

struct FileSource final : Source {
  FILE* file;
  explicit FileSource(FILE* f) : file(f) {}
  bool Read(uint8_t* into, size_t n) override {
    if (fread(into, 1, n, file) != n) return false;
    at += n;
    return true;
  }
  bool Skip(uint64_t n) override {
    for (uint64_t left = n; left > 0;) {
      const long step = static_cast<long>(std::min<uint64_t>(left, 1u << 30));
      if (fseek(file, step, SEEK_CUR) != 0) return false;
      left -= static_cast<uint64_t>(step);
    }
    at += n;
    return true;
  }
};

bool TakeFormat(const uint8_t* fmt, WavInfo& info) {
  if (Le16(fmt) != kPcmTag) return false;
  info.channels = Le16(fmt + 2);
  info.rate = static_cast<int>(Le32(fmt + 4));
  info.bits = Le16(fmt + 14);
  return (info.channels == 1 || info.channels == 2) && info.rate > 0 &&
         (info.bits == 8 || info.bits == 16);
}

// Walks the chunks up to the data; the source then stands at the first sample byte.
bool Walk(Source& source, WavInfo& info) {
  uint8_t head[12], chunk[8], fmt[kFmtValues];
  if (!source.Read(head, sizeof head) || !SameId(head, "RIFF") || !SameId(head + 8, "WAVE"))
    return false;
  bool haveFormat = false;
  for (;;) {
    if (!source.Read(chunk, sizeof chunk)) return false;
    const uint32_t size = Le32(chunk + 4);
    if (SameId(chunk, "data")) {
      if (!haveFormat) return false;
      info.dataOffset = source.at;
      info.dataSize = size;
      return true;
    }
    uint64_t rest = uint64_t{size} + (size & 1);
    if (SameId(chunk, "fmt ")) {
      if (size < kFmtValues || !source.Read(fmt, kFmtValues) || !TakeFormat(fmt, info))
        return false;
      haveFormat = true;
      rest -= kFmtValues;
    }
    if (!source.Skip(rest)) return false;
  }
}

}  // namespace

bool ReadWavImage(const uint8_t* image, size_t size, WavInfo& info) {
  if (!image) return false;
  ImageSource source(image, size);
  if (!Walk(source, info)) return false;
  info.dataSize = std::min<uint64_t>(info.dataSize, size - info.dataOffset);
  return true;
}

bool ReadWavFile(FILE* file, WavInfo& info) {
  if (!file) return false;
  FileSource source(file);
  return Walk(source, info);
}

void WriteWavHeader(uint8_t* destination, int rate, int bits, int channels, uint32_t dataSize) {
  const uint32_t align = static_cast<uint32_t>(channels * (bits / 8));
  uint8_t* p = destination;
  std::memcpy(p, "RIFF", 4);
  Put32(p + 4, dataSize + 36);
  std::memcpy(p + 8, "WAVEfmt ", 8);
  Put32(p + 16, kFmtValues);
  Put16(p + 20, kPcmTag);
  Put16(p + 22, static_cast<uint32_t>(channels));
  Put32(p + 24, static_cast<uint32_t>(rate));
  Put32(p + 28, static_cast<uint32_t>(rate) * align);
  Put16(p + 32, align);
  Put16(p + 34, static_cast<uint32_t>(bits));
  std::memcpy(p + 36, "data", 4);
  Put32(p + 40, dataSize);
}

std::string MakeWavImage(int rate, int bits, int channels, std::string_view samples) {
  std::string image(kWavHeaderSize, '\0');
  WriteWavHeader(reinterpret_cast<uint8_t*>(image.data()), rate, bits, channels,
                 static_cast<uint32_t>(samples.size()));
  image.append(samples);
  return image;
}

}  // namespace platform
