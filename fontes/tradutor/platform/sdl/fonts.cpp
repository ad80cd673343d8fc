// TIRLA: font files looked up with fontconfig.
#include "platform/sdl/fonts.h"

#include <fontconfig/fontconfig.h>
#include <strings.h>

#include <memory>

namespace platform {
namespace {

constexpr const char* kDefaultFace = "DejaVu Sans Mono";
constexpr int kDefaultWeight = 700;

// Fontconfig weight for a 100..900 weight.
int FcWeight(int weight) {
  if (weight <= 0) weight = 400;
  return static_cast<int>(FcWeightFromOpenTypeDouble(static_cast<double>(weight)));
}

// The best match for `face`; empty when fontconfig gives nothing or, with `exact`, a font of
// another family.
std::string Match(const std::string& face, int weight, bool exact) {
  if (!FcInit()) return {};
  std::unique_ptr<FcPattern, decltype(&FcPatternDestroy)> pattern(FcPatternCreate(),
                                                                 FcPatternDestroy);
  if (!pattern) return {};
  FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(face.c_str()));
  FcPatternAddInteger(pattern.get(), FC_WEIGHT, FcWeight(weight));
  FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
  FcDefaultSubstitute(pattern.get());
  FcResult result = FcResultNoMatch;
  std::unique_ptr<FcPattern, decltype(&FcPatternDestroy)> match(
      FcFontMatch(nullptr, pattern.get(), &result), FcPatternDestroy);
  if (!match) return {};
  FcChar8* family = nullptr;
  if (exact && (FcPatternGetString(match.get(), FC_FAMILY, 0, &family) != FcResultMatch ||
                strcasecmp(reinterpret_cast<const char*>(family), face.c_str()) != 0))
    return {};
  FcChar8* file = nullptr;
  if (FcPatternGetString(match.get(), FC_FILE, 0, &file) != FcResultMatch) return {};
  return reinterpret_cast<const char*>(file);
}

}  // namespace

std::string DefaultFontFile() { return Match(kDefaultFace, kDefaultWeight, true); }

std::string FindFontFile(const std::string& face_utf8, int weight) {
  if (!face_utf8.empty()) {
    std::string file = Match(face_utf8, weight, true);
    if (!file.empty()) return file;
  }
  return DefaultFontFile();
}

}  // namespace platform
