#include "sim/sim_ui.h"

#include <algorithm>
#include <stdexcept>

#include "core/text.h"
#include "sim/sim_hint_window.h"
#include "ui/hint_text.h"
#include "ui/value_list_editor.h"

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

Rect Offset(const Rect& r, Point d) { return {r.left + d.x, r.top + d.y, r.right + d.x, r.bottom + d.y}; }

}  // namespace

// ---------------------------------------------------------------- controls

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
  if (kind == ControlKind::Form) Recentre();
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

void SimControlPeer::Recentre() {
  if (kind_ != ControlKind::Form || !centred_) return;
  const Rect r = Desktop().LocalRect(handle_);
  const int left = (Desktop().Metric(SystemMetric::CxScreen) - r.Width()) / 2;
  const int top = (Desktop().Metric(SystemMetric::CyScreen) - r.Height()) / 2;
  Desktop().SetRect(handle_, {left, top, left + r.Width(), top + r.Height()});
}

void SimControlPeer::SetBounds(const Rect& r) {
  if (handle_ == 0) {
    bounds_ = r;
    return;
  }
  if (kind_ == ControlKind::Form) {
    const Rect old = Desktop().LocalRect(handle_);
    // A size change alone keeps a centred form centred.
    if (r.left != old.left || r.top != old.top) centred_ = false;
    SetFormRect(r);
    Recentre();
    return;
  }
  Point offset;
  HostWindow(&offset);
  Desktop().SetRect(handle_, Offset(r, offset));
}

Rect SimControlPeer::Bounds() const {
  if (handle_ == 0 || !Desktop().Exists(handle_)) return bounds_;
  if (kind_ == ControlKind::Form) return Desktop().LocalRect(handle_);
  Point offset;
  HostWindow(&offset);
  return Offset(Desktop().LocalRect(handle_), {-offset.x, -offset.y});
}

void SimControlPeer::SetCaption(const std::string& text) {
  caption_ = text;
  if (handle_ != 0) Desktop().SetTitle(handle_, text);
  if (kind_ == ControlKind::Edit) {
    sel_start_ = sel_length_ = 0;
    modified_ = false;
    events_.PeerChange();
  }
}

void SimControlPeer::SetSel(int start, int length) {
  const int size = static_cast<int>(Utf8ToUtf16(Caption()).size());
  sel_start_ = std::clamp(start, 0, size);
  sel_length_ = std::clamp(length, 0, size - sel_start_);
}

