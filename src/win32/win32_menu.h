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
  Win32MenuItemPeer(MenuItemEvents& events, std::string name) : events_(events), name_(std::move(name)) {}

  const std::string& Name() const override { return name_; }
  void SetCaption(const std::string& c) override { caption_ = c; }
  std::string Caption() const override { return caption_; }
  void SetChecked(bool c) override { checked_ = c; }
  bool Checked() const override { return checked_; }
  void SetEnabled(bool e) override { enabled_ = e; }
  bool Enabled() const override { return enabled_; }
  void SetHint(const std::string& h) override { hint_ = h; }
  std::string Hint() const override { return hint_; }
  void SetPicture(const std::string& resource) override { picture_ = resource; }
  std::string Picture() const override { return picture_; }
  void SetDefault(bool d) override { default_ = d; }
  bool Default() const override { return default_; }
  void SetRadioItem(bool r) override { radio_ = r; }
  bool RadioItem() const override { return radio_; }
  void Insert(int index, MenuItemPeer* child) override;
  void Remove(MenuItemPeer* child) override;
  std::vector<MenuItemPeer*> Children() const override { return children_; }

  void RaiseClick() { events_.PeerClick(); }

 private:
  MenuItemEvents& events_;
  std::string name_;
  std::string caption_;
  std::string hint_;
  std::string picture_;
  bool checked_ = false;
  bool enabled_ = true;
  bool default_ = false;
  bool radio_ = false;
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
