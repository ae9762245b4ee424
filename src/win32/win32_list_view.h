#pragma once
// A report-style list view: read-only rows under column headers that do not
// react to clicks; rows are chosen whole. A filling column takes the width
// the others leave.
#include <string>
#include <vector>

#include "win32/win32_control_peer.h"

namespace wakumo {

class Win32ListViewPeer : public Win32ControlPeer, public ListViewPeer {
 public:
  Win32ListViewPeer(Win32Toolkit& tk, Win32ControlPeer* parent, PeerEvents& events, const std::string& name);

  void SetColumns(const std::vector<ListColumn>& columns) override;
  std::vector<ListColumn> Columns() const override { return columns_; }
  void AddRow(const std::vector<std::string>& texts) override;
  void ClearRows() override;
  int RowCount() const override;
  std::vector<std::string> RowTexts(int row) const override;
  int SelectedRow() const override;
  bool OnNotify(const NMHDR& header, LRESULT& result) override;
  void ApplyDpi() override;

 protected:
  bool HandleStandardMessage(UINT msg, WPARAM w, LPARAM l, LRESULT& result) override;

 private:
  // Column widths for the present client width.
  void FitColumns();
  void OnHeaderWidthChanged(int column, int width);

  // The fixed columns' widths follow the user's drags (design pixels).
  std::vector<ListColumn> columns_;
  bool fitting_ = false;  // our own width changes raise header notifications too
};

}  // namespace wakumo
