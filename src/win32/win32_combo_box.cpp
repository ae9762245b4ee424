#include "win32/win32_combo_box.h"

#include "win32/win32_dpi.h"
#include "win32/win32_text.h"

namespace wakumo {

namespace {
constexpr int kDropDownCount = 8;
}

Win32ComboBoxPeer::Win32ComboBoxPeer(Win32Toolkit& tk, Win32ControlPeer* parent, PeerEvents& events,
                                     const std::string& name, bool drop_down_list)
    : Win32ControlPeer(tk, drop_down_list ? ControlKind::DropDownList : ControlKind::ComboBox, parent, events, name,
                       clWindow),
      drop_down_list_(drop_down_list) {
  const DWORD kind = drop_down_list ? CBS_DROPDOWNLIST : (CBS_DROPDOWN | CBS_AUTOHSCROLL);
  CreateHwnd(L"COMBOBOX", kind | WS_VSCROLL | WS_TABSTOP, 0, false);
  SendMessageW(hwnd_, CB_SETMINVISIBLE, kDropDownCount, 0);
}

void Win32ComboBoxPeer::ApplyBounds() {
  // A combo box's window height includes its dropped-down list; the closed
  // box takes its own height from the font.
  if (!hwnd_) return;
  const UINT dpi = Dpi();
  const int left = ScaleToDpi(bounds_.left, dpi);
  const int top = ScaleToDpi(bounds_.top, dpi);
  const LRESULT item = SendMessageW(hwnd_, CB_GETITEMHEIGHT, 0, 0);
  const int list = (item > 0 ? static_cast<int>(item) : ScaleToDpi(16, dpi)) * kDropDownCount + 2;
  SetWindowPos(hwnd_, nullptr, left, top, ScaleToDpi(bounds_.right, dpi) - left,
               ScaleToDpi(bounds_.bottom, dpi) - top + list, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32ComboBoxPeer::SetCaption(const std::string& text) {
  if (!hwnd_) return;
  if (!drop_down_list_) {
    SetWindowTextW(hwnd_, Wide(text).c_str());
    return;
  }
  // A drop-down list shows only its entries: select the one with this text.
  const std::wstring w = Wide(text);
  const LRESULT i = text.empty() ? CB_ERR : SendMessageW(hwnd_, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                                          reinterpret_cast<LPARAM>(w.c_str()));
  SendMessageW(hwnd_, CB_SETCURSEL, i == CB_ERR ? static_cast<WPARAM>(-1) : static_cast<WPARAM>(i), 0);
}

void Win32ComboBoxPeer::SetItems(const std::vector<std::string>& items) {
  if (!hwnd_) return;
  // Replacing the entries keeps what is typed in the text field.
  const std::string text = drop_down_list_ ? std::string() : Caption();
  SendMessageW(hwnd_, WM_SETREDRAW, FALSE, 0);
  SendMessageW(hwnd_, CB_RESETCONTENT, 0, 0);
  for (const std::string& item : items) {
    const std::wstring w = Wide(item);
    SendMessageW(hwnd_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(w.c_str()));
  }
  if (!drop_down_list_) SetWindowTextW(hwnd_, Wide(text).c_str());
  SendMessageW(hwnd_, WM_SETREDRAW, TRUE, 0);
  Invalidate(true);
}

std::string Win32ComboBoxPeer::ItemText(int i) const {
  const LRESULT len = SendMessageW(hwnd_, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
  if (len <= 0) return {};
  std::wstring buf(static_cast<std::size_t>(len) + 1, L'\0');
  const LRESULT got = SendMessageW(hwnd_, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buf.data()));
  return Narrow(std::wstring_view(buf.data(), got > 0 ? static_cast<std::size_t>(got) : 0));
}

std::vector<std::string> Win32ComboBoxPeer::Items() const {
  std::vector<std::string> out;
  if (!hwnd_) return out;
  const LRESULT count = SendMessageW(hwnd_, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) out.push_back(ItemText(static_cast<int>(i)));
  return out;
}

void Win32ComboBoxPeer::SetItemIndex(int i) {
  if (!hwnd_) return;
  // Out of range selects nothing and empties the text.
  const LRESULT count = SendMessageW(hwnd_, CB_GETCOUNT, 0, 0);
  SendMessageW(hwnd_, CB_SETCURSEL, static_cast<WPARAM>(i < 0 || i >= count ? -1 : i), 0);
}

int Win32ComboBoxPeer::ItemIndex() const {
  if (!hwnd_) return -1;
  const LRESULT i = SendMessageW(hwnd_, CB_GETCURSEL, 0, 0);
  return i == CB_ERR ? -1 : static_cast<int>(i);
}

void Win32ComboBoxPeer::OnCommand(int code) {
  switch (code) {
    case CBN_SELCHANGE: {
      // The text field follows the choice only after this notification;
      // handlers of the choice already see the chosen text.
      const int i = ItemIndex();
      if (!drop_down_list_ && i >= 0) SetWindowTextW(hwnd_, Wide(ItemText(i)).c_str());
      if (PeerEvents* e = Events()) e->PeerChange();
      if (PeerEvents* e = Events()) e->PeerSelect();
      break;
    }
    case CBN_SETFOCUS:
      RaiseEnter();
      break;
    case CBN_KILLFOCUS:
      RaiseExit();
      break;
    case CBN_EDITCHANGE:
      if (PeerEvents* e = Events()) e->PeerChange();
      break;
    case CBN_CLOSEUP:
      if (PeerEvents* e = Events()) e->PeerCloseUp();
      break;
    default:
      break;
  }
}

}  // namespace wakumo
