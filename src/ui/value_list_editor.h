#pragma once
// A grid of key/value rows whose keys stay unique (letter case ignored) and
// never hold "=". The key rule lives here, so that every peer refuses the
// same keys; the words for a refusal are the program's (RefusalText).
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/control.h"

namespace wakumo {

class TValueListEditor : public TKindControl<GridPeer> {
 public:
  TValueListEditor(UiToolkit& tk, TControl* parent, const std::string& name)
      : TKindControl(tk, ControlKind::ValueListEditor, parent, name) {}

  // Widths of the key and the value column; the value column follows the grid's width.
  void SetColumnWidths(int key, int value) { Peer().SetColumns({ListColumn{"", key, 0, false}, ListColumn{"", value, 0, true}}); }
  void SetTabBetweenCells(bool on) { Peer().SetTabBetweenCells(on); }

  int RowCount() const { return Peer().RowCount(); }
  std::string Key(int row) const { return Cell(row, 0); }
  std::string Value(int row) const { return Cell(row, 1); }
  // Nothing when the row was added; else the refusal's text, nothing added.
  std::optional<std::string> AppendRow(const std::string& key, const std::string& value) {
    return Peer().AppendKeyValue(key, value);
  }
  void ExchangeRows(int a, int b) { Peer().ExchangeRows(a, b); }
  void DeleteRow(int row) { Peer().DeleteRow(row); }
  void Clear() { Peer().ClearRows(); }
  // Top row of the selection; -1 when the grid is empty.
  int Row() const { return Peer().SelectedRow(); }
  void SelectWholeRow(int row) { Peer().SelectWholeRow(row); }

  // The words a refused key is reported with: to the program by AppendRow,
  // to the user in the message box after an edit.
  std::function<std::string(GridKeyFault, const std::string& key)> RefusalText;

 protected:
  std::string PeerKeyRefusal(GridKeyFault fault, const std::string& key) override {
    return RefusalText ? RefusalText(fault, key) : std::string();
  }

 private:
  std::string Cell(int row, std::size_t column) const {
    const std::vector<std::string> texts = Peer().RowTexts(row);
    return column < texts.size() ? texts[column] : std::string();
  }
};

// What is wrong with `key` as the key of row `row` among `keys` (the grid's
// keys in row order; `row` may be keys.size() for a new row); nothing when
// the key may stand.
std::optional<GridKeyFault> CheckGridKey(const std::vector<std::string>& keys, int row, std::string_view key);
// CheckGridKey, a fault put in the words the grid's facade gives (`events`).
std::optional<std::string> RefuseGridKey(const std::vector<std::string>& keys, int row, std::string_view key,
                                         PeerEvents& events);

}  // namespace wakumo
