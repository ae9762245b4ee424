#include "ui/value_list_editor.h"

#include "ui/text_case.h"

namespace wakumo {

std::optional<std::string> GridKeyRefusal(const std::vector<std::string>& keys, int row, std::string_view key) {
  // "=" separates a row's key from its value in the grid's text form.
  if (key.find('=') != std::string_view::npos) {
    return "キーに \"=\" は使えません: \"" + std::string(key) + "\"";
  }
  for (std::size_t i = 0; i < keys.size(); ++i) {
    if (static_cast<int>(i) == row) continue;
    if (SameTextIgnoreCase(keys[i], key)) return "同じキーがすでにあります: \"" + std::string(key) + "\"";
  }
  return std::nullopt;
}

}  // namespace wakumo
