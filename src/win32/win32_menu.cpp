#include "win32/win32_menu.h"

#include <algorithm>

#include "ui/hint_text.h"
#include "win32/win32_dpi.h"
#include "win32/win32_handles.h"
#include "win32/win32_text.h"
#include "win32/win32_toolkit.h"

namespace wakumo {

bool HandleMenuPictureMessage(UINT msg, LPARAM l, UINT dpi, LRESULT& result) {
  if (msg == WM_MEASUREITEM) {
    auto* m = reinterpret_cast<MEASUREITEMSTRUCT*>(l);
    if (m->CtlType != ODT_MENU || !m->itemData) return false;
    const auto* bmp = reinterpret_cast<const ResourceBitmap*>(m->itemData);
    m->itemWidth = static_cast<UINT>(ScaleToDpi(bmp->Width(), dpi));
    m->itemHeight = static_cast<UINT>(ScaleToDpi(bmp->Height(), dpi));
    result = TRUE;
    return true;
  }
  if (msg == WM_DRAWITEM) {
    const auto* d = reinterpret_cast<const DRAWITEMSTRUCT*>(l);
    if (d->CtlType != ODT_MENU || !d->itemData) return false;
    const auto* bmp = reinterpret_cast<const ResourceBitmap*>(d->itemData);
    const int w = ScaleToDpi(bmp->Width(), dpi);
    const int h = ScaleToDpi(bmp->Height(), dpi);
    const int x = d->rcItem.left;
    const int y = d->rcItem.top + (d->rcItem.bottom - d->rcItem.top - h) / 2;
    if (d->itemState & ODS_GRAYED) {
      bmp->DrawDisabled(d->hDC, x, y, w, h);
    } else {
      bmp->Draw(d->hDC, x, y, w, h, true);
    }
    result = TRUE;
    return true;
  }
  return false;
}

void Win32MenuItemPeer::Insert(int index, MenuItemPeer* child) {
  if (!child) return;
  const auto at = std::clamp<std::ptrdiff_t>(index, 0, static_cast<std::ptrdiff_t>(children_.size()));
  children_.insert(children_.begin() + at, child);
}

void Win32MenuItemPeer::Remove(MenuItemPeer* child) {
  children_.erase(std::remove(children_.begin(), children_.end(), child), children_.end());
}

namespace {

// The bold default entry and the dot of a radio entry, on the entry just appended.
void ApplyLook(HMENU menu, const MenuItemPeer& item) {
  if (!item.Default() && !item.RadioItem()) return;
  const int count = GetMenuItemCount(menu);
  if (count <= 0) return;
  const UINT last = static_cast<UINT>(count - 1);
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_FTYPE | MIIM_STATE;
  if (!GetMenuItemInfoW(menu, last, TRUE, &info)) return;
  if (item.RadioItem()) info.fType |= MFT_RADIOCHECK;
  if (item.Default()) info.fState |= MFS_DEFAULT;
  SetMenuItemInfoW(menu, last, TRUE, &info);
}

bool InTree(const MenuItemPeer& item, const MenuItemPeer* wanted) {
  for (const MenuItemPeer* child : item.Children()) {
    if (child == wanted || InTree(*child, wanted)) return true;
  }
  return false;
}

}  // namespace

void Win32PopupMenuPeer::Build(HMENU menu, const MenuItemPeer& item, std::vector<Win32MenuItemPeer*>& chosen) {
  for (MenuItemPeer* child : item.Children()) {
    const std::string caption = child->Caption();
    if (caption == "-") {
      AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    const std::wstring text = Wide(caption);
    UINT flags = MF_STRING;
    if (child->Checked()) flags |= MF_CHECKED;
    if (!child->Enabled()) flags |= MF_GRAYED;
    if (!child->Children().empty()) {
      HMENU sub = CreatePopupMenu();
      submenus_[sub] = child;
      Build(sub, *child, chosen);
      AppendMenuW(menu, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(sub), text.c_str());
      ApplyLook(menu, *child);
      continue;
    }
    // Command ids start at 1: TrackPopupMenu returns 0 for "nothing chosen".
    chosen.push_back(static_cast<Win32MenuItemPeer*>(child));
    AppendMenuW(menu, flags, chosen.size(), text.c_str());
    ApplyLook(menu, *child);
    if (const std::string picture = child->Picture(); !picture.empty()) {
      // Drawn by the owner window, so the silver background can be left out
      // the same way everywhere.
      if (const ResourceBitmap* bmp = tk_.Bitmap(picture)) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_BITMAP | MIIM_DATA;
        info.hbmpItem = HBMMENU_CALLBACK;
        info.dwItemData = reinterpret_cast<ULONG_PTR>(bmp);
        SetMenuItemInfoW(menu, static_cast<UINT>(chosen.size()), FALSE, &info);
      }
    }
  }
}

void Win32PopupMenuPeer::Popup(Point screen) {
  HMENU menu = CreatePopupMenu();
  if (!menu) return;
  std::vector<Win32MenuItemPeer*> chosen;
  submenus_.clear();
  submenus_[menu] = &root_;
  Build(menu, root_, chosen);
  HWND owner = tk_.MenuOwner();
  // Without the foreground the menu would not close when the user clicks elsewhere.
  SetForegroundWindow(owner);
  open_ = menu;
  chosen_ = chosen;
  const bool hooked = SetWindowSubclass(owner, &OwnerSubclassProc, reinterpret_cast<UINT_PTR>(this),
                                        reinterpret_cast<DWORD_PTR>(this)) != FALSE;
  const UINT cmd = static_cast<UINT>(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_TOPALIGN,
                                                    screen.x, screen.y, 0, owner, nullptr));
  if (hooked) RemoveWindowSubclass(owner, &OwnerSubclassProc, reinterpret_cast<UINT_PTR>(this));
  open_ = nullptr;
  chosen_.clear();
  // The closing notification empties the hint; should it not have come, the
  // hint of an entry of a closed menu must not stay.
  tk_.Application().SetHint("");
  PostMessageW(owner, WM_NULL, 0, 0);
  DestroyMenu(menu);
  // The click runs after the menu is gone: it may change the items freely.
  // Messages handled while the menu was open may have removed the entry.
  if (cmd >= 1 && cmd <= chosen.size() && InTree(root_, chosen[cmd - 1])) chosen[cmd - 1]->RaiseClick();
}

