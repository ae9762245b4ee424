#pragma once
// The two preset text forms and SplitPair, which reads either back into two
// numbers.
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "platform/ansi_code_page.h"

namespace wakumo {

struct NumberPair {
  std::int32_t first = 0;
  std::int32_t second = 0;
  friend bool operator==(const NumberPair&, const NumberPair&) = default;
};
inline void PrintTo(const NumberPair& p, std::ostream* os) { *os << "(" << p.first << ", " << p.second << ")"; }

// "640 x 480"
std::string SizeText(std::int32_t width, std::int32_t height);
// "-8 , 0"
std::string PositionText(std::int32_t x, std::int32_t y);

// Splits at the last lower-case "x" or ","; each side, trimmed, must be a
// whole decimal integer or counts as 0. No separator: nothing. `text` is in the
// ANSI code page whose lead bytes are given; a trail byte is never a separator.
std::optional<NumberPair> SplitPair(std::string_view text, const LeadByteSet& lead);

// The same for UTF-8 text, as captions are held in memory. (No UTF-8 byte of a
// non-ASCII character equals "x" or ",", so no lead bytes need skipping.)
inline std::optional<NumberPair> SplitPair(std::string_view utf8) { return SplitPair(utf8, LeadByteSet()); }

}  // namespace wakumo
