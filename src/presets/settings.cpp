#include "presets/settings.h"

#include "presets/ansi_text.h"
#include "presets/ini_file.h"

namespace wakumo {

namespace {

std::int32_t FieldOrZero(const std::vector<std::string>& fields, std::size_t i) {
  return i < fields.size() ? DecimalOrZero(fields[i]) : 0;
}

bool ReadsAsOne(const IniFile& ini, std::string_view key, bool missing) {
  const std::optional<std::string_view> v = ini.Value("Option", key);
  return v ? ParseDecimal(*v) == 1 : missing;
}

std::optional<NumberPair> ReadBase(std::string_view value) {
  if (value == "0") return std::nullopt;
  const std::vector<std::string> fields = SplitCommaList(value);
  if (fields.size() < 2) return std::nullopt;
  const std::optional<std::int32_t> x = ParseDecimal(TrimBlanks(fields[0]));
  const std::optional<std::int32_t> y = ParseDecimal(TrimBlanks(fields[1]));
  if (!x || !y) return std::nullopt;
  return NumberPair{*x, *y};
}

struct ReadName {
  std::string text;
  std::string bytes;  // empty when the text converts back to them
};

ReadName ReadNameOf(std::string_view bytes, const AnsiCodePage& cp) {
  // Most names are plain ASCII, the same bytes in every ANSI code page.
  if (IsAscii(bytes)) return {std::string(bytes), {}};
  ReadName name{ShownText(bytes, cp), {}};
  if (cp.FromUtf8(name.text) != bytes) name.bytes = bytes;
  return name;
}

void AppendName(std::string& out, std::string_view text, std::string_view bytes, const AnsiCodePage& cp) {
  // The bytes stand only while the text is still what they show: an edited
  // name is written as typed.
  std::string ansi = !bytes.empty() && ShownText(bytes, cp) == text ? std::string(bytes) : cp.FromUtf8(text);
  // These three bytes are never trail bytes, so replacing them cannot cut a
  // double-byte character.
  for (char& c : ansi) {
    if (c == '\r' || c == '\n' || c == '\0') c = ' ';
  }
  out += ansi;
}

void AppendNumber(std::string& out, std::int32_t v) { out += std::to_string(v); }

// A caption that gives no numbers is left out.
void AppendPresets(std::string& out, const std::vector<NamedPreset>& presets, char separator,
                   const AnsiCodePage& cp) {
  for (const NamedPreset& p : presets) {
    const std::optional<NumberPair> n = SplitPair(p.caption);
    if (!n) continue;
    AppendNumber(out, n->first);
    out += separator;
    AppendNumber(out, n->second);
    out += '=';
    AppendName(out, p.name, p.name_bytes, cp);
    out += "\r\n";
  }
}

void AppendFlag(std::string& out, std::string_view key, bool on) {
  out += key;
  out += on ? "=1\r\n" : "=0\r\n";
}

void AppendPairOption(std::string& out, std::string_view key, const std::optional<NumberPair>& p) {
  out += key;
  out += '=';
  if (p) {
    AppendNumber(out, p->first);
    out += ',';
    AppendNumber(out, p->second);
  } else {
    out += '0';
  }
  out += "\r\n";
}

}  // namespace

const std::vector<NamedPreset>& DefaultSizes() {
  static const std::vector<NamedPreset> kSizes{
      {"120 x 60", ""},       {"256 x 256", ""},      {"320 x 240", "QVGA"},   {"640 x 480", "VGA"},
      {"800 x 600", "SVGA"},  {"1024 x 768", "XGA"},  {"1280 x 1024", "SXGA"}, {"1600 x 1200", "UXGA"},
  };
  return kSizes;
}

SettingsData ParseSettings(std::string_view bytes, const AnsiCodePage& code_page) {
  const LeadByteSet& lead = code_page.LeadBytes();
  const IniFile ini{std::string(bytes), lead};
  SettingsData d;

  for (const IniLine& line : ini.Section("Sizes")) {
    const std::optional<NumberPair> p = SplitPair(line.key.empty() ? line.text : line.key, lead);
    if (!p || p->first == 0 || p->second == 0) continue;
    ReadName name = ReadNameOf(line.value, code_page);
    d.sizes.push_back({SizeText(p->first, p->second), std::move(name.text), std::move(name.bytes)});
  }
  if (d.sizes.empty()) d.sizes = DefaultSizes();

  for (const IniLine& line : ini.Section("Bases")) {
    const std::optional<NumberPair> p = SplitPair(line.key.empty() ? line.text : line.key, lead);
    if (!p) continue;
    ReadName name = ReadNameOf(line.value, code_page);
    d.bases.push_back({PositionText(p->first, p->second), std::move(name.text), std::move(name.bytes)});
  }

  for (const IniLine& line : ini.Section("ShortCut")) {
    const std::vector<std::string> fields = SplitCommaList(line.value);
    const TShortCut s{FieldOrZero(fields, 0), FieldOrZero(fields, 1), FieldOrZero(fields, 2), FieldOrZero(fields, 3)};
    if (s.Width == 0 || s.Height == 0) continue;
    ReadName name = ReadNameOf(line.key, code_page);
    d.shortcuts.push_back({std::move(name.text), s, std::move(name.bytes)});
  }

  d.timing = ReadsAsOne(ini, "Timing", false);
  d.to_front = ReadsAsOne(ini, "ToFront", true);
  d.base = ReadBase(ini.ValueOr("Option", "Base", "0"));
  d.on_top = ReadsAsOne(ini, "OnTop", true);
  if (const std::string_view pos = ini.ValueOr("Option", "WinPos", "0"); pos != "0") d.win_pos = SplitPair(pos, lead);
  d.list_sort = ReadsAsOne(ini, "ListSort", false);
  return d;
}

std::string FormatSettings(const SettingsData& data, const AnsiCodePage& code_page) {
  std::string out;
  out.reserve(128 + 32 * (data.sizes.size() + data.bases.size() + data.shortcuts.size()));

  out += "[Sizes]\r\n";
  AppendPresets(out, data.sizes, 'x', code_page);
  out += "\r\n[Bases]\r\n";
  AppendPresets(out, data.bases, ',', code_page);

  out += "\r\n[ShortCut]\r\n";
  for (const NamedShortCut& s : data.shortcuts) {
    AppendName(out, s.name, s.name_bytes, code_page);
    out += '=';
    AppendNumber(out, s.shortcut.Width);
    out += ',';
    AppendNumber(out, s.shortcut.Height);
    out += ',';
    AppendNumber(out, s.shortcut.X);
    out += ',';
    AppendNumber(out, s.shortcut.Y);
    out += "\r\n";
  }

  out += "\r\n[Option]\r\n";
  AppendFlag(out, "Timing", data.timing);
  AppendFlag(out, "ToFront", data.to_front);
  AppendPairOption(out, "Base", data.base);
  AppendFlag(out, "OnTop", data.on_top);
  AppendPairOption(out, "WinPos", data.win_pos);
  AppendFlag(out, "ListSort", data.list_sort);
  return out;
}

std::string SettingsPathFor(std::string_view executable_path) {
  const std::size_t dot = executable_path.rfind('.');
  const std::size_t folder_end = executable_path.find_last_of("\\/:");
  std::string path(executable_path);
  if (dot != std::string_view::npos && (folder_end == std::string_view::npos || dot > folder_end)) path.resize(dot);
  return path + ".ini";
}

}  // namespace wakumo
