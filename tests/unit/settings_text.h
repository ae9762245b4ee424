#pragma once
// What the settings tests build their file texts from.
#include <initializer_list>
#include <string>
#include <string_view>

#include "sim/sim_files.h"

namespace wakumo::testing {

inline const SimAnsiCodePage kWestern(1252);
inline const SimAnsiCodePage kJapanese(932);

// Lines joined with CR LF, the last one included.
inline std::string Crlf(std::initializer_list<std::string_view> lines) {
  std::string s;
  for (std::string_view l : lines) (s += l) += "\r\n";
  return s;
}

}  // namespace wakumo::testing
