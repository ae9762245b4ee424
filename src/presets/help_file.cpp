#include "presets/help_file.h"

namespace wakumo {

std::string HelpPathFor(std::string_view executable_path) {
  const std::size_t folder_end = executable_path.find_last_of("\\/");
  if (folder_end == std::string_view::npos) return kHelpFileName;
  return std::string(executable_path.substr(0, folder_end)) + "\\" + kHelpFileName;
}

}  // namespace wakumo
