// TIRLA: sets of byte values, built at compile time from their member bytes.
#pragma once
#include <array>
#include <string_view>

namespace platform {

// A membership set over the 256 byte values.
class ByteSet {
 public:
  constexpr ByteSet() = default;
  // The set of the bytes of `members`.
  constexpr explicit ByteSet(std::string_view members) { Add(members); }

  // Whether the byte is a member.
  constexpr bool Has(unsigned char byte) const { return member_[byte]; }
  constexpr bool Has(char byte) const { return member_[static_cast<unsigned char>(byte)]; }

  // Adds the bytes of `members`, or every byte from `first` to `last`; returns the set.
  constexpr ByteSet& Add(std::string_view members) {
    for (const char c : members) member_[static_cast<unsigned char>(c)] = true;
    return *this;
  }
  constexpr ByteSet& AddRange(unsigned char first, unsigned char last) {
    for (int b = first; b <= last; ++b) member_[b] = true;
    return *this;
  }

  // The union of two sets.
  constexpr ByteSet operator|(const ByteSet& other) const {
    ByteSet both = *this;
    for (int b = 0; b < 256; ++b) both.member_[b] = member_[b] || other.member_[b];
    return both;
  }

 private:
  std::array<bool, 256> member_{};  // member_[b]: byte b is in the set
};

}  // namespace platform
