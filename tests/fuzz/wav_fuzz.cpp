// TIRLA fuzz target: the WAV reader, on an image in memory and on a file. What it accepts
// must lie inside what it was given.
#include <cstdio>
#include <cstdlib>

#include "fuzz_support.h"
#include "platform/wav.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  platform::WavInfo image;
  if (platform::ReadWavImage(data, size, image) &&
      (image.dataOffset > size || image.dataSize > size - image.dataOffset))
    std::abort();
  if (size == 0) return 0;  // fmemopen refuses an empty buffer
  FILE* file = fmemopen(const_cast<uint8_t*>(data), size, "rb");
  if (!file) return 0;
  platform::WavInfo info;
  if (platform::ReadWavFile(file, info) && info.dataOffset > size) std::abort();
  std::fclose(file);
  return 0;
}
