// TIRLA: writing a unit database: the .DIF holds the units' 8-bit samples one after the
// other; the .IND holds one 15-byte entry per unit (name length, 8 name bytes, 16-bit length,
// 32-bit offset, little-endian), sorted by name byte by byte with prefixes first.
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace unitfiles {

// Units by name (upper case, at most 8 bytes; a std::map keeps them in the index's order).
using Units = std::map<std::string, std::vector<uint8_t>>;

// Writes `base`.IND and `base`.DIF; false (with the reason in `error`) when a name or a unit
// does not fit its field or a file cannot be written.
bool WriteUnitFiles(const std::string& base, const Units& units, std::string& error);

// Reads `base`.IND and `base`.DIF back; false (with the reason in `error`) when either cannot
// be read or an entry points past the data.
bool ReadUnitFiles(const std::string& base, Units& units, std::string& error);

}  // namespace unitfiles
