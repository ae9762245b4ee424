#pragma once
#include <string>
#include <vector>

#include "ui/control.h"

namespace wakumo {

// A read-only report list: rows of texts under column headers, chosen by
// whole rows. OnClick runs on every click in the list, a row chosen or not.
class TListView : public TKindControl<ListViewPeer> {
 public:
  TListView(UiToolkit& tk, TControl* parent, const std::string& name) : TKindControl(tk, ControlKind::ListView, parent, name) {}
  void SetColumns(const std::vector<ListColumn>& columns) { Peer().SetColumns(columns); }
  std::vector<ListColumn> Columns() const { return Peer().Columns(); }
  void AddRow(const std::vector<std::string>& texts) { Peer().AddRow(texts); }
  void Clear() { Peer().ClearRows(); }
  int RowCount() const { return Peer().RowCount(); }
  std::vector<std::string> RowTexts(int row) const { return Peer().RowTexts(row); }
  // -1 when no row is selected.
  int ItemIndex() const { return Peer().SelectedRow(); }
  void SetTabStop(bool on) { Peer().SetTabStop(on); }
};

}  // namespace wakumo
