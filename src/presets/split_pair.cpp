#include "presets/split_pair.h"

#include "presets/ansi_text.h"

namespace wakumo {

std::string SizeText(std::int32_t width, std::int32_t height) {
  return std::to_string(width) + " x " + std::to_string(height);
}

std::string PositionText(std::int32_t x, std::int32_t y) { return std::to_string(x) + " , " + std::to_string(y); }

std::optional<NumberPair> SplitPair(std::string_view text, const LeadByteSet& lead) {
  // Walk forward: in double-byte text only a forward walk knows which bytes
  // are trail bytes.
  std::optional<std::size_t> separator;
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t len = lead.CharLength(text, i);
    if (len == 1 && (text[i] == 'x' || text[i] == ',')) separator = i;
    i += len;
  }
  if (!separator) return std::nullopt;
  return NumberPair{DecimalOrZero(text.substr(0, *separator)), DecimalOrZero(text.substr(*separator + 1))};
}

}  // namespace wakumo
