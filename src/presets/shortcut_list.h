#pragma once
// The shortcuts: the entries of the main window's combo box, each carrying a
// TShortCut. The combo box holds the names (its peer is their one source);
// this list holds the TShortCut of each entry, in the same order, with the
// name's bytes from the settings file when it has any of its own.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "presets/settings.h"
#include "ui/combo_box.h"

namespace wakumo {

// Why the settings file could not give this name back, as a message; nothing
// for a name it keeps. Its "=" would end the name early and a leading ";"
// would make the line a comment: the shortcut would be gone at the next start.
std::optional<std::string> ShortcutNameRefusal(std::string_view name);

class ShortcutList {
 public:
  explicit ShortcutList(TComboBox& box) : box_(box) {}

  // Replaces every entry; with `sorted` they are ordered by name, else kept
  // in the given order. Equal names may come in (a settings file has them).
  void Assign(const std::vector<NamedShortCut>& entries, bool sorted);
  std::vector<NamedShortCut> Entries() const;
  std::size_t Count() const { return carried_.size(); }
  // The shortcut of the selected entry; nothing when none is selected.
  std::optional<TShortCut> Selected() const;

  // Adds under `name`, at the end or, when sorted, at its place by name.
  // False, changing nothing, for an empty name or one that an entry has
  // (letter case ignored).
  bool Add(const std::string& name, const TShortCut& shortcut);
  // Clears the selection (and so the text field), then removes the first
  // entry with this name (letter case ignored). False, changing nothing,
  // when no entry has it.
  bool Remove(std::string_view name);

  bool Sorted() const { return sorted_; }
  // Sorting on orders the entries by name (letter case ignored; equal names
  // keep their order); off leaves them as they are. Afterwards the entry
  // named as the text field was (letter case ignored) is selected; with none
  // the selection and the text field are cleared.
  void SetSorted(bool sorted);

 private:
  std::optional<std::size_t> IndexOf(std::string_view name) const;
  void Store(const std::vector<NamedShortCut>& entries);

  struct Carried {
    TShortCut shortcut;
    std::string name_bytes;
  };

  TComboBox& box_;
  std::vector<Carried> carried_;  // parallel to the combo box's entries
  bool sorted_ = false;
};

}  // namespace wakumo
