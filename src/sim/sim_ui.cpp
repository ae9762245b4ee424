// The simulated widget set's core: making controls and their windows, the
// registry tests look them up in, what every control has (bounds, caption,
// visibility), the screen and the application.
#include "sim/sim_ui.h"

#include <algorithm>
#include <stdexcept>

#include "sim/sim_hint_window.h"

namespace wakumo {

namespace {

bool IsWindowedKind(ControlKind kind) {
  switch (kind) {
    case ControlKind::Form:
    case ControlKind::Panel:
    case ControlKind::Button:
    case ControlKind::CheckBox:
    case ControlKind::ComboBox:
    case ControlKind::DropDownList:
    case ControlKind::Edit:
    case ControlKind::ListView:
    case ControlKind::ValueListEditor:
    case ControlKind::HintWindow:
      return true;
    default:
      return false;
  }
}

std::string ClassNameFor(ControlKind kind, const std::string& name) {
  switch (kind) {
    case ControlKind::Form: return "T" + name;
    case ControlKind::Panel: return "TPanel";
    case ControlKind::Button: return "TButton";
    case ControlKind::CheckBox: return "TCheckBox";
    case ControlKind::ComboBox:
    case ControlKind::DropDownList: return "TComboBox";
    case ControlKind::Edit: return "TEdit";
    case ControlKind::ListView: return "TListView";
    case ControlKind::ValueListEditor: return "TValueListEditor";
    case ControlKind::HintWindow: return "THintWindow";
    default: return {};
  }
}

constexpr std::uint32_t kFormStyle = WS_CAPTION_ | WS_SYSMENU_ | WS_MINIMIZEBOX_;

std::unique_ptr<SimControlPeer> MakePeer(SimToolkit& tk, ControlKind kind, SimControlPeer* parent, PeerEvents& events,
                                         const std::string& name) {
  switch (kind) {
    case ControlKind::Form: return std::make_unique<SimFormPeer>(tk, parent, events, name);
    case ControlKind::Panel: return std::make_unique<SimPanelPeer>(tk, kind, parent, events, name);
    case ControlKind::Image: return std::make_unique<SimPicturePeer>(tk, kind, parent, events, name);
    case ControlKind::Label: return std::make_unique<SimLabelPeer>(tk, kind, parent, events, name);
    case ControlKind::Button: return std::make_unique<SimButtonPeer>(tk, kind, parent, events, name);
    case ControlKind::SpeedButton: return std::make_unique<SimSpeedButtonPeer>(tk, kind, parent, events, name);
    case ControlKind::CheckBox: return std::make_unique<SimCheckBoxPeer>(tk, kind, parent, events, name);
    case ControlKind::ComboBox:
    case ControlKind::DropDownList: return std::make_unique<SimItemsPeer>(tk, kind, parent, events, name);
    case ControlKind::Edit: return std::make_unique<SimEditPeer>(tk, kind, parent, events, name);
    case ControlKind::ListView: return std::make_unique<SimListViewPeer>(tk, kind, parent, events, name);
    case ControlKind::ValueListEditor: return std::make_unique<SimGridPeer>(tk, kind, parent, events, name);
    case ControlKind::HintWindow: return std::make_unique<SimHintWindowPeer>(tk, kind, parent, events, name);
    case ControlKind::PaintBox: break;
  }
  return std::make_unique<SimControlPeer>(tk, kind, parent, events, name);
}

}  // namespace

SimControlPeer::SimControlPeer(SimToolkit& tk, ControlKind kind, SimControlPeer* parent, PeerEvents& events,
                               std::string name)
    : tk_(tk), kind_(kind), parent_(parent), events_(events), name_(std::move(name)),
      // Forms and hint windows start hidden until shown; controls visible.
      visible_(kind != ControlKind::Form && kind != ControlKind::HintWindow) {
  if (!IsWindowedKind(kind)) return;
  SimWindowSpec desc;
  desc.class_name = ClassNameFor(kind, name_);
  desc.visible = visible_;
  desc.own_process = true;
  Point offset;
  const WindowHandle host = parent_ ? HostWindow(&offset) : 0;
  if (kind == ControlKind::HintWindow) {
    // A popup of its owner's, above every ordinary window.
    desc.style = WS_POPUP_ | kSimWsBorder;
    desc.ex_style = WS_EX_TOOLWINDOW_;
    desc.parent = host;
  } else if (kind == ControlKind::Form || host == 0) {
    desc.style = kind == ControlKind::Form ? kFormStyle : WS_POPUP_;
  } else {
    desc.style = WS_CHILD_;
    desc.parent = host;
  }
  handle_ = Desktop().Create(desc);
  if (kind == ControlKind::HintWindow) Desktop().SetTopmost(handle_, true);
}

SimControlPeer::~SimControlPeer() {
  tk_.Forget(this);
  Desktop().Destroy(handle_);
}

SimDesktop& SimControlPeer::Desktop() const { return tk_.Desktop(); }

WindowHandle SimControlPeer::HostWindow(Point* offset) const {
  *offset = {};
  for (const SimControlPeer* p = parent_; p; p = p->parent_) {
    if (p->handle_ != 0) return p->handle_;
    const Rect b = p->bounds_;
    offset->x += b.left;
    offset->y += b.top;
  }
  return 0;
}

void SimControlPeer::SetBounds(const Rect& r) {
  if (handle_ == 0) {
    bounds_ = r;
    return;
  }
  Point offset;
  HostWindow(&offset);
  Desktop().SetRect(handle_, OffsetRect(r, offset));
}

Rect SimControlPeer::Bounds() const {
  if (handle_ == 0 || !Desktop().Exists(handle_)) return bounds_;
  Point offset;
  HostWindow(&offset);
  return OffsetRect(Desktop().LocalRect(handle_), {-offset.x, -offset.y});
}

void SimControlPeer::SetCaption(const std::string& text) {
  caption_ = text;
  if (handle_ != 0) Desktop().SetTitle(handle_, text);
}

std::string SimControlPeer::Caption() const {
  return handle_ != 0 && Desktop().Exists(handle_) ? Desktop().TitleOf(handle_) : caption_;
}

void SimControlPeer::SetVisible(bool v) {
  visible_ = v;
  if (handle_ != 0) Desktop().SetVisible(handle_, v);
}

bool SimControlPeer::Visible() const {
  return handle_ != 0 && Desktop().Exists(handle_) ? Desktop().VisibleFlag(handle_) : visible_;
}

void SimPicturePeer::SetPicture(const std::string& resource, bool transparent) {
  picture_ = resource;
  picture_transparent_ = transparent;
}

void SimSpeedButtonPeer::SetSpeedStyle(bool flat, int group, bool allow_all_up) {
  flat_ = flat;
  group_index_ = group;
  allow_all_up_ = allow_all_up;
}

Point SimControlPeer::ClientToScreen(Point client) const {
  if (handle_ != 0) {
    const Rect c = Desktop().ClientScreenRect(handle_);
    return {c.left + client.x, c.top + client.y};
  }
  const Rect b = bounds_;
  if (!parent_) return {b.left + client.x, b.top + client.y};
  return parent_->ClientToScreen({b.left + client.x, b.top + client.y});
}

Rect SimControlPeer::ScreenBounds() const {
  if (handle_ != 0) return Desktop().ScreenRect(handle_);
  const Point tl = ClientToScreen({0, 0});
  return {tl.x, tl.y, tl.x + bounds_.Width(), tl.y + bounds_.Height()};
}

std::string SimScreen::CursorResource(int id) const {
  auto it = cursors_.find(id);
  return it == cursors_.end() ? std::string() : it->second;
}

std::unique_ptr<ControlPeer> SimToolkit::CreateControl(ControlKind kind, ControlPeer* parent, PeerEvents& events,
                                                       const std::string& name) {
  auto* sim_parent = dynamic_cast<SimControlPeer*>(parent);
  std::unique_ptr<SimControlPeer> peer = MakePeer(*this, kind, sim_parent, events, name);
  controls_.push_back(peer.get());
  if (kind == ControlKind::Form && !main_form_) main_form_ = dynamic_cast<SimFormPeer*>(peer.get());
  return peer;
}

std::unique_ptr<MenuItemPeer> SimToolkit::CreateMenuItem(MenuItemEvents& events, const std::string& name) {
  auto item = std::make_unique<SimMenuItemPeer>(this, events, name);
  menu_items_.push_back(item.get());
  return item;
}

std::unique_ptr<PopupMenuPeer> SimToolkit::CreatePopupMenu(const std::string& name) {
  auto menu = std::make_unique<SimPopupMenuPeer>(*this, name);
  popup_menus_.push_back(menu.get());
  return menu;
}

void SimToolkit::Forget(SimControlPeer* peer) {
  controls_.erase(std::remove(controls_.begin(), controls_.end(), peer), controls_.end());
  for (SimControlPeer* c : controls_) {
    if (c->parent_ == peer) c->parent_ = nullptr;
  }
  if (main_form_ == peer) main_form_ = nullptr;
  if (pressed_ == peer) pressed_ = nullptr;
  if (captured_ == peer) captured_ = nullptr;
  if (hovered_ == peer) hovered_ = nullptr;
  if (focused_ == peer) focused_ = nullptr;
}

void SimToolkit::Forget(SimMenuItemPeer* item) {
  menu_items_.erase(std::remove(menu_items_.begin(), menu_items_.end(), item), menu_items_.end());
}

void SimToolkit::Forget(SimPopupMenuPeer* menu) {
  popup_menus_.erase(std::remove(popup_menus_.begin(), popup_menus_.end(), menu), popup_menus_.end());
  if (open_menu_ == menu) open_menu_ = nullptr;
  for (SimControlPeer* c : controls_) {
    auto* form = dynamic_cast<SimFormPeer*>(c);
    if (form && form->popup_menu_ == menu) form->popup_menu_ = nullptr;
  }
}

void SimToolkit::NotePopup(SimPopupMenuPeer& menu, Point screen) {
  ++popup_count_;
  last_popup_point_ = screen;
  last_popup_menu_ = menu.Name();
}

SimControlPeer* SimToolkit::Find(std::string_view name) const {
  std::string_view form;
  if (auto dot = name.find('.'); dot != std::string_view::npos) {
    form = name.substr(0, dot);
    name = name.substr(dot + 1);
  }
  for (SimControlPeer* c : controls_) {
    if (c->name_ != name) continue;
    if (form.empty()) return c;
    const SimControlPeer* root = c;
    while (root->parent_) root = root->parent_;
    if (root->name_ == form) return c;
  }
  return nullptr;
}

SimControlPeer& SimToolkit::Get(std::string_view name) const {
  SimControlPeer* c = Find(name);
  if (!c) throw std::out_of_range("no control named " + std::string(name));
  return *c;
}

SimControlPeer* SimToolkit::FindByHandle(WindowHandle w) const {
  if (w == 0) return nullptr;
  for (SimControlPeer* c : controls_) {
    if (c->handle_ == w) return c;
  }
  return nullptr;
}

SimControlPeer* SimToolkit::ControlAt(Point screen) const {
  SimControlPeer* hit = FindByHandle(desktop_.HitTest(screen));
  // Windowless controls paint on their parent's window; the later made lies on top.
  bool descended = hit != nullptr;
  while (descended) {
    descended = false;
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
      SimControlPeer* c = *it;
      if (c->parent_ == hit && c->handle_ == 0 && c->Visible() && c->ScreenBounds().Contains(screen)) {
        hit = c;
        descended = true;
        break;
      }
    }
  }
  return hit;
}

