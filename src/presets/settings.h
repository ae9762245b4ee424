#pragma once
// What the settings file holds, and the pure conversions between that and the
// file's bytes. The lists are in menu order; captions and names are UTF-8, as
// the widgets hold them. Converting to and from the ANSI code page happens
// here, at the file's edge.
//
// A name is the bytes the file holds, and not every byte sequence is text in
// the code page (a file written under another page, a name cut after a lead
// byte). So a name read from the file carries those bytes beside its text
// (ShownText) wherever the text would not convert back to them; it is written
// as those bytes while its text is still what they show, and as its text once
// the user has typed another.
#include <cstdint>
#include <optional>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ansi_code_page.h"
#include "presets/split_pair.h"

namespace wakumo {

// A size or position preset: the menu item's caption (a size or position text,
// or whatever the list editor left there) and its Hint.
struct NamedPreset {
  std::string caption;
  std::string name;
  std::string name_bytes = {};  // the file's bytes of `name`; empty when they are FromUtf8(name)
  friend bool operator==(const NamedPreset&, const NamedPreset&) = default;
};

// A shortcut's size and top-left position.
struct TShortCut {
  std::int32_t Width = 0;
  std::int32_t Height = 0;
  std::int32_t X = 0;
  std::int32_t Y = 0;
  friend bool operator==(const TShortCut&, const TShortCut&) = default;
};

struct NamedShortCut {
  std::string name;
  TShortCut shortcut;
  std::string name_bytes = {};  // as NamedPreset::name_bytes
  friend bool operator==(const NamedShortCut&, const NamedShortCut&) = default;
};

struct SettingsData {
  std::vector<NamedPreset> sizes;
  std::vector<NamedPreset> bases;
  std::vector<NamedShortCut> shortcuts;  // file order; sorting is the combo box's job
  bool timing = false;                   // 即
  bool to_front = true;                  // 前へ
  std::optional<NumberPair> base;        // 左上： ticked, with BaseX and BaseY
  bool on_top = true;                    // 常に前
  std::optional<NumberPair> win_pos;     // 表示位置を保存 checked, with the window's Left and Top
  bool list_sort = false;                // ソート
  friend bool operator==(const SettingsData&, const SettingsData&) = default;
};

// Test printers, defined with the tests: the program itself links no streams.
void PrintTo(const NamedPreset& p, std::ostream* os);
void PrintTo(const NamedShortCut& s, std::ostream* os);
void PrintTo(const SettingsData& d, std::ostream* os);

// The eight built-in size presets, used whenever the file yields none.
const std::vector<NamedPreset>& DefaultSizes();

// Reads the file's bytes (empty for a missing file). Never fails: lines that
// do not fit are dropped, numbers that do not parse read as 0.
//
// Cases the rules leave open, decided so that a damaged line never invents a
// setting:
// - A ShortCut value with fewer than four fields: missing fields are 0, so
//   "S=320,240" is 320 x 240 at (0, 0) and "S=320" is skipped (height 0).
// - A Base value other than "0" is ticked only when its first two fields are
//   both integers; "Base=a,b" or "Base=10,x" leaves 左上： unticked.
// - A WinPos value other than "0" that SplitPair cannot split leaves the
//   default placement, as "WinPos=0" does.
SettingsData ParseSettings(std::string_view bytes, const AnsiCodePage& code_page);

// The file's exact bytes: ANSI code page, CR LF after every line. A name is
// written as its name_bytes when its text is what they show, else converted.
// CR, LF and NUL inside a name are written as blanks, so that no name can
// break the file into extra lines or end it early.
std::string FormatSettings(const SettingsData& data, const AnsiCodePage& code_page);

// The executable's path with its extension replaced by ".ini" (appended when
// it has none).
std::string SettingsPathFor(std::string_view executable_path);

}  // namespace wakumo
