// Simulated report lists and key/value grids: rows, selection, and the
// user's clicks and edits of cells.
#include "sim/sim_ui.h"

#include <algorithm>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "ui/value_list_editor.h"

namespace wakumo {

void SimRowsPeer::ClearRows() {
  rows_.clear();
  selected_row_ = -1;
}

std::optional<std::string> SimGridPeer::AppendKeyValue(const std::string& key, const std::string& value) {
  std::vector<std::string> keys;
  for (const auto& r : rows_) keys.push_back(r[0]);
  if (std::optional<std::string> refusal = RefuseGridKey(keys, RowCount(), key, events_)) return refusal;
  rows_.push_back({key, value});
  if (selected_row_ < 0) {
    selected_row_ = 0;
    selected_column_ = 1;
    whole_row_ = false;
  }
  return std::nullopt;
}

void SimGridPeer::ExchangeRows(int a, int b) {
  if (a < 0 || b < 0 || a >= RowCount() || b >= RowCount()) return;
  std::swap(rows_[static_cast<std::size_t>(a)], rows_[static_cast<std::size_t>(b)]);
}

void SimGridPeer::DeleteRow(int row) {
  if (row < 0 || row >= RowCount()) return;
  rows_.erase(rows_.begin() + row);
  selected_row_ = rows_.empty() ? -1 : std::min(selected_row_, RowCount() - 1);
}

void SimGridPeer::SelectWholeRow(int row) {
  if (row < 0 || row >= RowCount()) return;
  selected_row_ = row;
  whole_row_ = true;
}

std::vector<std::string> SimRowsPeer::RowTexts(int row) const {
  if (row < 0 || row >= RowCount()) return {};
  return rows_[static_cast<std::size_t>(row)];
}

bool SimToolkit::SelectRow(std::string_view name, int row) {
  auto* list = dynamic_cast<SimListViewPeer*>(&Get(name));
  if (!list || !list->CanTakeInput()) return false;
  SimListViewPeer& c = *list;
  if (row < -1 || row >= c.RowCount()) return false;
  c.selected_row_ = row;
  c.events_.PeerClick();
  return true;
}

bool SimToolkit::ClickCell(std::string_view name, int row, int column) {
  auto* grid = dynamic_cast<SimGridPeer*>(&Get(name));
  if (!grid || !grid->CanTakeInput()) return false;
  SimGridPeer& c = *grid;
  if (row < 0 || row >= c.RowCount() || column < 0 || column > 1) return false;
  c.selected_row_ = row;
  c.selected_column_ = column;
  c.whole_row_ = false;
  c.events_.PeerClick();
  return true;
}

bool SimToolkit::EditKey(std::string_view name, int row, std::string_view key) {
  auto* grid = dynamic_cast<SimGridPeer*>(&Get(name));
  if (!grid || !grid->CanTakeInput()) return false;
  SimGridPeer& c = *grid;
  if (row < 0 || row >= c.RowCount()) return false;
  std::vector<std::string> keys;
  for (const auto& r : c.rows_) keys.push_back(r[0]);
  if (std::optional<std::string> refusal = RefuseGridKey(keys, row, key, c.events_)) {
    application_.ShowMessage(*refusal);
    return false;
  }
  c.rows_[static_cast<std::size_t>(row)][0] = std::string(key);
  return true;
}

bool SimToolkit::EditValue(std::string_view name, int row, std::string_view value) {
  auto* grid = dynamic_cast<SimGridPeer*>(&Get(name));
  if (!grid || !grid->CanTakeInput()) return false;
  SimGridPeer& c = *grid;
  if (row < 0 || row >= c.RowCount()) return false;
  c.rows_[static_cast<std::size_t>(row)][1] = std::string(value);
  return true;
}

}  // namespace wakumo