int Win32PopupMenuPeer::ItemFromPoint(Point screen) const {
  if (!open_) return -1;
  // A popup menu is found through the menu itself; the owner window would
  // only shift the coordinates.
  return MenuItemFromPoint(nullptr, open_, ToPOINT(screen));
}

Rect Win32PopupMenuPeer::ItemRect(int index) const {
  RECT r{};
  if (!open_ || index < 0 || !GetMenuItemRect(nullptr, open_, static_cast<UINT>(index), &r)) return {};
  return ToRect(r);
}

LRESULT CALLBACK Win32PopupMenuPeer::OwnerSubclassProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l, UINT_PTR,
                                                       DWORD_PTR data) {
  if (msg == WM_MENUSELECT) reinterpret_cast<Win32PopupMenuPeer*>(data)->OnMenuSelect(w, l);
  return DefSubclassProc(hwnd, msg, w, l);
}

void Win32PopupMenuPeer::OnMenuSelect(WPARAM w, LPARAM l) {
  const UINT flags = HIWORD(w);
  const auto menu = reinterpret_cast<HMENU>(l);
  std::string hint;
  if (flags == 0xFFFF && !menu) {
    // The menu closes.
  } else if (flags & MF_SEPARATOR) {
    // Separators have no hint.
  } else if (flags & MF_POPUP) {
    // A submenu's entry is reported by its position in the menu holding it.
    auto it = submenus_.find(menu);
    const std::vector<MenuItemPeer*> entries = it == submenus_.end() ? std::vector<MenuItemPeer*>{} : it->second->Children();
    const UINT index = LOWORD(w);
    if (index < entries.size()) hint = LongHint(entries[index]->Hint());
  } else {
    const UINT id = LOWORD(w);
    if (id >= 1 && id <= chosen_.size()) hint = LongHint(chosen_[id - 1]->Hint());
  }
  tk_.Application().SetHint(hint);
}

}  // namespace wakumo
