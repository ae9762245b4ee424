#pragma once
// The tray menu's three submenus, made afresh each time tray mode starts:
// the shortcuts, the sizes (the current one, then the presets) and the
// placements and positions (no move, the five placements, the current
// position, then the presets). One size and one placement are checked; each
// submenu's own Tag holds the index of its checked entry.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "presets/settings.h"
#include "presets/split_pair.h"
#include "ui/menu.h"

namespace wakumo {

inline constexpr int kTraySizeCurrent = 0;
inline constexpr int kTrayBaseNoMove = 0;
inline constexpr int kTrayBaseCentre = 1;
// Entries 1 to 5 are the placements of the same index in the main window's
// placement list.
inline constexpr int kTrayBaseLastPlacement = 5;
inline constexpr int kTrayBaseCurrent = 7;

using TrayClick = std::function<void(TMenuItem&)>;

// One entry per shortcut, in list order: caption its name, Data the name's
// bytes, Tag its index in the list; no check marks.
void FillShortcutEntries(TMenuItem& sub, UiToolkit& tk, const std::vector<NamedShortCut>& shortcuts,
                         const TrayClick& click);
// Entry 0 `current` (a size text), then one entry per preset with its caption,
// name (Hint) and name bytes (Data). Tag = index; one radio group. A preset
// whose caption gives no numbers (typed so in the list editor) is greyed:
// choosing it could only do nothing.
void FillSizeEntries(TMenuItem& sub, UiToolkit& tk, const std::string& current,
                     const std::vector<NamedPreset>& presets, const TrayClick& click);
// Entries 0 to 5 the fixed choices, 6 a separator, 7 `current` (a position
// text), then the presets as for the sizes. Tag = index; all but the
// separator one radio group.
void FillBaseEntries(TMenuItem& sub, UiToolkit& tk, const std::string& current,
                     const std::vector<NamedPreset>& presets, const TrayClick& click);

// Checks the entry (the others of its group lose the mark) and keeps its
// index in the submenu's Tag. An index out of range changes nothing.
void SelectTrayEntry(TMenuItem& sub, int index);
// The first entry with this caption, letter case ignored; -1 for none.
int FindTrayEntry(TMenuItem& sub, std::string_view caption);
// SplitPair of an entry's caption; nothing for an index out of range.
std::optional<NumberPair> TrayEntryNumbers(TMenuItem& sub, int index);

}  // namespace wakumo
