#pragma once
#include <cstdint>
#include <span>

namespace wakumo {

struct Cp932Pair {
  std::uint16_t sjis;     // lead byte << 8 | trail byte
  std::uint16_t unicode;  // a BMP character
};

// Sorted by `sjis`; a subset of the code page (see the table's source).
std::span<const Cp932Pair> Cp932DoubleBytePairs();

}  // namespace wakumo
