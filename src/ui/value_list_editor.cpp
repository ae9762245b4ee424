#include "ui/value_list_editor.h"

#include "ui/text_case.h"

namespace wakumo {

std::optional<GridKeyFault> CheckGridKey(const std::vector<std::string>& keys, int row, std::string_view key) {
  if (key.find('=') != std::string_view::npos) return GridKeyFault::kHoldsEquals;
  for (std::size_t i = 0; i < keys.size(); ++i) {
    if (static_cast<int>(i) == row) continue;
    if (SameTextIgnoreCase(keys[i], key)) return GridKeyFault::kDuplicate;
  }
  return std::nullopt;
}

std::optional<std::string> RefuseGridKey(const std::vector<std::string>& keys, int row, std::string_view key,
                                         PeerEvents& events) {
  const std::optional<GridKeyFault> fault = CheckGridKey(keys, row, key);
  if (!fault) return std::nullopt;
  return events.PeerKeyRefusal(*fault, std::string(key));
}

}  // namespace wakumo
