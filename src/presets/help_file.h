#pragma once
// The help file lies beside the executable under a fixed name.
#include <string>
#include <string_view>

namespace wakumo {

inline constexpr const char* kHelpFileName = "wakumo.chm";

// The executable's folder, "\" and kHelpFileName; a path without a folder
// gives the bare name.
std::string HelpPathFor(std::string_view executable_path);

}  // namespace wakumo
