#include "presets/ini_file.h"

#include "presets/ansi_text.h"

namespace wakumo {

namespace {

// A file saved by a Unicode editor may start with a UTF-8 signature; it is no
// part of the first line, which is usually the first section's header.
constexpr std::string_view kUtf8Signature = "\xEF\xBB\xBF";

// True when the last character (not merely the last byte: it may be the trail
// byte of a double-byte character) is "]".
bool EndsWithBracket(std::string_view line, const LeadByteSet& lead) {
  std::size_t last = 0;
  for (std::size_t i = 0; i < line.size(); i += lead.CharLength(line, i)) last = i;
  return line.size() - last == 1 && line[last] == ']';
}

}  // namespace

IniFile::IniFile(std::string bytes, const LeadByteSet& lead)
    : text_(std::make_unique<const std::string>(std::move(bytes))), lead_(lead) {
  std::string_view text = *text_;
  if (std::size_t nul = text.find('\0'); nul != std::string_view::npos) text = text.substr(0, nul);
  if (text.starts_with(kUtf8Signature)) text.remove_prefix(kUtf8Signature.size());

  bool in_section = false;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = TrimBlanks(text.substr(pos, end - pos));
    pos = end;
    if (pos < text.size()) pos += (text[pos] == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n') ? 2 : 1;

    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[' && EndsWithBracket(line, lead_)) {
      sections_.push_back({TrimBlanks(line.substr(1, line.size() - 2)), {}});
      in_section = true;
      continue;
    }
    if (!in_section) continue;
    IniLine entry;
    entry.text = line;
    if (std::size_t eq = line.find('='); eq != std::string_view::npos) {
      entry.key = TrimBlanks(line.substr(0, eq));
      entry.value = TrimBlanks(line.substr(eq + 1));
      entry.is_pair = true;
    }
    sections_.back().lines.push_back(entry);
  }
}

const IniFile::SectionLines* IniFile::Find(std::string_view name) const {
  for (auto it = sections_.rbegin(); it != sections_.rend(); ++it) {
    if (EqualsIgnoreCase(it->name, name, lead_)) return &*it;
  }
  return nullptr;
}

std::span<const IniLine> IniFile::Section(std::string_view name) const {
  const SectionLines* s = Find(name);
  return s ? std::span<const IniLine>(s->lines) : std::span<const IniLine>();
}

bool IniFile::HasSection(std::string_view name) const { return Find(name) != nullptr; }

std::optional<std::string_view> IniFile::Value(std::string_view section, std::string_view key) const {
  const std::span<const IniLine> lines = Section(section);
  for (auto it = lines.rbegin(); it != lines.rend(); ++it) {
    if (it->is_pair && EqualsIgnoreCase(it->key, key, lead_)) return it->value;
  }
  return std::nullopt;
}

}  // namespace wakumo
