#include "ui/menu.h"

#include "ui/form.h"

namespace wakumo {

TMenuItem::TMenuItem(UiToolkit& tk, const std::string& name, const std::string& caption)
    : peer_(tk.CreateMenuItem(*this, name)) {
  peer_->SetCaption(caption);
}

TMenuItem& TMenuItem::Add(std::unique_ptr<TMenuItem> child) {
  peer_->Insert(static_cast<int>(children_.size()), child->peer_.get());
  children_.push_back(std::move(child));
  return *children_.back();
}

TPopupMenu::TPopupMenu(UiToolkit& tk, const std::string& name) : peer_(tk.CreatePopupMenu(name)) {}

TMenuItem& TPopupMenu::Add(UiToolkit& tk, const std::string& name, const std::string& caption) {
  auto item = std::make_unique<TMenuItem>(tk, name, caption);
  peer_->Items().Insert(static_cast<int>(items_.size()), &item->Peer());
  items_.push_back(std::move(item));
  return *items_.back();
}

void TForm::SetPopupMenu(TPopupMenu* menu) { Peer().SetPopupMenu(menu ? &menu->Peer() : nullptr); }

}  // namespace wakumo
