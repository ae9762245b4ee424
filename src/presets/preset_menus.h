#pragma once
// The size and position menus: three fixed entries, then one entry per
// preset (caption = the size or position text, Hint = the preset's name, Data
// = the name's bytes from the settings file, when it has any of its own).
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "presets/settings.h"
#include "ui/menu.h"

namespace wakumo {

// Entries before the first preset: add, swap, separator.
inline constexpr std::size_t kFixedPresetItems = 3;

using PresetClick = std::function<void(TMenuItem&)>;

// The presets in menu order.
std::vector<NamedPreset> MenuPresets(TPopupMenu& menu);

// Appends a preset entry whose click runs `click` with the entry.
TMenuItem& AppendPreset(TPopupMenu& menu, UiToolkit& tk, const NamedPreset& preset, const PresetClick& click);

// Removes every preset entry, the last first; the fixed ones stay.
void ClearPresets(TPopupMenu& menu);

// Whether any entry, the fixed ones included, has this caption (letter case ignored).
bool MenuHasCaption(TPopupMenu& menu, std::string_view caption);

}  // namespace wakumo