SimMenuItemPeer* SimToolkit::FindMenuItem(std::string_view name_or_caption) const {
  for (SimMenuItemPeer* item : menu_items_) {
    if (!item->Name().empty() && item->Name() == name_or_caption) return item;
  }
  for (SimMenuItemPeer* item : menu_items_) {
    if (item->Caption() == name_or_caption) return item;
  }
  return nullptr;
}

SimPopupMenuPeer* SimToolkit::FindPopupMenu(std::string_view name) const {
  for (SimPopupMenuPeer* m : popup_menus_) {
    if (m->Name() == name) return m;
  }
  return nullptr;
}

WindowHandle SimApplication::Handle() const {
  const SimControlPeer* main = tk_.MainForm();
  return main ? main->Handle() : 0;
}

void SimApplication::RunHandler(std::function<void()> handler) {
  // A copy: the handler may install another in its place.
  if (!handler) return;
  try {
    handler();
  } catch (const std::exception& e) {
    messages_.push_back(e.what());
  }
}

void SimApplication::Minimize() {
  if (const WindowHandle w = Handle()) tk_.Desktop().Minimise(w);
  RunHandler(on_minimize_);
}

void SimApplication::Restore() {
  ++restore_count_;
  const WindowHandle w = Handle();
  if (w == 0) return;
  SimDesktop& desk = tk_.Desktop();
  const bool was_minimised = desk.MinimisedFlag(w);
  desk.Restore(w);
  desk.SetVisible(w, true);
  desk.SetForeground(w);
  if (was_minimised) RunHandler(on_restore_);
}

}  // namespace wakumo
