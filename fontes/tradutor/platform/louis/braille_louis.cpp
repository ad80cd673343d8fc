// TIRLA: text into cells with liblouis, with the character each cell comes from, so that the
// cursor and the routing keys still find their character in contracted braille.
#include "platform/louis/braille_louis.h"

#include <algorithm>
#include <string>
#include <vector>

#include "platform/codepage.h"

#include <liblouis/liblouis.h>

namespace platform {
namespace {

constexpr int kBrailleBlock = 0x2800;  // Unicode braille patterns: the block plus the dots

bool Translate(std::string_view table, std::string_view text, BrailleCells* cells,
               std::string* error) {
  lou_setLogLevel(LOU_LOG_OFF);  // liblouis writes its complaints to standard error otherwise
  const std::string name(table);
  std::vector<widechar> in;
  for (const char ch : text)
    in.push_back(static_cast<widechar>(Cp1252ToCodePoint(static_cast<unsigned char>(ch))));
  cells->dots.clear();
  cells->character.clear();
  cells->first_cell.assign(in.size(), 0);
  if (in.empty()) return true;
  // Contractions shorten, but signs for capitals and numbers lengthen: room for the worst.
  for (size_t room = in.size() * 2 + 16; room <= in.size() * 16 + 64; room *= 2) {
    std::vector<widechar> out(room);
    std::vector<int> output_pos(in.size()), input_pos(room);
    int in_length = static_cast<int>(in.size()), out_length = static_cast<int>(room);
    if (!lou_translate(name.c_str(), in.data(), &in_length, out.data(), &out_length, nullptr,
                       nullptr, output_pos.data(), input_pos.data(), nullptr, dotsIO | ucBrl)) {
      if (error)
        *error = "a tabela braille \"" + Cp1252ToUtf8(name) +
                 "\" n\xC3\xA3o p\xC3\xB4" "de ser usada";
      return false;
    }
    if (in_length < static_cast<int>(in.size())) continue;  // the output was full
    for (int i = 0; i < out_length; ++i) {
      const widechar cell = out[i];
      const widechar dots = cell >= kBrailleBlock ? cell - kBrailleBlock : cell;
      cells->dots.push_back(static_cast<char>(dots & 0xFF));
      cells->character.push_back(std::clamp(input_pos[i], 0, static_cast<int>(in.size()) - 1));
    }
    for (size_t i = 0; i < in.size(); ++i)
      cells->first_cell[i] = std::clamp(output_pos[i], 0, std::max(out_length - 1, 0));
    return true;
  }
  if (error) *error = "a linha \xC3\xA9 longa demais para a tabela braille";
  return false;
}

constexpr BrailleTranslator kLouis = {.Translate = Translate};

}  // namespace

const BrailleTranslator& LouisBrailleTranslator() { return kLouis; }

}  // namespace platform
