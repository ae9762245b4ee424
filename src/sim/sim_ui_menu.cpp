// Simulated menu entries and popup menus: the entry tree, and popping up as
// tests script it.
#include "sim/sim_ui.h"

#include <algorithm>
#include <stdexcept>
#include <string>


namespace wakumo {

SimMenuItemPeer::SimMenuItemPeer(SimToolkit* tk, MenuItemEvents& events, std::string name)
    : MenuItemPeer(std::move(name)), tk_(tk), events_(events) {}

SimMenuItemPeer::~SimMenuItemPeer() {
  if (parent_) parent_->Remove(this);
  for (SimMenuItemPeer* c : children_) c->parent_ = nullptr;
  if (tk_) tk_->Forget(this);
}

void SimMenuItemPeer::Insert(int index, MenuItemPeer* child) {
  auto* item = dynamic_cast<SimMenuItemPeer*>(child);
  if (!item || item == this) return;
  if (item->parent_) item->parent_->Remove(item);
  const int size = static_cast<int>(children_.size());
  index = std::clamp(index, 0, size);
  children_.insert(children_.begin() + index, item);
  item->parent_ = this;
}

void SimMenuItemPeer::Remove(MenuItemPeer* child) {
  auto it = std::find(children_.begin(), children_.end(), child);
  if (it == children_.end()) return;
  (*it)->parent_ = nullptr;
  children_.erase(it);
}

std::vector<MenuItemPeer*> SimMenuItemPeer::Children() const {
  return {children_.begin(), children_.end()};
}

std::vector<std::string> SimMenuItemPeer::Captions() const {
  std::vector<std::string> out;
  for (const SimMenuItemPeer* c : children_) out.push_back(c->caption_);
  return out;
}

bool SimMenuItemPeer::Choosable() const {
  if (IsSeparator() || !children_.empty()) return false;
  for (const SimMenuItemPeer* p = this; p; p = p->parent_) {
    if (!p->enabled_) return false;
  }
  return true;
}

SimMenuItemPeer* SimMenuItemPeer::FindInTree(std::string_view name_or_caption) {
  std::vector<SimMenuItemPeer*> all{this};
  for (std::size_t i = 0; i < all.size(); ++i) {
    for (SimMenuItemPeer* c : all[i]->children_) all.push_back(c);
  }
  for (SimMenuItemPeer* item : all) {
    if (!item->name_.empty() && item->name_ == name_or_caption) return item;
  }
  for (SimMenuItemPeer* item : all) {
    if (item->caption_ == name_or_caption) return item;
  }
  return nullptr;
}

SimPopupMenuPeer::SimPopupMenuPeer(SimToolkit& tk, std::string name)
    : tk_(tk), name_(std::move(name)), root_(nullptr, root_events_, name_) {}

SimPopupMenuPeer::~SimPopupMenuPeer() { tk_.Forget(this); }

void SimPopupMenuPeer::Popup(Point screen) {
  ++popup_count_;
  last_point_ = screen;
  tk_.NotePopup(*this, screen);
  if (!tk_.menu_sessions_.empty()) {
    tk_.RunMenuSession(*this);
    return;
  }
  // Every close empties the application's hint, as the window system's
  // last menu notification does.
  tk_.application_.SetHint("");
  if (tk_.menu_choices_.empty()) return;
  const std::string choice = tk_.menu_choices_.front();
  tk_.menu_choices_.pop_front();
  SimMenuItemPeer* item = root_.FindInTree(choice);
  if (item && item != &root_ && item->Choosable()) item->Click();
}

bool SimToolkit::ChooseMenuItem(std::string_view name_or_caption) {
  SimMenuItemPeer* item = FindMenuItem(name_or_caption);
  if (!item) throw std::out_of_range("no menu item " + std::string(name_or_caption));
  if (!item->Choosable()) return false;
  item->Click();
  return true;
}

}  // namespace wakumo
