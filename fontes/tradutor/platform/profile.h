// TIRLA: profile (INI) files, read with the rules users of such files expect.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The files the profile name `file` stands for, in the order they are read: a path stands for
// itself; a bare file name for the user's (in UserConfigDirectory()) and then the
// environment-wide one (in WindowsDirectory()), its case ignored in each. A key is taken from
// the first file that holds it, so a user's file need hold only what the user changes.
std::vector<std::string> ProfileLayers(const std::string& file);

// Value of `key` in `[section]` of the profile file `file` (read through its layers). Sections and keys match without regard to case and
// the first match wins; blanks around the value and one pair of surrounding quotes are
// removed; lines starting with ';' are comments. A missing file, section or key gives
// `fallback`; so does a file that is there but cannot be read (a folder, no permission), which
// is reported once. The result is cut to `size` - 1 bytes, like a C buffer of `size` bytes
// (size 0 gives the empty string).
std::string GetProfileString(std::string_view section, std::string_view key,
                             std::string_view fallback, size_t size, const std::string& file);

// Whether `key` is present in `[section]` (its value may be empty).
bool ProfileHasKey(std::string_view section, std::string_view key, const std::string& file);

// The environment-wide path of `file` (its last layer).
std::string ProfilePath(const std::string& file);

// Whether some layer of `file` is there to be read.
bool ProfileExists(const std::string& file);

// The layer the value of `key` comes from; "" when no layer holds it.
std::string ProfileValueFile(std::string_view section, std::string_view key,
                             const std::string& file);

// One row of the table of number keys: the range a value must be in to be used.
struct NumberRange {
  const char* section;
  const char* key;  // a trailing '#' stands for one digit (the speed level keys INTERPAL1..9)
  int64_t lowest;
  int64_t highest;
};

// Every number key of TOLVAN.INI with its range; the shipped file documents each one.
const std::vector<NumberRange>& NumberRanges();

// The row for `key` of `[section]`, or null when the key has none.
const NumberRange* FindNumberRange(std::string_view section, std::string_view key);

// Whether `value`, read from `key` of `[section]` of `file`, is in the key's range (a key
// with no row takes any number). One outside is reported once, naming the layer it came
// from, the section, key, value and range, then `outcome` ("vale o padr\xE3o 0").
bool NumberInRange(std::string_view section, std::string_view key, int64_t value,
                   std::string_view outcome, const std::string& file);

// Reports once (per layer, key and value) that `key` of `[section]` of `file` holds `value`,
// which is not `wanted` ("um n\xFAmero inteiro"), then `outcome`. An empty value is no fault.
void TellBadValue(std::string_view section, std::string_view key, std::string_view value,
                  std::string_view wanted, std::string_view outcome, const std::string& file);

// Forgets which faults were reported (tests start clean).
void StartProfile();

// `value` (cp1252) with a leading "@" and every "@/" (or "@\\") turned into the root folder:
// [TOLVAN] PGMTOLVAN of `file`, or `startDirectory` when that is empty or itself starts with
// "@". The expansion is bounded, so a root folder holding "@/" cannot make it go on for ever.
std::string ExpandRootShorthand(std::string value, const std::string& file,
                                const std::string& startDirectory);

}  // namespace platform