void SimControlPeer::ReplaceEditText(const std::string& text, int caret) {
  caption_ = text;
  if (handle_ != 0) Desktop().SetTitle(handle_, text);
  sel_start_ = caret;
  sel_length_ = 0;
  modified_ = true;
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

void SimControlPeer::SetPicture(const std::string& resource, bool transparent) {
  picture_ = resource;
  picture_transparent_ = transparent;
}

void SimControlPeer::SetSpeedStyle(bool flat, int group, bool allow_all_up) {
  flat_ = flat;
  group_index_ = group;
  allow_all_up_ = allow_all_up;
}

void SimControlPeer::SetItems(const std::vector<std::string>& items) {
  items_ = items;
  item_index_ = -1;
  if (kind_ == ControlKind::DropDownList) SetCaption("");
}

void SimControlPeer::SetItemIndex(int index) {
  if (index >= 0 && index < static_cast<int>(items_.size())) {
    item_index_ = index;
    SetCaption(items_[static_cast<std::size_t>(index)]);
  } else {
    item_index_ = -1;
    SetCaption("");
  }
}

void SimControlPeer::SetClientSize(int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (handle_ == 0) {
    bounds_.right = bounds_.left + width;
    bounds_.bottom = bounds_.top + height;
    return;
  }
  // A form's client size is a design size, shown in the pixels of its DPI.
  if (kind_ == ControlKind::Form) {
    width = ScaleDesign(width);
    height = ScaleDesign(height);
  }
  const SimInsets in = Desktop().ClientInsets(handle_);
  const Rect r = Desktop().LocalRect(handle_);
  const Rect sized{r.left, r.top, r.left + width + in.left + in.right, r.top + height + in.top + in.bottom};
  if (kind_ == ControlKind::Form) {
    SetFormRect(sized);
  } else {
    Desktop().SetRect(handle_, sized);
  }
  Recentre();
}

Rect SimControlPeer::ClientRect() const {
  if (handle_ == 0) return {0, 0, bounds_.Width(), bounds_.Height()};
  const Rect c = Desktop().ClientScreenRect(handle_);
  if (kind_ == ControlKind::Form && dpi_ != 96) return {0, 0, c.Width() * 96 / dpi_, c.Height() * 96 / dpi_};
  return {0, 0, c.Width(), c.Height()};
}

int SimControlPeer::ScaleDesign(int v) const { return (v * dpi_ + 48) / 96; }

void SimControlPeer::ChangeDpi(int new_dpi) {
  if (kind_ != ControlKind::Form || handle_ == 0 || new_dpi <= 0 || new_dpi == dpi_) return;
  const int old_dpi = dpi_;
  const Rect old = Desktop().LocalRect(handle_);
  const Rect client = ClientRect();
  dpi_ = new_dpi;
  dpi_changing_ = true;
  // The window system's suggestion: the old rectangle scaled about its corner.
  SetFormRect({old.left, old.top, old.left + old.Width() * new_dpi / old_dpi,
               old.top + old.Height() * new_dpi / old_dpi});
  SetClientSize(client.Width(), client.Height());
  events_.PeerDpiChanged(old_dpi, new_dpi);
  dpi_changing_ = false;
}

void SimControlPeer::SetBorderIcons(bool system_menu, bool minimize, bool maximize) {
  if (handle_ == 0) return;
  std::uint32_t style = Desktop().StyleOf(handle_) & ~(WS_SYSMENU_ | WS_MINIMIZEBOX_ | WS_MAXIMIZEBOX_);
  if (system_menu) style |= WS_SYSMENU_;
  if (minimize) style |= WS_MINIMIZEBOX_;
  if (maximize) style |= WS_MAXIMIZEBOX_;
  Desktop().SetStyle(handle_, style);
}

void SimControlPeer::SetStayOnTop(bool on) {
  if (handle_ != 0) Desktop().SetTopmost(handle_, on);
}

bool SimControlPeer::StayOnTop() const {
  return handle_ != 0 && (Desktop().ExStyleOf(handle_) & kSimWsExTopmost);
}

void SimControlPeer::Show() {
  SetVisible(true);
  if (kind_ != ControlKind::Form) return;
  shown_ = true;
  Desktop().SetForeground(handle_);
}

void SimControlPeer::Close() {
  if (kind_ != ControlKind::Form) return;
  events_.PeerClose();
  SetVisible(false);
  if (tk_.MainForm() == this) tk_.Application().Terminate();
}

Rect SimControlPeer::WindowRect() const {
  // A minimised form answers where it comes back to, not its iconic place.
  if (kind_ == ControlKind::Form && Desktop().MinimisedFlag(handle_)) return Desktop().RestoreRect(handle_);
  if (handle_ != 0) return Desktop().ScreenRect(handle_);
  return ScreenBounds();
}

void SimControlPeer::SetWindowRect(const Rect& r) {
  if (kind_ != ControlKind::Form) return;
  centred_ = false;
  SetFormRect(r);
}

void SimControlPeer::SetFormRect(Rect r) {
  const Rect old = Desktop().LocalRect(handle_);
  if (sizeable_ && !dpi_changing_ && (r.Width() != old.Width() || r.Height() != old.Height())) {
    int width = r.Width();
    int height = r.Height();
    if (!events_.PeerCanResize(width, height)) {
      width = old.Width();
      height = old.Height();
    }
    r.right = r.left + std::max(width, 0);
    r.bottom = r.top + std::max(height, 0);
  }
  Desktop().SetRect(handle_, r);
  if (r.Width() != old.Width() || r.Height() != old.Height()) events_.PeerResize();
}

void SimControlPeer::SetSizeable(bool on) {
  sizeable_ = on;
  if (handle_ == 0) return;
  const std::uint32_t style = Desktop().StyleOf(handle_);
  Desktop().SetStyle(handle_, on ? style | WS_THICKFRAME_ : style & ~WS_THICKFRAME_);
}

void SimControlPeer::SetDialogFrame(bool on) {
  dialog_frame_ = on;
  if (handle_ == 0) return;
  if (on) SetSizeable(false);
  const std::uint32_t ex = Desktop().ExStyleOf(handle_);
  Desktop().SetExStyle(handle_, on ? ex | WS_EX_DLGMODALFRAME_ : ex & ~WS_EX_DLGMODALFRAME_);
}

void SimControlPeer::ClearRows() {
  rows_.clear();
  selected_row_ = -1;
}

std::optional<std::string> SimControlPeer::AppendKeyValue(const std::string& key, const std::string& value) {
  std::vector<std::string> keys;
  for (const auto& r : rows_) keys.push_back(r[0]);
  if (std::optional<std::string> refusal = RefuseGridKey(keys, RowCount(), key, events_)) return refusal;
  rows_.push_back({key, value});
  if (selected_row_ < 0) {
    selected_row_ = 0;
    selected_column_ = 1;
    whole_row_ = false;
  }
  return std::nullopt;
}

void SimControlPeer::ExchangeRows(int a, int b) {
  if (a < 0 || b < 0 || a >= RowCount() || b >= RowCount()) return;
  std::swap(rows_[static_cast<std::size_t>(a)], rows_[static_cast<std::size_t>(b)]);
}

void SimControlPeer::DeleteRow(int row) {
  if (row < 0 || row >= RowCount()) return;
  rows_.erase(rows_.begin() + row);
  selected_row_ = rows_.empty() ? -1 : std::min(selected_row_, RowCount() - 1);
}

void SimControlPeer::SelectWholeRow(int row) {
  if (row < 0 || row >= RowCount()) return;
  selected_row_ = row;
  whole_row_ = true;
}

ModalResult SimControlPeer::ShowModal() {
  if (kind_ != ControlKind::Form) return ModalResult::mrCancel;
  if (tk_.modal_scripts_.empty()) throw std::logic_error("modal form " + name_ + " shown with no script");
  const auto script = std::move(tk_.modal_scripts_.front());
  tk_.modal_scripts_.pop_front();
  ++tk_.modal_count_;
  // The other forms take no input while this one is open.
  std::vector<SimControlPeer*> disabled;
  for (SimControlPeer* c : tk_.controls_) {
    if (c != this && c->kind_ == ControlKind::Form && c->enabled_) {
      c->enabled_ = false;
      disabled.push_back(c);
    }
  }
  modal_result_ = ModalResult::mrNone;
  modal_open_ = true;
  Show();
  struct Restore {
    SimControlPeer& form;
    std::vector<SimControlPeer*>& disabled;
    ~Restore() {
      for (SimControlPeer* c : disabled) c->enabled_ = true;
      if (form.modal_open_) form.SetVisible(false);
      form.modal_open_ = false;
    }
  };
  bool left_open = false;
  {
    Restore restore{*this, disabled};
    script(*this);
    left_open = modal_open_;
  }
  if (left_open) throw std::logic_error("modal form " + name_ + " left open by its script");
  return modal_result_;
}

void SimControlPeer::EndModal(ModalResult result) {
  if (!modal_open_ || result == ModalResult::mrNone) return;
  modal_result_ = result;
  modal_open_ = false;
  SetVisible(false);
}

std::vector<std::string> SimControlPeer::RowTexts(int row) const {
  if (row < 0 || row >= RowCount()) return {};
  return rows_[static_cast<std::size_t>(row)];
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

bool SimControlPeer::CanTakeInput() const {
  for (const SimControlPeer* p = this; p; p = p->parent_) {
    if (!p->Enabled()) return false;
    if (p->kind_ != ControlKind::Form && !p->Visible()) return false;
  }
  return true;
}

void SimControlPeer::SetMouseCapture(bool on) {
  if (handle_ != 0) {
    if (on) {
      Desktop().SetCapture(handle_);
    } else if (Desktop().Capture() == handle_) {
      Desktop().ReleaseCapture();
    }
    return;
  }
  if (on) {
    tk_.captured_ = this;
  } else if (tk_.captured_ == this) {
    tk_.captured_ = nullptr;
  }
}

bool SimControlPeer::MouseCaptured() const {
  return handle_ != 0 ? Desktop().Capture() == handle_ : tk_.captured_ == this;
}

void SimControlPeer::SetFocus() {
  if (handle_ == 0 || !CanTakeInput()) return;
  tk_.MoveFocus(this);
}

bool SimControlPeer::Focused() const { return tk_.focused_ == this; }

// ---------------------------------------------------------------- menus

SimMenuItemPeer::SimMenuItemPeer(SimToolkit* tk, MenuItemEvents& events, std::string name)
    : tk_(tk), events_(events), name_(std::move(name)) {}

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

std::string SimScreen::CursorResource(int id) const {
  auto it = cursors_.find(id);
  return it == cursors_.end() ? std::string() : it->second;
}

// ---------------------------------------------------------------- toolkit

std::unique_ptr<ControlPeer> SimToolkit::CreateControl(ControlKind kind, ControlPeer* parent, PeerEvents& events,
                                                       const std::string& name) {
  auto* sim_parent = dynamic_cast<SimControlPeer*>(parent);
  std::unique_ptr<SimControlPeer> peer =
      kind == ControlKind::HintWindow ? std::make_unique<SimHintWindowPeer>(*this, kind, sim_parent, events, name)
                                      : std::make_unique<SimControlPeer>(*this, kind, sim_parent, events, name);
  controls_.push_back(peer.get());
  if (kind == ControlKind::Form && !main_form_) main_form_ = peer.get();
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
    if (c->popup_menu_ == menu) c->popup_menu_ = nullptr;
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

bool SimToolkit::Click(std::string_view name) {
  SimControlPeer& c = Get(name);
  if (!c.CanTakeInput()) return false;
  if (c.kind_ == ControlKind::CheckBox) {
    c.checked_ = !c.checked_;
  } else if (c.kind_ == ControlKind::SpeedButton && c.group_index_ != 0) {
    if (!c.checked_) {
      for (SimControlPeer* other : controls_) {
        if (other != &c && other->kind_ == ControlKind::SpeedButton && other->parent_ == c.parent_ &&
            other->group_index_ == c.group_index_) {
          other->checked_ = false;
        }
      }
      c.checked_ = true;
    } else if (c.allow_all_up_) {
      c.checked_ = false;
    }
  }
  c.events_.PeerClick();
  return true;
}

bool SimToolkit::DblClick(std::string_view name) {
  SimControlPeer& c = Get(name);
  if (!c.CanTakeInput()) return false;
  c.events_.PeerDblClick();
  return true;
}

bool SimToolkit::MouseDown(std::string_view name, MouseButton button, ShiftState shift, Point client) {
  SimControlPeer& c = Get(name);
  if (!c.CanTakeInput()) return false;
  desktop_.SetCursorPos(c.ClientToScreen(client));
  pressed_ = &c;
  c.events_.PeerMouseDown(button, shift, client);
  return true;
}

bool SimToolkit::MouseMove(std::string_view name, ShiftState shift, Point client) {
  SimControlPeer& c = Get(name);
  if (!c.CanTakeInput()) return false;
  desktop_.SetCursorPos(c.ClientToScreen(client));
  c.events_.PeerMouseMove(shift, client);
  return true;
}

bool SimToolkit::MouseUp(std::string_view name, MouseButton button, ShiftState shift, Point client) {
  SimControlPeer& c = Get(name);
  if (!c.CanTakeInput()) return false;
  desktop_.SetCursorPos(c.ClientToScreen(client));
  pressed_ = nullptr;
  c.events_.PeerMouseUp(button, shift, client);
  return true;
}

SimControlPeer* SimToolkit::RouteTarget(Point screen) const {
  if (captured_) return captured_;
  if (SimControlPeer* c = FindByHandle(desktop_.Capture())) return c;
  if (pressed_) return pressed_;
  return ControlAt(screen);
}

SimControlPeer* SimToolkit::MouseMoveOnScreen(Point screen, ShiftState shift) {
  desktop_.SetCursorPos(screen);
  SimControlPeer* c = RouteTarget(screen);
  if (c) {
    const Point origin = c->ClientToScreen({0, 0});
    c->events_.PeerMouseMove(shift, {screen.x - origin.x, screen.y - origin.y});
  }
  TrackHover(screen);
  return c;
}

SimControlPeer* SimToolkit::MouseUpOnScreen(Point screen, MouseButton button, ShiftState shift) {
  desktop_.SetCursorPos(screen);
  SimControlPeer* c = RouteTarget(screen);
  pressed_ = nullptr;
  if (c) {
    const Point origin = c->ClientToScreen({0, 0});
    c->events_.PeerMouseUp(button, shift, {screen.x - origin.x, screen.y - origin.y});
  }
  TrackHover(screen);
  return c;
}

// Enter and leave follow the control under the cursor, whoever holds the
// capture, as the classic widget set tracks its windowless controls.
void SimToolkit::TrackHover(Point screen) {
  SimControlPeer* under = ControlAt(screen);
  // The application's hint follows the control under the mouse, or the
  // nearest container of it that has one.
  std::string hint;
  for (const SimControlPeer* c = under; c && hint.empty(); c = c->parent_) hint = c->hint_;
  application_.SetHint(LongHint(hint));
  if (under == hovered_) return;
  SimControlPeer* left = hovered_;
  hovered_ = under;
  if (left && left->kind_ == ControlKind::PaintBox) left->events_.PeerMouseLeave();
  if (under && under == hovered_ && under->kind_ == ControlKind::PaintBox) under->events_.PeerMouseEnter();
}

bool SimToolkit::MouseEnter(std::string_view name) {
  SimControlPeer& c = Get(name);
  if (!c.CanTakeInput()) return false;
  if (hovered_ && hovered_ != &c) {
    SimControlPeer* left = hovered_;
    hovered_ = nullptr;
    left->events_.PeerMouseLeave();
  }
  hovered_ = &c;
  c.events_.PeerMouseEnter();
  return true;
}

bool SimToolkit::MouseLeave(std::string_view name) {
  SimControlPeer& c = Get(name);
  if (!c.CanTakeInput()) return false;
  if (hovered_ == &c) hovered_ = nullptr;
  c.events_.PeerMouseLeave();
  return true;
}

void SimToolkit::MoveFocus(SimControlPeer* to) {
  if (focused_ == to) return;
  SimControlPeer* from = focused_;
  focused_ = to;
  if (from) from->events_.PeerExit();
  if (to && focused_ == to) to->events_.PeerEnter();
}

RasterCanvas SimToolkit::PaintToCanvas(std::string_view name, TColor background) {
  SimControlPeer& c = Get(name);
  const Rect b = c.Bounds();
  RasterCanvas canvas(b.Width(), b.Height(), background);
  PaintInto(c, canvas, {0, 0});
  return canvas;
}

void SimToolkit::PaintInto(SimControlPeer& control, RasterCanvas& target, Point origin) {
  if (control.kind_ == ControlKind::PaintBox) {
    // The box paints on what lies beneath it and cannot reach beyond its bounds.
    const Rect b = control.Bounds();
    RasterCanvas own(b.Width(), b.Height());
    own.Draw({-origin.x, -origin.y}, target.Surface(), false);
    control.events_.PeerPaint(own);
    target.Draw(origin, own.Surface(), false);
  }
  const std::vector<SimControlPeer*> children = controls_;
  for (SimControlPeer* child : children) {
    if (child->parent_ != &control || !child->Visible()) continue;
    const Rect cb = child->Bounds();
    PaintInto(*child, target, {origin.x + cb.left, origin.y + cb.top});
  }
}

bool SimToolkit::Select(std::string_view name, int index) {
  SimControlPeer& c = Get(name);
  if (c.kind_ != ControlKind::ComboBox && c.kind_ != ControlKind::DropDownList) return false;
  if (!c.CanTakeInput() || index < 0 || index >= static_cast<int>(c.items_.size())) return false;
  c.SetItemIndex(index);
  c.events_.PeerChange();
  c.events_.PeerSelect();
  c.events_.PeerCloseUp();
  return true;
}

bool SimToolkit::TypeText(std::string_view name, std::string_view text) {
  SimControlPeer& c = Get(name);
  if (c.kind_ != ControlKind::Edit && c.kind_ != ControlKind::ComboBox) return false;
  if (!c.CanTakeInput()) return false;
  if (c.kind_ == ControlKind::Edit) {
    c.ReplaceEditText(std::string(text), static_cast<int>(Utf8ToUtf16(text).size()));
  } else {
    c.SetCaption(std::string(text));
  }
  c.events_.PeerChange();
  return true;
}

bool SimToolkit::TypeChar(std::string_view name, char32_t ch) {
  SimControlPeer& c = Get(name);
  if (c.kind_ != ControlKind::Edit || !c.CanTakeInput()) return false;
  if (!c.events_.PeerKeyPress(ch)) return true;
  if (ch == 0x16) {  // Ctrl+V
    PasteInto(c);
    return true;
  }
  std::u16string text = Utf8ToUtf16(c.Caption());
  const std::size_t size = text.size();
  std::size_t start = std::min(static_cast<std::size_t>(c.sel_start_), size);
  const std::size_t length = std::min(static_cast<std::size_t>(c.sel_length_), size - start);
  if (ch == 8) {
    if (length > 0) {
      text.erase(start, length);
    } else if (start > 0) {
      // A surrogate pair goes as one character.
      const bool pair = start >= 2 && DecodeUtf16At(text, start - 2).length == 2;
      const std::size_t n = pair ? 2 : 1;
      text.erase(start - n, n);
      start -= n;
    } else {
      return true;
    }
  } else if (ch < 0x20 || ch == 0x7F) {
    return true;
  } else {
    std::u16string typed;
    AppendUtf16(typed, ch);
    text.replace(start, length, typed);
    start += typed.size();
  }
  c.ReplaceEditText(Utf16ToUtf8(text), static_cast<int>(start));
  c.events_.PeerChange();
  return true;
}

bool SimToolkit::TypeChars(std::string_view name, std::string_view text) {
  SimControlPeer& c = Get(name);
  if (c.kind_ != ControlKind::Edit || !c.CanTakeInput()) return false;
  for (const char32_t ch : Utf8ToUtf32(text)) TypeChar(name, ch);
  return true;
}

bool SimToolkit::Paste(std::string_view name) {
  SimControlPeer& c = Get(name);
  if (c.kind_ != ControlKind::Edit || !c.CanTakeInput()) return false;
  PasteInto(c);
  return true;
}

void SimToolkit::PasteInto(SimControlPeer& c) {
  if (c.events_.PeerPaste() || !clipboard_) return;
  const std::optional<std::string> clip = clipboard_->GetText();
  if (!clip) return;
  const std::u16string line = Utf8ToUtf16(clip->substr(0, clip->find_first_of("\r\n")));
  std::u16string text = Utf8ToUtf16(c.Caption());
  const std::size_t start = std::min(static_cast<std::size_t>(c.sel_start_), text.size());
  const std::size_t length = std::min(static_cast<std::size_t>(c.sel_length_), text.size() - start);
  text.replace(start, length, line);
  c.ReplaceEditText(Utf16ToUtf8(text), static_cast<int>(start + line.size()));
  c.events_.PeerChange();
}

bool SimToolkit::SetFocusTo(std::string_view name) {
  SimControlPeer& c = Get(name);
  c.SetFocus();
  return c.Focused();
}

bool SimToolkit::ContextMenu(std::string_view name, Point client) {
  SimControlPeer& c = Get(name);
  if (!c.CanTakeInput()) return false;
  for (SimControlPeer* p = &c; p; p = p->parent_) {
    if (p->popup_menu_) {
      p->popup_menu_->Popup(c.ClientToScreen(client));
      return true;
    }
  }
  return false;
}

bool SimToolkit::CloseForm(std::string_view name) {
  SimControlPeer& c = Get(name);
  if (c.kind_ != ControlKind::Form) return false;
  c.Close();
  return true;
}

bool SimToolkit::ResizeForm(std::string_view name, int width, int height) {
  SimControlPeer& c = Get(name);
  if (c.kind_ != ControlKind::Form || !c.sizeable_ || !c.Visible() || !c.CanTakeInput()) return false;
  const Rect r = desktop_.LocalRect(c.handle_);
  c.centred_ = false;
  c.SetFormRect({r.left, r.top, r.left + width, r.top + height});
  return true;
}

bool SimToolkit::SelectRow(std::string_view name, int row) {
  SimControlPeer& c = Get(name);
  if (c.kind_ != ControlKind::ListView || !c.CanTakeInput()) return false;
  if (row < -1 || row >= c.RowCount()) return false;
  c.selected_row_ = row;
  c.events_.PeerClick();
  return true;
}

bool SimToolkit::ClickCell(std::string_view name, int row, int column) {
  SimControlPeer& c = Get(name);
  if (c.kind_ != ControlKind::ValueListEditor || !c.CanTakeInput()) return false;
  if (row < 0 || row >= c.RowCount() || column < 0 || column > 1) return false;
  c.selected_row_ = row;
  c.selected_column_ = column;
  c.whole_row_ = false;
  c.events_.PeerClick();
  return true;
}

bool SimToolkit::EditKey(std::string_view name, int row, std::string_view key) {
  SimControlPeer& c = Get(name);
  if (c.kind_ != ControlKind::ValueListEditor || !c.CanTakeInput()) return false;
  if (row < 0 || row >= c.RowCount()) return false;
  std::vector<std::string> keys;
  for (const auto& r : c.rows_) keys.push_back(r[0]);
  if (std::optional<std::string> refusal = RefuseGridKey(keys, row, key, c.events_)) {
    application_.ShowMessage(*refusal);
    return false;
  }
  c.rows_[static_cast<std::size_t>(row)][0] = std::string(key);
  return true;
}

bool SimToolkit::EditValue(std::string_view name, int row, std::string_view value) {
  SimControlPeer& c = Get(name);
  if (c.kind_ != ControlKind::ValueListEditor || !c.CanTakeInput()) return false;
  if (row < 0 || row >= c.RowCount()) return false;
  c.rows_[static_cast<std::size_t>(row)][1] = std::string(value);
  return true;
}

bool SimToolkit::ChooseMenuItem(std::string_view name_or_caption) {
  SimMenuItemPeer* item = FindMenuItem(name_or_caption);
  if (!item) throw std::out_of_range("no menu item " + std::string(name_or_caption));
  if (!item->Choosable()) return false;
  item->Click();
  return true;
}

}  // namespace wakumo

namespace wakumo {

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
