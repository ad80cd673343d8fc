// TIRLA: byte sets.
#include <gtest/gtest.h>

#include <string>

#include "platform/byteset.h"

namespace {

using platform::ByteSet;

// Every byte from `first` to `last`.
std::string Bytes(int first, int last) {
  std::string bytes;
  for (int b = first; b <= last; ++b) bytes += static_cast<char>(b);
  return bytes;
}

static_assert(ByteSet("a").Has('a') && !ByteSet("a").Has('b'), "usable at compile time");

TEST(ByteSet, HoldsExactlyItsMembers) {
  const struct {
    ByteSet set;
    std::string members;
  } cases[] = {
      {ByteSet(""), ""},
      {ByteSet("abca"), "abc"},
      {ByteSet("\xFF\x80"), "\x80\xFF"},
      {ByteSet().AddRange(0, ' '), Bytes(0, ' ')},
      {ByteSet().AddRange(250, 255), Bytes(250, 255)},
      {ByteSet().AddRange('z', 'a'), ""},
      {ByteSet("ab") | ByteSet("bc"), "abc"},
      {ByteSet("a").Add("\xE9").AddRange('0', '1'), "01a\xE9"},
  };
  for (const auto& c : cases) {
    for (int b = 0; b < 256; ++b) {
      const bool member = c.members.find(static_cast<char>(b)) != std::string::npos;
      EXPECT_EQ(c.set.Has(static_cast<unsigned char>(b)), member) << "byte " << b;
      EXPECT_EQ(c.set.Has(static_cast<char>(b)), member) << "byte " << b;
    }
  }
}

}  // namespace
