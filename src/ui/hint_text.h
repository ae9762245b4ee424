#pragma once
// A hint may hold two parts, "short|long": the short one for tooltips, the
// long one for the application's hint text (menu entries, the status of what
// the mouse points at). A hint without "|" is both.
#include <string>
#include <string_view>

namespace wakumo {

inline std::string ShortHint(std::string_view hint) { return std::string(hint.substr(0, hint.find('|'))); }

inline std::string LongHint(std::string_view hint) {
  const std::size_t bar = hint.find('|');
  return std::string(bar == std::string_view::npos ? hint : hint.substr(bar + 1));
}

}  // namespace wakumo
