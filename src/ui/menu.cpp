#include "ui/menu.h"

#include <algorithm>

#include "ui/form.h"

namespace wakumo {

TMenuItem::TMenuItem(UiToolkit& tk, const std::string& name, const std::string& caption)
    : peer_(tk.CreateMenuItem(*this, name)) {
  peer_->SetCaption(caption);
}

TMenuItem& TMenuItem::Add(std::unique_ptr<TMenuItem> child) {
  peer_->Insert(static_cast<int>(children_.size()), child->peer_.get());
  child->parent_ = this;
  children_.push_back(std::move(child));
  return *children_.back();
}

TMenuItem& TMenuItem::Add(UiToolkit& tk, const std::string& name, const std::string& caption) {
  return Add(std::make_unique<TMenuItem>(tk, name, caption));
}

void TMenuItem::Delete(std::size_t index) {
  if (index >= children_.size()) return;
  peer_->Remove(children_[index]->peer_.get());
  children_.erase(children_.begin() + static_cast<std::ptrdiff_t>(index));
}

void TMenuItem::Clear() {
  while (!children_.empty()) Delete(children_.size() - 1);
}

void TMenuItem::SetChecked(bool c) {
  peer_->SetChecked(c);
  if (!c || !RadioItem() || !parent_) return;
  for (const std::unique_ptr<TMenuItem>& sibling : parent_->children_) {
    if (sibling.get() != this && sibling->RadioItem() && sibling->group_index_ == group_index_) {
      sibling->peer_->SetChecked(false);
    }
  }
}

TPopupMenu::TPopupMenu(UiToolkit& tk, const std::string& name) : peer_(tk.CreatePopupMenu(name)) {}

TPopupMenu::~TPopupMenu() {
  // A holder may remove others' notifications, or its own, from its callback.
  while (!free_notifications_.empty()) {
    auto callback = std::move(free_notifications_.back().second);
    free_notifications_.pop_back();
    if (callback) callback();
  }
}

void TPopupMenu::AddFreeNotification(const void* holder, std::function<void()> destroyed) {
  RemoveFreeNotification(holder);
  free_notifications_.emplace_back(holder, std::move(destroyed));
}

void TPopupMenu::RemoveFreeNotification(const void* holder) {
  std::erase_if(free_notifications_, [holder](const auto& n) { return n.first == holder; });
}

TMenuItem& TPopupMenu::Add(UiToolkit& tk, const std::string& name, const std::string& caption) {
  return Insert(tk, items_.size(), name, caption);
}

TMenuItem& TPopupMenu::Insert(UiToolkit& tk, std::size_t index, const std::string& name, const std::string& caption) {
  index = std::min(index, items_.size());
  auto item = std::make_unique<TMenuItem>(tk, name, caption);
  peer_->Items().Insert(static_cast<int>(index), &item->Peer());
  const auto at = items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(index), std::move(item));
  return **at;
}

void TPopupMenu::Delete(std::size_t index) {
  if (index >= items_.size()) return;
  peer_->Items().Remove(&items_[index]->Peer());
  items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(index));
}

void TForm::SetPopupMenu(TPopupMenu* menu) { Peer().SetPopupMenu(menu ? &menu->Peer() : nullptr); }

}  // namespace wakumo
