#include "presets/tray_menu.h"

#include <array>

#include "ui/text_case.h"

namespace wakumo {

namespace {

// Both submenus hold a single group; the number only has to be the same
// within one submenu.
constexpr int kTrayRadioGroup = 1;

constexpr std::array<const char*, 6> kFixedBaseEntries = {
    "移動なし", "センタリング", "デスクトップ左上", "デスクトップ右上", "デスクトップ左下", "デスクトップ右下"};

TMenuItem& AddEntry(TMenuItem& sub, UiToolkit& tk, const std::string& caption, const TrayClick& click) {
  // Entries made at run time have no names of their own.
  TMenuItem& item = sub.Add(tk, "", caption);
  item.SetTag(static_cast<int>(sub.Count() - 1));
  item.OnClick = [click, &item] { click(item); };
  return item;
}

TMenuItem& AddChoice(TMenuItem& sub, UiToolkit& tk, const std::string& caption, const TrayClick& click) {
  TMenuItem& item = AddEntry(sub, tk, caption, click);
  item.SetRadioItem(true);
  item.SetGroupIndex(kTrayRadioGroup);
  return item;
}

void AddPresets(TMenuItem& sub, UiToolkit& tk, const std::vector<NamedPreset>& presets, const TrayClick& click) {
  for (const NamedPreset& p : presets) {
    TMenuItem& item = AddChoice(sub, tk, p.caption, click);
    item.SetHint(p.name);
    item.SetData(p.name_bytes);
    item.SetEnabled(SplitPair(p.caption).has_value());
  }
}

}  // namespace

void FillShortcutEntries(TMenuItem& sub, UiToolkit& tk, const std::vector<NamedShortCut>& shortcuts,
                         const TrayClick& click) {
  sub.Clear();
  for (const NamedShortCut& s : shortcuts) AddEntry(sub, tk, s.name, click).SetData(s.name_bytes);
}

void FillSizeEntries(TMenuItem& sub, UiToolkit& tk, const std::string& current,
                     const std::vector<NamedPreset>& presets, const TrayClick& click) {
  sub.Clear();
  AddChoice(sub, tk, current, click);
  AddPresets(sub, tk, presets, click);
}

void FillBaseEntries(TMenuItem& sub, UiToolkit& tk, const std::string& current,
                     const std::vector<NamedPreset>& presets, const TrayClick& click) {
  sub.Clear();
  for (const char* caption : kFixedBaseEntries) AddChoice(sub, tk, caption, click);
  AddEntry(sub, tk, "-", click);
  AddChoice(sub, tk, current, click);
  AddPresets(sub, tk, presets, click);
}

void SelectTrayEntry(TMenuItem& sub, int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= sub.Count()) return;
  sub.Item(static_cast<std::size_t>(index)).SetChecked(true);
  sub.SetTag(index);
}

int FindTrayEntry(TMenuItem& sub, std::string_view caption) {
  for (std::size_t i = 0; i < sub.Count(); ++i) {
    if (SameTextIgnoreCase(sub.Item(i).Caption(), caption)) return static_cast<int>(i);
  }
  return -1;
}

std::optional<NumberPair> TrayEntryNumbers(TMenuItem& sub, int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= sub.Count()) return std::nullopt;
  return SplitPair(sub.Item(static_cast<std::size_t>(index)).Caption());
}

}  // namespace wakumo
