// Feeds arbitrary bytes to the settings reader as a settings file, in a
// Western and in a Japanese code page. Besides the sanitizers' findings it
// checks that the reader's lines are trimmed and split as promised, that
// every name is written as the bytes it was read as, and that saving is
// stable: what a save writes loads back as the same settings and saves again
// to the same bytes.
//
// Input: byte 0 picks the code page (even: 1252, odd: 932); the rest is the
// file.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <string_view>

#include "presets/ansi_text.h"
#include "presets/ini_file.h"
#include "presets/settings.h"
#include "presets/split_pair.h"
#include "sim/sim_files.h"

namespace {

using namespace wakumo;

[[noreturn]] void Fail(const char* what, std::string_view a, std::string_view b = {}) {
  std::fprintf(stderr, "%s\n--- first (%zu bytes):\n%.*s\n--- second (%zu bytes):\n%.*s\n", what, a.size(),
               static_cast<int>(a.size()), a.data(), b.size(), static_cast<int>(b.size()), b.data());
  std::abort();
}

bool Trimmed(std::string_view s) { return TrimBlanks(s).size() == s.size(); }

void CheckReader(const std::string& bytes, const LeadByteSet& lead) {
  const IniFile ini(bytes, lead);
  for (std::string_view section : {"Sizes", "Bases", "ShortCut", "Option"}) {
    for (const IniLine& l : ini.Section(section)) {
      if (l.text.empty() || l.text.front() == ';') Fail("skippable line kept", l.text);
      if (!Trimmed(l.text) || !Trimmed(l.key) || !Trimmed(l.value)) Fail("untrimmed line", l.text);
      if (l.text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos) Fail("line break kept", l.text);
      if (l.is_pair != (l.text.find('=') != std::string_view::npos)) Fail("pair flag", l.text);
      if (l.is_pair && l.key.find('=') != std::string_view::npos) Fail("key holds =", l.key);
    }
  }
  (void)SplitPair(bytes, lead);
  (void)SplitCommaList(bytes);
}

// Names come only from the file, so each name written must be the bytes of a
// name read from the same section (a key for shortcuts, a value otherwise).
void CheckNamesKeptTheirBytes(const std::string& file, const std::string& saved, const SettingsData& read,
                              const LeadByteSet& lead) {
  const IniFile before(file, lead);
  const IniFile after(saved, lead);
  for (std::string_view section : {"Sizes", "Bases", "ShortCut"}) {
    // The built-in presets' names were never in the file.
    if (section == "Sizes" && read.sizes == DefaultSizes()) continue;
    const bool by_key = section == "ShortCut";
    std::set<std::string_view> names;
    for (const IniLine& l : before.Section(section)) names.insert(by_key ? l.key : l.value);
    for (const IniLine& l : after.Section(section)) {
      if (!names.contains(by_key ? l.key : l.value)) Fail("a name changed its bytes", file, saved);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  static const SimAnsiCodePage kWestern(1252);
  static const SimAnsiCodePage kJapanese(932);
  const AnsiCodePage& cp = (data[0] & 1) ? static_cast<const AnsiCodePage&>(kJapanese) : kWestern;
  const std::string file(reinterpret_cast<const char*>(data + 1), size - 1);

  CheckReader(file, cp.LeadBytes());

  const SettingsData first = ParseSettings(file, cp);
  if (first.sizes.empty()) Fail("no size presets", file);
  const std::string saved = FormatSettings(first, cp);
  CheckNamesKeptTheirBytes(file, saved, first, cp.LeadBytes());
  const SettingsData again = ParseSettings(saved, cp);
  if (!(again == first)) Fail("save then load changed the settings", file, saved);
  const std::string saved_again = FormatSettings(again, cp);
  if (saved_again != saved) Fail("second save differs", saved, saved_again);
  return 0;
}
