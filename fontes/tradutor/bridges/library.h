// TIRLA: speech libraries bound at run time, so that the program runs on a machine without
// one of them and that bridge's start can say which library is missing.
#pragma once
#include <cstring>
#include <span>
#include <string>
#include <string_view>

namespace bridges {

// One entry point to look up, and where its address goes.
struct LibrarySymbol {
  const char* name;
  void* slot;  // a function pointer variable
};

// The entry `name` into the function pointer `slot`.
template <typename Function>
LibrarySymbol Symbol(const char* name, Function*& slot) {
  return {name, &slot};
}

// Loads the first of `names` (shared object names) that loads and fills every slot. False,
// with `why` in Portuguese (cp1252), when none loads or an entry point is missing. A library
// once loaded stays loaded: its threads may outlive any one start.
bool BindLibrary(std::span<const char* const> names, std::span<const LibrarySymbol> symbols,
                 std::string& why);

// For tests: libraries whose name contains `part` are taken as missing (empty: none is).
void HideLibrary(std::string_view part);

}  // namespace bridges
