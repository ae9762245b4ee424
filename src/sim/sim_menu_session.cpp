// Open menus in the simulation: entry geometry, highlighting and the
// application's hint text, and the keys that click a dialog's buttons.
#include <algorithm>
#include <stdexcept>

#include "core/text.h"
#include "sim/sim_ui.h"
#include "ui/hint_text.h"

namespace wakumo {

namespace {

constexpr int kMenuBorder = 3;
constexpr int kEntryHeight = 17;
constexpr int kSeparatorHeight = 9;
constexpr int kUnitWidth = 7;
constexpr int kExtraWidth = 40;

}  // namespace

// ---------------------------------------------------------------- entry geometry

Rect SimPopupMenuPeer::ItemRect(int index) const {
  const std::vector<SimMenuItemPeer*>& entries = root_.Items();
  if (tk_.OpenMenu() != this || index < 0 || index >= static_cast<int>(entries.size())) return {};
  std::size_t widest = 0;
  for (const SimMenuItemPeer* e : entries) widest = std::max(widest, Utf8ToUtf16(e->Caption()).size());
  const int left = last_point_.x + kMenuBorder;
  const int right = left + kExtraWidth + kUnitWidth * static_cast<int>(widest);
  int top = last_point_.y + kMenuBorder;
  for (int i = 0; i < index; ++i) top += entries[static_cast<std::size_t>(i)]->IsSeparator() ? kSeparatorHeight : kEntryHeight;
  const int height = entries[static_cast<std::size_t>(index)]->IsSeparator() ? kSeparatorHeight : kEntryHeight;
  return {left, top, right, top + height};
}

int SimPopupMenuPeer::ItemFromPoint(Point screen) const {
  if (tk_.OpenMenu() != this) return -1;
  for (int i = 0; i < static_cast<int>(root_.Items().size()); ++i) {
    if (ItemRect(i).Contains(screen)) return i;
  }
  return -1;
}

// ---------------------------------------------------------------- sessions

void SimToolkit::RunMenuSession(SimPopupMenuPeer& menu) {
  const auto session = std::move(menu_sessions_.front());
  menu_sessions_.pop_front();
  struct Closing {
    SimToolkit& tk;
    SimPopupMenuPeer* previous;
    ~Closing() {
      tk.open_menu_ = previous;
      tk.application_.SetHint("");
    }
  };
  std::string choice;
  {
    Closing closing{*this, open_menu_};
    open_menu_ = &menu;
    choice = session();
  }
  if (choice.empty()) return;
  SimMenuItemPeer* item = menu.Items().FindInTree(choice);
  if (item && item != &menu.Items() && item->Choosable()) item->Click();
}

bool SimToolkit::HighlightMenuItem(std::string_view name_or_caption) {
  if (!open_menu_) return false;
  SimMenuItemPeer* item = open_menu_->Items().FindInTree(name_or_caption);
  if (!item || item->Parent() != &open_menu_->Items()) return false;
  Highlight(*item, true);
  return true;
}

bool SimToolkit::HighlightMenuItemByKey(std::string_view name_or_caption) {
  if (!open_menu_) return false;
  SimMenuItemPeer* item = open_menu_->Items().FindInTree(name_or_caption);
  if (!item || item->Parent() != &open_menu_->Items()) return false;
  Highlight(*item, false);
  return true;
}

void SimToolkit::Highlight(SimMenuItemPeer& item, bool move_pointer) {
  if (move_pointer) {
    const std::vector<SimMenuItemPeer*>& entries = open_menu_->Items().Items();
    const auto at = std::find(entries.begin(), entries.end(), &item);
    const Rect r = open_menu_->ItemRect(static_cast<int>(at - entries.begin()));
    desktop_.SetCursorPos({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
  }
  application_.SetHint(item.IsSeparator() ? std::string() : LongHint(item.Hint()));
}

// ---------------------------------------------------------------- dialog keys

bool SimToolkit::PressDialogKey(std::string_view form, int virtual_key) {
  SimControlPeer& f = Get(form);
  if (f.kind_ != ControlKind::Form || !f.CanTakeInput()) return false;
  for (SimControlPeer* peer : controls_) {
    auto* c = dynamic_cast<SimButtonPeer*>(peer);
    if (!c) continue;
    const bool wanted = virtual_key == VK_RETURN_ ? c->IsDefault() : virtual_key == VK_ESCAPE_ && c->IsCancel();
    if (!wanted || !c->CanTakeInput()) continue;
    const SimControlPeer* root = c;
    while (root->parent_) root = root->parent_;
    if (root != &f) continue;
    c->events_.PeerClick();
    return true;
  }
  return false;
}

}  // namespace wakumo
