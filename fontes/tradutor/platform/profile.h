// TIRLA: profile (INI) files, read with the rules users of such files expect.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// Value of `key` in `[section]` of the profile file `file`. A bare file name is looked for in
// WindowsDirectory(), its case ignored. Sections and keys match without regard to case and
// the first match wins; blanks around the value and one pair of surrounding quotes are
// removed; lines starting with ';' are comments. A missing file, section or key gives
// `fallback`; so does a file that is there but cannot be read (a folder, no permission), which
// is reported once. The result is cut to `size` - 1 bytes, like a C buffer of `size` bytes
// (size 0 gives the empty string).
std::string GetProfileString(std::string_view section, std::string_view key,
                             std::string_view fallback, size_t size, const std::string& file);

// Whether `key` is present in `[section]` (its value may be empty).
bool ProfileHasKey(std::string_view section, std::string_view key, const std::string& file);

// The path GetProfileString reads for `file`.
std::string ProfilePath(const std::string& file);

// `value` (cp1252) with a leading "@" and every "@/" (or "@\\") turned into the root folder:
// [TOLVAN] PGMTOLVAN of `file`, or `startDirectory` when that is empty or itself starts with
// "@". The expansion is bounded, so a root folder holding "@/" cannot make it go on for ever.
std::string ExpandRootShorthand(std::string value, const std::string& file,
                                const std::string& startDirectory);

}  // namespace platform
