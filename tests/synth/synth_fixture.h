// TIRLA: a small unit database written by the test: each unit is one byte value repeated, so
// what the synthesizer plays reads back as a trace of unit names and lengths.
#pragma once
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "diphone/synth.h"
#include "diphone/translator.h"
#include "support/test_kit.h"

namespace synth_test {

namespace fs = std::filesystem;

// A unit of the fake database: its name as stored, length and the byte it repeats.
struct FakeUnit {
  std::string name;
  uint16_t length;
  uint8_t value;
};

// Unit values stay clear of silence and of the noise band 88..167.
inline const std::vector<FakeUnit> kUnits = {
    {"$A", 250, 10},        {"$AWTIL", 600, 20}, {"$AY", 320, 30},     {"$BOCIRC", 420, 40},
    {"$ECIRC", 260, 50},    {"$KA", 700, 60},    {"$KAZA", 800, 70},   {"$KAZAZAZ", 900, 80},
    {"$MACIRC", 500, 170},  {"$NN", 110, 180},   {"$PA", 300, 190},    {"$RA", 400, 200},
    {"$S", 350, 210},       {"$T", 300, 220},    {"$TCH", 230, 230},   {"$TCHI", 540, 240},
    {"$Z", 200, 250},       {"$ZA", 450, 5},
};

// Recorded sounds of the letters folder: name, samples, value.
struct FakeSound {
  std::string name;
  uint16_t length;
  uint8_t value;
};
inline const std::vector<FakeSound> kSounds = {{"_44", 120, 15}, {"_TRACO", 90, 25}, {"_97", 60, 35}};

inline std::string Le(uint64_t v, int bytes) {
  std::string s;
  for (int i = 0; i < bytes; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
  return s;
}

// One 15-byte index entry.
inline std::string IndexEntry(const std::string& name, uint16_t length, uint32_t offset,
                              int nameLength = -1) {
  std::string e = Le(static_cast<uint64_t>(nameLength < 0 ? name.size() : nameLength), 1);
  e += name.substr(0, 8);
  e.append(8 - std::min<size_t>(name.size(), 8), ' ');
  return e + Le(length, 2) + Le(offset, 4);
}

// An 8-bit mono 11025 Hz WAV image whose data chunk claims `claimed` bytes (-1: what it holds).
inline std::string Wav8(const std::string& data, int bits = 8, int64_t claimed = -1) {
  const int align = bits / 8;
  std::string fmt = Le(1, 2) + Le(1, 2) + Le(11025, 4) + Le(11025 * align, 4) + Le(align, 2) + Le(bits, 2);
  std::string body = "WAVEfmt " + Le(16, 4) + fmt + "data" +
                     Le(claimed < 0 ? data.size() : static_cast<uint64_t>(claimed), 4) + data;
  return "RIFF" + Le(body.size(), 4) + body;
}

class SynthTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = support::TestScratch();
    units_ = dir_ / "difones";
    letters_ = dir_ / "letras";
    fs::create_directories(units_);
    fs::create_directories(letters_);
    for (const char* file : {translator::kRulesFileName, translator::kExceptionsFileName})
      fs::copy_file(fs::path(TIRLA_SOURCE_DIR) / "data/diphone" / file, units_ / file);
    std::ofstream(dir_ / "TOLVAN.INI") << "[TRADUTOR]\nDIRDIFONES=" << units_.string()
                                       << "\ndirLetras=" << letters_.string() << "\n";
    const char* windir = getenv("TOLVAN_WINDIR");
    savedWindir_ = windir ? windir : "";
    setenv("TOLVAN_WINDIR", dir_.c_str(), 1);
    WriteDatabase(kUnits);
    for (const FakeSound& s : kSounds)
      Write(letters_ / (s.name + ".wav"), Wav8(std::string(s.length, static_cast<char>(s.value))));
    synth::StartSynth();
    synth::SetUnitBaseName("TESTE");
    synth::SetSoundHooks({.MakeWaveHeader = nullptr, .PlayWaveBuffer = Keep, .IsSpeaking = nullptr});
    images().clear();
  }

  void TearDown() override {
    synth::StartSynth();
    setenv("TOLVAN_WINDIR", savedWindir_.c_str(), 1);
  }

  static void Write(const fs::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
  }

  // TESTE.IND and TESTE.DIF holding `units` (sorted by the caller's order of names).
  void WriteDatabase(std::vector<FakeUnit> units, const std::string& extraIndex = "") {
    std::sort(units.begin(), units.end(), [](const FakeUnit& a, const FakeUnit& b) { return a.name < b.name; });
    std::string index, data;
    for (const FakeUnit& u : units) {
      index += IndexEntry(u.name, u.length, static_cast<uint32_t>(data.size()));
      data.append(u.length, static_cast<char>(u.value));
    }
    Write(units_ / "TESTE.IND", index + extraIndex);
    Write(units_ / "TESTE.DIF", data);
  }

  // The played images' samples as "NAME:count" runs; "~" silence, "*" noise. A unit cut short
  // fades out towards silence: the samples of its fade count with it, and a unit that is all
  // fade is named after the nearest unit value beyond its first sample.
  static std::string Trace() {
    std::map<uint8_t, std::string> names;
    for (const FakeUnit& u : kUnits) names[u.value] = u.name;
    for (const FakeSound& s : kSounds) names[s.value] = s.name;
    const auto away = [](uint8_t v) { return std::abs(v - 128); };
    const auto sameSide = [](uint8_t a, uint8_t b) { return (a < 128) == (b < 128) && a != 128 && b != 128; };
    std::string trace;
    const std::vector<uint8_t> all = Heard();
    for (size_t i = 0; i < all.size();) {
      auto label = [&](uint8_t v) -> std::string {
        if (names.count(v)) return names[v];
        if (v < 88 || v > 167) {
          for (int d = 1; d < 128; ++d)  // a faded unit's first sample
            if (const int u = v < 128 ? v - d : v + d; u >= 0 && u <= 255 && names.count(static_cast<uint8_t>(u)))
              return names[static_cast<uint8_t>(u)];
          return "?" + std::to_string(v);
        }
        return v == 128 ? "~" : "*";
      };
      std::string name = label(all[i]);
      const bool unit = name != "~" && name != "*";
      size_t j = i + 1;
      bool noise = name == "*";
      while (j < all.size()) {
        const uint8_t v = all[j], before = all[j - 1];
        const std::string l = label(v);
        const bool band = l == "~" || l == "*";
        // a fade may pass another unit's value, but only for a sample: a unit holds its value
        const bool passing = !names.count(v) || (j + 1 < all.size() && all[j + 1] != v);
        const bool fading = unit && passing && sameSide(v, before) && away(v) <= away(before);
        if (!(l == name || fading || (band && (name == "~" || name == "*")))) break;
        noise = noise || (!fading && l == "*");
        ++j;
      }
      if (noise) name = "*";
      trace += (trace.empty() ? "" : " ") + name + ":" + std::to_string(j - i);
      i = j;
    }
    return trace;
  }

  // Every sample played, in order.
  static std::vector<uint8_t> Heard() {
    std::vector<uint8_t> all;
    for (const std::vector<uint8_t>& image : images()) all.insert(all.end(), image.begin() + 44, image.end());
    return all;
  }

  static std::vector<std::vector<uint8_t>>& images() {
    static std::vector<std::vector<uint8_t>> played;
    return played;
  }

  static void Keep(const uint8_t* image, size_t size) { images().emplace_back(image, image + size); }

  fs::path dir_, units_, letters_;
  std::string savedWindir_;
};

}  // namespace synth_test
