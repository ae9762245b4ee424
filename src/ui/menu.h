#pragma once
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "ui/control.h"
#include "ui/peer.h"

namespace wakumo {

class TMenuItem : protected MenuItemEvents {
 public:
  TMenuItem(UiToolkit& tk, const std::string& name, const std::string& caption);
  ~TMenuItem() override = default;
  TMenuItem(const TMenuItem&) = delete;
  TMenuItem& operator=(const TMenuItem&) = delete;

  const std::string& Name() const { return peer_->Name(); }
  MenuItemPeer& Peer() { return *peer_; }
  void SetCaption(const std::string& s) { peer_->SetCaption(s); }
  std::string Caption() const { return peer_->Caption(); }
  // Checking a radio entry unchecks the radio entries of the same group
  // index among its parent entry's children.
  void SetChecked(bool c);
  bool Checked() const { return peer_->Checked(); }
  void SetRadioItem(bool r) { peer_->SetRadioItem(r); }
  bool RadioItem() const { return peer_->RadioItem(); }
  void SetGroupIndex(int g) { group_index_ = g; }
  int GroupIndex() const { return group_index_; }
  // The menu's default entry, shown bold.
  void SetDefault(bool d) { peer_->SetDefault(d); }
  bool Default() const { return peer_->Default(); }
  void SetEnabled(bool e) { peer_->SetEnabled(e); }
  bool Enabled() const { return peer_->Enabled(); }
  void SetHint(const std::string& h) { peer_->SetHint(h); }
  std::string Hint() const { return peer_->Hint(); }
  void SetPicture(const std::string& resource) { peer_->SetPicture(resource); }
  std::string Picture() const { return peer_->Picture(); }
  // The program's own number for the entry; the widget set never sees it.
  void SetTag(int tag) { tag_ = tag; }
  int Tag() const { return tag_; }
  // Bytes the program keeps with the entry, as with Tag; the widget set never
  // sees them either.
  void SetData(std::string data) { data_ = std::move(data); }
  const std::string& Data() const { return data_; }

  // Appends a child entry; the item owns it.
  TMenuItem& Add(std::unique_ptr<TMenuItem> child);
  TMenuItem& Add(UiToolkit& tk, const std::string& name, const std::string& caption);
  // Removes and frees the child at `index`; out of range: nothing. Never
  // from inside that child's own click.
  void Delete(std::size_t index);
  void Clear();
  std::size_t Count() const { return children_.size(); }
  TMenuItem& Item(std::size_t i) { return *children_[i]; }

  TNotifyEvent OnClick;

 protected:
  void PeerClick() override { if (OnClick) OnClick(); }

 private:
  std::unique_ptr<MenuItemPeer> peer_;
  std::vector<std::unique_ptr<TMenuItem>> children_;
  TMenuItem* parent_ = nullptr;
  int tag_ = 0;
  int group_index_ = 0;
  std::string data_;
};

class TPopupMenu {
 public:
  TPopupMenu(UiToolkit& tk, const std::string& name);
  ~TPopupMenu();
  TPopupMenu(const TPopupMenu&) = delete;
  TPopupMenu& operator=(const TPopupMenu&) = delete;
  PopupMenuPeer& Peer() { return *peer_; }
  TMenuItem& Add(UiToolkit& tk, const std::string& name, const std::string& caption);
  // A new entry at `index` (clamped to the end).
  TMenuItem& Insert(UiToolkit& tk, std::size_t index, const std::string& name, const std::string& caption);
  // Removes and frees the entry at `index`; out of range: nothing. Never
  // from inside that entry's own click.
  void Delete(std::size_t index);
  std::size_t Count() const { return items_.size(); }
  TMenuItem& Item(std::size_t i) { return *items_[i]; }
  void Popup(int x, int y) { peer_->Popup({x, y}); }
  // While open: the entry at a screen point (-1 for none) and an entry's
  // rectangle on the screen.
  int ItemFromPoint(Point screen) const { return peer_->ItemFromPoint(screen); }
  Rect ItemRect(int index) const { return peer_->ItemRect(index); }

  // Whoever keeps a pointer to the menu hears when it is destroyed, so that
  // it can drop the pointer. One callback per holder; adding again replaces.
  void AddFreeNotification(const void* holder, std::function<void()> destroyed);
  void RemoveFreeNotification(const void* holder);

 private:
  std::unique_ptr<PopupMenuPeer> peer_;
  std::vector<std::unique_ptr<TMenuItem>> items_;
  std::vector<std::pair<const void*, std::function<void()>>> free_notifications_;
};

}  // namespace wakumo
