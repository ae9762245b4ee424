#include "win32/win32_list_view.h"

#include <algorithm>

#include "win32/win32_dpi.h"
#include "win32/win32_text.h"

namespace wakumo {

Win32ListViewPeer::Win32ListViewPeer(Win32Toolkit& tk, Win32ControlPeer* parent, PeerEvents& events,
                                     const std::string& name)
    : Win32ControlPeer(tk, ControlKind::ListView, parent, events, name, clWindow) {
  CreateHwnd(WC_LISTVIEWW, LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER | WS_TABSTOP,
             WS_EX_CLIENTEDGE, false);
  SendMessageW(hwnd_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
}

void Win32ListViewPeer::SetColumns(const std::vector<ListColumn>& columns) {
  columns_ = columns;
  if (!hwnd_) return;
  while (SendMessageW(hwnd_, LVM_DELETECOLUMN, 0, 0)) {
  }
  for (std::size_t i = 0; i < columns_.size(); ++i) {
    std::wstring caption = Wide(columns_[i].caption);
    LVCOLUMNW col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    col.pszText = caption.data();
    col.cx = Scale(columns_[i].width);
    col.iSubItem = static_cast<int>(i);
    SendMessageW(hwnd_, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&col));
  }
  FitColumns();
}

void Win32ListViewPeer::FitColumns() {
  if (!hwnd_ || columns_.empty() || fitting_) return;
  fitting_ = true;
  RECT rc{};
  GetClientRect(hwnd_, &rc);
  int fixed = 0;
  int fills = 0;
  for (const ListColumn& c : columns_) {
    if (c.fill) {
      ++fills;
    } else {
      fixed += Scale(c.width);
    }
  }
  const int left_over = std::max(0, static_cast<int>(rc.right) - fixed);
  for (std::size_t i = 0; i < columns_.size(); ++i) {
    const ListColumn& c = columns_[i];
    const int width = c.fill ? std::max(Scale(c.min_width), left_over / std::max(1, fills)) : Scale(c.width);
    SendMessageW(hwnd_, LVM_SETCOLUMNWIDTH, i, MAKELPARAM(width, 0));
  }
  fitting_ = false;
}

// The user dragged a divider: a fixed column keeps the width it got, but
// never less than its minimum, and the filling column takes what is left.
void Win32ListViewPeer::OnHeaderWidthChanged(int column, int width) {
  if (fitting_ || column < 0 || static_cast<std::size_t>(column) >= columns_.size()) return;
  // The notification carries the width; the list view may not have it yet.
  ListColumn& c = columns_[static_cast<std::size_t>(column)];
  if (!c.fill) c.width = std::max(c.min_width, UnscaleFromDpi(width, Dpi()));
  FitColumns();
}

void Win32ListViewPeer::ApplyDpi() {
  Win32ControlPeer::ApplyDpi();
  FitColumns();
}

void Win32ListViewPeer::AddRow(const std::vector<std::string>& texts) {
  if (!hwnd_) return;
  const int row = RowCount();
  for (std::size_t i = 0; i < std::max<std::size_t>(texts.size(), 1); ++i) {
    std::wstring text = i < texts.size() ? Wide(texts[i]) : std::wstring();
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.iSubItem = static_cast<int>(i);
    item.pszText = text.data();
    if (i == 0) {
      SendMessageW(hwnd_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    } else {
      SendMessageW(hwnd_, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    }
  }
}

void Win32ListViewPeer::ClearRows() {
  if (hwnd_) SendMessageW(hwnd_, LVM_DELETEALLITEMS, 0, 0);
}

int Win32ListViewPeer::RowCount() const {
  return hwnd_ ? static_cast<int>(SendMessageW(hwnd_, LVM_GETITEMCOUNT, 0, 0)) : 0;
}

std::vector<std::string> Win32ListViewPeer::RowTexts(int row) const {
  std::vector<std::string> out;
  if (!hwnd_ || row < 0 || row >= RowCount()) return out;
  for (std::size_t i = 0; i < columns_.size(); ++i) {
    // Grow the buffer until the text fits: the message copies what fits.
    for (std::size_t size = 256;; size *= 4) {
      std::wstring buf(size, L'\0');
      LVITEMW item{};
      item.iSubItem = static_cast<int>(i);
      item.pszText = buf.data();
      item.cchTextMax = static_cast<int>(size);
      const auto n = static_cast<std::size_t>(
          SendMessageW(hwnd_, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item)));
      if (n + 1 < size || size >= (1u << 20)) {
        out.push_back(Narrow(std::wstring_view(buf.data(), std::min(n, size))));
        break;
      }
    }
  }
  return out;
}

int Win32ListViewPeer::SelectedRow() const {
  if (!hwnd_) return -1;
  return static_cast<int>(SendMessageW(hwnd_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

bool Win32ListViewPeer::OnNotify(const NMHDR& header, LRESULT& result) {
  // A click on a row or beside the rows; the list has settled its selection.
  if (header.code != NM_CLICK) return false;
  if (PeerEvents* e = Events()) e->PeerClick();
  result = 0;
  return true;
}

bool Win32ListViewPeer::HandleStandardMessage(UINT msg, WPARAM w, LPARAM l, LRESULT& result) {
  if (msg == WM_SIZE) {
    result = CallBase(msg, w, l);
    FitColumns();
    return true;
  }
  if (msg == WM_NOTIFY) {
    const auto* header = reinterpret_cast<const NMHEADERW*>(l);
    const bool width_changed =
        (header->hdr.code == HDN_ITEMCHANGEDW || header->hdr.code == HDN_ITEMCHANGEDA) && header->pitem &&
        (header->pitem->mask & HDI_WIDTH);
    if (width_changed && header->hdr.hwndFrom == reinterpret_cast<HWND>(SendMessageW(hwnd_, LVM_GETHEADER, 0, 0))) {
      // The list view takes the new width first.
      result = CallBase(msg, w, l);
      OnHeaderWidthChanged(header->iItem, header->pitem->cxy);
      return true;
    }
  }
  return Win32ControlPeer::HandleStandardMessage(msg, w, l, result);
}

}  // namespace wakumo
