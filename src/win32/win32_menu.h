#pragma once
// Popup menus. The items keep their state; the Win32 menu is built from them
// each time the menu pops up, so it never lags behind a change. While a menu
// is open, the entry the user highlights becomes the application's hint.
#include <map>
#include <string>
#include <vector>

#include "ui/peer.h"
#include "win32/win32_api.h"

namespace wakumo {

class Win32Toolkit;

// WM_MEASUREITEM / WM_DRAWITEM for the pictures of menu entries, which the
// window a menu is tracked for receives. True when the message was one.
bool HandleMenuPictureMessage(UINT msg, LPARAM l, UINT dpi, LRESULT& result);

class Win32MenuItemPeer : public MenuItemPeer {
 public:
  Win32MenuItemPeer(MenuItemEvents& events, std::string name) : MenuItemPeer(std::move(name)), events_(events) {}

  void Insert(int index, MenuItemPeer* child) override;
  void Remove(MenuItemPeer* child) override;
  std::vector<MenuItemPeer*> Children() const override { return children_; }

  void RaiseClick() { events_.PeerClick(); }

 private:
  MenuItemEvents& events_;
  std::vector<MenuItemPeer*> children_;
};

class Win32PopupMenuPeer : public PopupMenuPeer {
 public:
  Win32PopupMenuPeer(Win32Toolkit& tk, const std::string& name) : tk_(tk), root_(root_events_, name) {}

  MenuItemPeer& Items() override { return root_; }
  void Popup(Point screen) override;
  int ItemFromPoint(Point screen) const override;
  Rect ItemRect(int index) const override;

 private:
  // Appends `item`'s children to `menu`; `chosen` maps command ids to items.
  void Build(HMENU menu, const MenuItemPeer& item, std::vector<Win32MenuItemPeer*>& chosen);
  // WM_MENUSELECT, which the window the menu is tracked for receives.
  static LRESULT CALLBACK OwnerSubclassProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l, UINT_PTR id, DWORD_PTR data);
  void OnMenuSelect(WPARAM w, LPARAM l);

  Win32Toolkit& tk_;
  MenuItemEvents root_events_;
  Win32MenuItemPeer root_;
  // While open: the menu, the entries by command id (from 1) and the items
  // whose entries hold each submenu.
  HMENU open_ = nullptr;
  std::vector<Win32MenuItemPeer*> chosen_;
  std::map<HMENU, const MenuItemPeer*> submenus_;
};

}  // namespace wakumo
