// Test printers of the settings model: defined with the tests, so that the
// exe links no stream machinery.
#include <ostream>

#include "core/text.h"
#include "presets/settings.h"

namespace wakumo {

namespace {
// " bytes 43 61 E9" when a name carries bytes.
void PrintBytes(std::string_view bytes, std::ostream* os) {
  if (bytes.empty()) return;
  *os << " bytes";
  for (char c : bytes) *os << ' ' << HexByte(static_cast<unsigned char>(c));
}
}  // namespace

void PrintTo(const NamedPreset& p, std::ostream* os) {
  *os << "{\"" << p.caption << "\", \"" << p.name << "\"";
  PrintBytes(p.name_bytes, os);
  *os << "}";
}

void PrintTo(const NamedShortCut& s, std::ostream* os) {
  *os << "{\"" << s.name << "\", " << s.shortcut.Width << "," << s.shortcut.Height << "," << s.shortcut.X << ","
      << s.shortcut.Y;
  PrintBytes(s.name_bytes, os);
  *os << "}";
}

void PrintTo(const SettingsData& d, std::ostream* os) {
  auto pair = [os](const std::optional<NumberPair>& p) {
    if (p) *os << p->first << "," << p->second;
    else *os << "off";
  };
  *os << "sizes[";
  for (const auto& p : d.sizes) PrintTo(p, os);
  *os << "] bases[";
  for (const auto& p : d.bases) PrintTo(p, os);
  *os << "] shortcuts[";
  for (const auto& s : d.shortcuts) PrintTo(s, os);
  *os << "] Timing=" << d.timing << " ToFront=" << d.to_front << " Base=";
  pair(d.base);
  *os << " OnTop=" << d.on_top << " WinPos=";
  pair(d.win_pos);
  *os << " ListSort=" << d.list_sort;
}

}  // namespace wakumo
