#pragma once
// Comparing names and keys without regard to letter case, the way the widget
// set does for its unique keys and sorted lists. UTF-8 in; letters of the
// Latin (half- and full-width), Greek and Cyrillic alphabets fold, every
// other character compares as it is.
#include <string_view>

namespace wakumo {

// <0, 0 or >0, ordering by code point after folding.
int CompareTextIgnoreCase(std::string_view a, std::string_view b);
inline bool SameTextIgnoreCase(std::string_view a, std::string_view b) { return CompareTextIgnoreCase(a, b) == 0; }

}  // namespace wakumo
