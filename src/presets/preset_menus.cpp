#include "presets/preset_menus.h"

#include "ui/text_case.h"

namespace wakumo {

std::vector<NamedPreset> MenuPresets(TPopupMenu& menu) {
  std::vector<NamedPreset> out;
  for (std::size_t i = kFixedPresetItems; i < menu.Count(); ++i) {
    TMenuItem& item = menu.Item(i);
    out.push_back({item.Caption(), item.Hint(), item.Data()});
  }
  return out;
}

TMenuItem& AppendPreset(TPopupMenu& menu, UiToolkit& tk, const NamedPreset& preset, const PresetClick& click) {
  // Preset entries have no names of their own, as items made at run time.
  TMenuItem& item = menu.Add(tk, "", preset.caption);
  item.SetHint(preset.name);
  item.SetData(preset.name_bytes);
  item.OnClick = [click, &item] { click(item); };
  return item;
}

void ClearPresets(TPopupMenu& menu) {
  while (menu.Count() > kFixedPresetItems) menu.Delete(menu.Count() - 1);
}

bool MenuHasCaption(TPopupMenu& menu, std::string_view caption) {
  for (std::size_t i = 0; i < menu.Count(); ++i) {
    if (SameTextIgnoreCase(menu.Item(i).Caption(), caption)) return true;
  }
  return false;
}

}  // namespace wakumo
