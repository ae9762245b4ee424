#include "presets/shortcut_list.h"

#include <algorithm>

#include "presets/ansi_text.h"
#include "ui/text_case.h"

namespace wakumo {

namespace {

bool NameBefore(const NamedShortCut& a, const NamedShortCut& b) {
  return CompareTextIgnoreCase(a.name, b.name) < 0;
}

}  // namespace

void ShortcutList::Assign(const std::vector<NamedShortCut>& entries, bool sorted) {
  sorted_ = sorted;
  std::vector<NamedShortCut> all = entries;
  if (sorted_) std::stable_sort(all.begin(), all.end(), NameBefore);
  Store(all);
}

std::vector<NamedShortCut> ShortcutList::Entries() const {
  const std::vector<std::string> names = box_.Items();
  std::vector<NamedShortCut> out;
  // The two always have the same length; the shorter one bounds a surprise.
  const std::size_t n = std::min(names.size(), carried_.size());
  for (std::size_t i = 0; i < n; ++i) out.push_back({names[i], carried_[i].shortcut, carried_[i].name_bytes});
  return out;
}

std::optional<TShortCut> ShortcutList::Selected() const {
  const int i = box_.ItemIndex();
  if (i < 0 || static_cast<std::size_t>(i) >= carried_.size()) return std::nullopt;
  return carried_[static_cast<std::size_t>(i)].shortcut;
}

std::optional<std::size_t> ShortcutList::IndexOf(std::string_view name) const {
  const std::vector<std::string> names = box_.Items();
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (SameTextIgnoreCase(names[i], name)) return i;
  }
  return std::nullopt;
}

void ShortcutList::Store(const std::vector<NamedShortCut>& entries) {
  std::vector<std::string> names;
  carried_.clear();
  for (const NamedShortCut& e : entries) {
    names.push_back(e.name);
    carried_.push_back({e.shortcut, e.name_bytes});
  }
  // New entries keep what is typed in the text field.
  box_.SetItems(names);
}

std::optional<std::string> ShortcutNameRefusal(std::string_view name) {
  if (name.find('=') != std::string_view::npos) return "名前に \"=\" は使えません: \"" + std::string(name) + "\"";
  // The file's lines are read trimmed of their blanks.
  if (const std::string_view trimmed = TrimBlanks(name); !trimmed.empty() && trimmed.front() == ';') {
    return "名前を \";\" で始めることはできません: \"" + std::string(name) + "\"";
  }
  return std::nullopt;
}

bool ShortcutList::Add(const std::string& name, const TShortCut& shortcut) {
  if (name.empty() || IndexOf(name)) return false;
  std::vector<NamedShortCut> all = Entries();
  const NamedShortCut added{name, shortcut};
  const auto at = sorted_ ? std::upper_bound(all.begin(), all.end(), added, NameBefore) : all.end();
  all.insert(at, added);
  Store(all);
  return true;
}

bool ShortcutList::Remove(std::string_view name) {
  const std::optional<std::size_t> i = IndexOf(name);
  if (!i) return false;
  box_.SetItemIndex(-1);
  std::vector<NamedShortCut> all = Entries();
  all.erase(all.begin() + static_cast<std::ptrdiff_t>(*i));
  Store(all);
  return true;
}

void ShortcutList::SetSorted(bool sorted) {
  const std::string typed = box_.Text();
  sorted_ = sorted;
  std::vector<NamedShortCut> all = Entries();
  if (sorted_) std::stable_sort(all.begin(), all.end(), NameBefore);
  Store(all);
  const std::optional<std::size_t> i = IndexOf(typed);
  box_.SetItemIndex(i ? static_cast<int>(*i) : -1);
}

}  // namespace wakumo
