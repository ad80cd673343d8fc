// TIRLA: trimming and whole numbers.
#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <string>

#include "platform/text.h"

namespace {

using platform::ByteSet;

TEST(Text, TrimsTheGivenBlanksAndParsesOneSignedWholeNumber) {
  const ByteSet& tab = platform::kSpaceTab;
  const ByteSet& line = platform::kSpaceTabLineEnd;
  const ByteSet& controls = platform::kSpaceAndControls;
  const ByteSet& del = platform::kSpaceControlsDel;
  const std::optional<int32_t> none;
  const struct {
    std::string text;
    const ByteSet& blanks;
    std::string trimmed;
    std::optional<int32_t> number;
  } cases[] = {
      {" \t 12 \t", tab, "12", 12},
      {"\t-7", tab, "-7", -7},
      {"+5", tab, "+5", 5},
      {"007", tab, "007", 7},
      {"0000000000000000000000012", tab, "0000000000000000000000012", 12},
      {"", tab, "", none},
      {"   ", tab, "", none},
      {"-", tab, "-", none},
      {"+", tab, "+", none},
      {"+-5", tab, "+-5", none},
      {"-+5", tab, "-+5", none},
      {"--5", tab, "--5", none},
      {"- 5", tab, "- 5", none},
      {"1 2", tab, "1 2", none},
      {"12a", tab, "12a", none},
      {"0x10", tab, "0x10", none},  // no hexadecimal forms
      {"$10", tab, "$10", none},
      {"2147483647", tab, "2147483647", INT32_MAX},
      {"2147483648", tab, "2147483648", none},
      {"-2147483648", tab, "-2147483648", INT32_MIN},
      {"-2147483649", tab, "-2147483649", none},
      {"99999999999999999999", tab, "99999999999999999999", none},
      {"\r12\n", tab, "\r12\n", none},
      {"\r12\n", line, "12", 12},
      {std::string("\0\x01 5\x1F", 5), controls, "5", 5},
      {"5\x7F", controls, "5\x7F", none},
      {"\x7F" "5\x7F", del, "5", 5},
      {"\xA0" "5", del, "\xA0" "5", none},  // the no-break space is a character
  };
  for (const auto& c : cases) {
    EXPECT_EQ(platform::Trim(c.text, c.blanks), c.trimmed) << c.text;
    EXPECT_EQ(platform::ParseInt(c.text, c.blanks), c.number) << c.text;
  }
}

}  // namespace
