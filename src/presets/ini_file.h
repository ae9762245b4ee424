#pragma once
// An in-memory INI reader over the settings file's raw ANSI bytes.
//
// Lines end at CR LF, a lone CR or a lone LF; a NUL byte ends the text. Each
// line is trimmed of blanks and control characters; empty lines and lines
// starting with ";" are skipped. "[name]" opens a section (name trimmed, matched
// without regard to ASCII case; of several sections with one name only the
// last counts). Lines before the first section are ignored. A line holding "="
// is a pair split at the first "=", key and value trimmed; any other line is a
// bare line with an empty key and an empty value. A UTF-8 signature at the
// very start (left by Unicode editors) is skipped.
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ansi_code_page.h"

namespace wakumo {

struct IniLine {
  std::string_view text;  // the whole line, trimmed
  std::string_view key;   // empty for a bare line
  std::string_view value;
  bool is_pair = false;
};

class IniFile {
 public:
  // Takes the file's bytes; an empty text reads as a file without sections.
  IniFile(std::string bytes, const LeadByteSet& lead);

  // The lines of the last section with that name, in file order; empty when
  // there is none.
  std::span<const IniLine> Section(std::string_view name) const;
  bool HasSection(std::string_view name) const;

  // The value of the last line of the section whose key matches (ASCII case
  // ignored); nothing when the section or the key is missing.
  std::optional<std::string_view> Value(std::string_view section, std::string_view key) const;
  std::string_view ValueOr(std::string_view section, std::string_view key, std::string_view fallback) const {
    return Value(section, key).value_or(fallback);
  }

 private:
  struct SectionLines {
    std::string_view name;
    std::vector<IniLine> lines;
  };
  const SectionLines* Find(std::string_view name) const;

  // Held on the heap so that the views stay valid when the file is moved.
  std::unique_ptr<const std::string> text_;
  LeadByteSet lead_;
  std::vector<SectionLines> sections_;
};

}  // namespace wakumo
