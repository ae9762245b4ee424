#pragma once
// Text helpers. Features keep text as UTF-8; the window system counts in
// UTF-16 units, so limits such as "79 characters" are measured in those.
#include <string>
#include <string_view>

namespace wakumo {

std::u16string Utf8ToUtf16(std::string_view s);
std::string Utf16ToUtf8(std::u16string_view s);

// First `units` UTF-16 units of `s`, never splitting a surrogate pair, as a
// read into a buffer of units + 1 characters leaves it.
std::string CutToUtf16Units(std::string_view s, std::size_t units);

}  // namespace wakumo
