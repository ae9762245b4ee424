#pragma once
// In-memory widget set for headless tests. Windowed controls (forms, panels,
// buttons, check boxes, combo boxes, edits) own a window in a SimDesktop, so
// the features' window-system calls see them as the real ones; labels, images
// and speed buttons are windowless (handle 0), as in the classic widget set.
// A test reads the peers and drives them through the SimToolkit: clicks,
// mouse, typing, choosing entries and menu items.
//
// The toolkit must outlive every peer it made.
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"
#include "sim/sim_desktop.h"
#include "sim/raster_canvas.h"
#include "ui/application_hint.h"
#include "ui/peer.h"

namespace wakumo {

class SimToolkit;

// What every simulated control has; a paint box is no more than this. The
// kinds with properties of their own have their classes in sim_kind_peers.h.
class SimControlPeer : public virtual ControlPeer {
 public:
  SimControlPeer(SimToolkit& tk, ControlKind kind, SimControlPeer* parent, PeerEvents& events, std::string name);
  ~SimControlPeer() override;
  SimControlPeer(const SimControlPeer&) = delete;
  SimControlPeer& operator=(const SimControlPeer&) = delete;

  ControlKind Kind() const override { return kind_; }
  const std::string& Name() const override { return name_; }
  WindowHandle Handle() const override { return handle_; }
  // Forms are shown at their DPI (96 until ChangeDpi); other controls at 96.
  int ScreenDpi() const override { return 96; }

  void SetBounds(const Rect& r) override;
  Rect Bounds() const override;
  void SetCaption(const std::string& text) override;
  std::string Caption() const override;
  void SetVisible(bool v) override;
  bool Visible() const override;
  void SetEnabled(bool e) override { enabled_ = e; }
  bool Enabled() const override { return enabled_; }
  void SetHint(const std::string& hint) override { hint_ = hint; }
  std::string Hint() const override { return hint_; }
  void SetFont(const FontSpec& f) override { font_ = f; }
  FontSpec Font() const override { return font_; }
  void SetColor(TColor c) override { color_ = c; }
  TColor Color() const override { return color_; }
  void Repaint() override { ++repaint_count_; }
  void SetTabStop(bool on) override { tab_stop_ = on; }

  // Mouse capture (windowless controls hold it through the toolkit), the
  // cursor shown over the control, and the keyboard focus: only a windowed
  // control that can take input gets it; the one losing it hears PeerExit
  // before the new one hears PeerEnter.
  void SetMouseCapture(bool on) override;
  bool MouseCaptured() const override;
  void SetCursor(int cursor) override { cursor_ = cursor; }
  int Cursor() const override { return cursor_; }
  void SetFocus() override;
  bool Focused() const override;

  // ---- Test side ----
  SimControlPeer* Parent() const { return parent_; }
  PeerEvents& Events() { return events_; }
  bool Windowed() const { return handle_ != 0; }
  int RepaintCount() const { return repaint_count_; }
  bool TabStop() const { return tab_stop_; }
  // The control's rectangle, and a point of its client area, on the screen.
  Rect ScreenBounds() const;
  Point ClientToScreen(Point client) const override;
  // The control and all its ancestors are enabled; all but the form are visible.
  bool CanTakeInput() const;

 protected:
  friend class SimToolkit;
  friend class SimFormPeer;  // a modal form disables the others
  SimDesktop& Desktop() const;
  // Nearest windowed ancestor and this control's offset within its client area.
  WindowHandle HostWindow(Point* offset) const;

  SimToolkit& tk_;
  ControlKind kind_;
  SimControlPeer* parent_;
  PeerEvents& events_;
  std::string name_;
  WindowHandle handle_ = 0;

  Rect bounds_;  // windowless controls; windowed ones read their window
  std::string caption_;
  bool visible_;
  bool enabled_ = true;
  std::string hint_;
  FontSpec font_;
  TColor color_ = clBtnFace;
  int repaint_count_ = 0;
  int cursor_ = 0;
  bool tab_stop_ = true;
};

class SimMenuItemPeer : public MenuItemPeer {
 public:
  SimMenuItemPeer(SimToolkit* tk, MenuItemEvents& events, std::string name);
  ~SimMenuItemPeer() override;
  SimMenuItemPeer(const SimMenuItemPeer&) = delete;
  SimMenuItemPeer& operator=(const SimMenuItemPeer&) = delete;

  // Only SimMenuItemPeers may be inserted.
  void Insert(int index, MenuItemPeer* child) override;
  void Remove(MenuItemPeer* child) override;
  std::vector<MenuItemPeer*> Children() const override;

  // ---- Test side ----
  bool IsSeparator() const { return caption_ == "-"; }
  SimMenuItemPeer* Parent() const { return parent_; }
  const std::vector<SimMenuItemPeer*>& Items() const { return children_; }
  // Captions of the entries, in order ("-" for separators).
  std::vector<std::string> Captions() const;
  // A user can choose it: enabled along its path, not a separator, no submenu.
  bool Choosable() const;
  // Raises the click, as choosing it does.
  void Click() { events_.PeerClick(); }
  // This entry or one below it with this name, or else with this caption.
  SimMenuItemPeer* FindInTree(std::string_view name_or_caption);

 private:
  SimToolkit* tk_;  // null for a popup's root entry, which is not registered
  MenuItemEvents& events_;
  SimMenuItemPeer* parent_ = nullptr;
  std::vector<SimMenuItemPeer*> children_;
};

class SimPopupMenuPeer : public PopupMenuPeer {
 public:
  SimPopupMenuPeer(SimToolkit& tk, std::string name);
  ~SimPopupMenuPeer() override;
  SimPopupMenuPeer(const SimPopupMenuPeer&) = delete;
  SimPopupMenuPeer& operator=(const SimPopupMenuPeer&) = delete;

  SimMenuItemPeer& Items() override { return root_; }
  // Records the point; runs the next scripted session, or else the next
  // scripted choice if it is in this menu.
  void Popup(Point screen) override;
  // While open, its entries lie below each other from the popup point: a
  // 3-pixel border round them, 17-pixel entries, 9-pixel separators, all as
  // wide as the widest caption at 7 pixels a UTF-16 unit, plus 40.
  int ItemFromPoint(Point screen) const override;
  Rect ItemRect(int index) const override;

  const std::string& Name() const { return name_; }
  int PopupCount() const { return popup_count_; }
  Point LastPopupPoint() const { return last_point_; }

 private:
  SimToolkit& tk_;
  std::string name_;
  MenuItemEvents root_events_;
  SimMenuItemPeer root_;
  int popup_count_ = 0;
  Point last_point_;
};

class SimScreen : public ScreenPeer {
 public:
  void RegisterCursor(int id, const std::string& resource) override { cursors_[id] = resource; }
  void SetCursor(int id) override { cursor_ = id; }
  int Cursor() const override { return cursor_; }
  // "" when no cursor is registered under the number.
  std::string CursorResource(int id) const;
  const std::map<int, std::string>& Cursors() const { return cursors_; }

 private:
  std::map<int, std::string> cursors_;
  int cursor_ = static_cast<int>(CursorId::crDefault);
};

class SimApplication : public ApplicationPeer {
 public:
  explicit SimApplication(SimToolkit& tk) : tk_(tk) {}
  std::string Hint() const override { return hint_.Text(); }
  void AddEvents(ApplicationEvents* events) override { hint_.Add(events); }
  void RemoveEvents(ApplicationEvents* events) override { hint_.Remove(events); }
  // What the toolkit's drivers set as the user points and highlights; a
  // test may set it too. Listeners hear a change, never a repeat.
  void SetHint(const std::string& hint) { hint_.Set(hint); }

  void SetTitle(const std::string& t) override { title_ = t; }
  std::string Title() const override { return title_; }
  // There is no loop to run: tests drive the program themselves.
  void Run() override { ++run_count_; }
  void Terminate() override { terminated_ = true; }
  // Recorded as if the user read and dismissed it at once.
  void ShowMessage(const std::string& text) override { messages_.push_back(text); }
  // The main form's window.
  WindowHandle Handle() const override;
  void SetOnMinimize(std::function<void()> h) override { on_minimize_ = std::move(h); }
  std::function<void()> OnMinimize() const override { return on_minimize_; }
  void SetOnRestore(std::function<void()> h) override { on_restore_ = std::move(h); }
  std::function<void()> OnRestore() const override { return on_restore_; }
  // Nothing waits in a simulated queue; the calls are counted.
  void ProcessMessages() override { ++process_messages_count_; }

  // The user minimises the program: the main form's window is minimised on
  // the desktop, then the minimise handler runs (an exception it throws is
  // shown as a message). Restore is the way back: the window shown, restored
  // and in front, then the restore handler when it was minimised.
  void Minimize();
  void Restore() override;
  int RestoreCount() const { return restore_count_; }

  int RunCount() const { return run_count_; }
  bool Terminated() const { return terminated_; }
  int ProcessMessagesCount() const { return process_messages_count_; }
  // Every message box shown so far, the grids' refusals included, in order.
  const std::vector<std::string>& Messages() const { return messages_; }
  void ClearMessages() { messages_.clear(); }

 private:
  void RunHandler(std::function<void()> handler);

  SimToolkit& tk_;
  std::vector<std::string> messages_;
  ApplicationHint hint_;
  std::string title_;
  std::function<void()> on_minimize_;
  std::function<void()> on_restore_;
  int run_count_ = 0;
  int restore_count_ = 0;
  int process_messages_count_ = 0;
  bool terminated_ = false;
};

class SimEditPeer;
class SimFormPeer;

class SimToolkit : public UiToolkit {
 public:
  explicit SimToolkit(SimDesktop& desktop) : desktop_(desktop), application_(*this) {}
  SimToolkit(const SimToolkit&) = delete;
  SimToolkit& operator=(const SimToolkit&) = delete;

  std::unique_ptr<ControlPeer> CreateControl(ControlKind kind, ControlPeer* parent, PeerEvents& events,
                                             const std::string& name) override;
  std::unique_ptr<MenuItemPeer> CreateMenuItem(MenuItemEvents& events, const std::string& name) override;
  std::unique_ptr<PopupMenuPeer> CreatePopupMenu(const std::string& name) override;
  SimScreen& Screen() override { return screen_; }
  SimApplication& Application() override { return application_; }

  SimDesktop& Desktop() { return desktop_; }

  // ---- Registry ----
  // The earliest made live control of that name; "Form4.Label1" picks the one
  // on a given form. Null when there is none.
  SimControlPeer* Find(std::string_view name) const;
  // As Find, but a missing control is a test error: throws std::out_of_range.
  SimControlPeer& Get(std::string_view name) const;
  // Get as the peer class of its kind (SimEditPeer, SimFormPeer, ...); a
  // control of another kind throws std::out_of_range too.
  template <class P>
  P& Get(std::string_view name) const {
    if (auto* typed = dynamic_cast<P*>(&Get(name))) return *typed;
    throw std::out_of_range("control " + std::string(name) + " is not of the kind asked for");
  }
  SimControlPeer* FindByHandle(WindowHandle w) const;
  // The control of ours under a screen point (windowless ones included);
  // null over other windows or none.
  SimControlPeer* ControlAt(Point screen) const;
  const std::vector<SimControlPeer*>& Controls() const { return controls_; }
  // First live entry with that name, or else with that caption.
  SimMenuItemPeer* FindMenuItem(std::string_view name_or_caption) const;
  SimPopupMenuPeer* FindPopupMenu(std::string_view name) const;

  // ---- Drivers ----
  // Each returns false, doing nothing, when the control cannot take the
  // input (disabled, or hidden, itself or an ancestor), and throws
  // std::out_of_range for an unknown name. Points are client coordinates.
  //
  // Check box: toggles Checked, then raises the click. Speed button with a
  // group: goes down (releasing the others of its group), or up when it was
  // down and all-up is allowed; then the click.
  bool Click(std::string_view name);
  bool DblClick(std::string_view name);
  bool MouseDown(std::string_view name, MouseButton button, ShiftState shift, Point client);
  bool MouseMove(std::string_view name, ShiftState shift, Point client);
  bool MouseUp(std::string_view name, MouseButton button, ShiftState shift, Point client);
  // Puts the cursor at a screen point and delivers the move or release where
  // the window system would: to the control whose window holds the capture,
  // else to the control a button went down on, else to the control under the
  // point. Returns the control that got it, null when none of ours did.
  SimControlPeer* MouseMoveOnScreen(Point screen, ShiftState shift = {});
  SimControlPeer* MouseUpOnScreen(Point screen, MouseButton button = MouseButton::mbLeft, ShiftState shift = {});
  // Combo box or drop-down list: the entry becomes selected and shown, then
  // change, select and close-up are raised. False for an index out of range.
  bool Select(std::string_view name, int index);
  // Edit or combo box: the text is replaced by `text` (typed over a whole
  // selection) and one change is raised.
  bool TypeText(std::string_view name, std::string_view text);
  // Edit: one character as the keyboard types it. PeerKeyPress may change or
  // drop it; an accepted character replaces the selection and the caret
  // follows it, backspace (8) deletes the selection or the character before
  // the caret, Ctrl+V (22) pastes as Paste does, other control characters
  // change nothing. A change is raised when the text changed.
  bool TypeChar(std::string_view name, char32_t ch);
  // TypeChar for each character of a UTF-8 text.
  bool TypeChars(std::string_view name, std::string_view text);
  // Edit: the user pastes. PeerPaste comes first; when the facade leaves it
  // to the edit, the clipboard's first line replaces the selection.
  bool Paste(std::string_view name);
  // The clipboard edits paste from themselves; none by default.
  void UseClipboard(Clipboard* clipboard) { clipboard_ = clipboard; }
  // Gives a windowed control the keyboard focus, as a click or Tab does;
  // false when it cannot take it.
  bool SetFocusTo(std::string_view name);
  // Right click: pops up the control's menu, or the nearest ancestor's.
  bool ContextMenu(std::string_view name, Point client);
  // The window's close button.
  bool CloseForm(std::string_view name);
  // The user drags a sizeable form's border to this outer size, its top-left
  // staying put; the form may adjust or refuse it. False for a form without
  // a sizing border or hidden.
  bool ResizeForm(std::string_view name, int width, int height);
  // List view: the user clicks a row, or beside the rows with -1 (nothing
  // stays selected); the selection changes, then the click. False for a
  // row out of range.
  bool SelectRow(std::string_view name, int row);

  // ---- Key/value grids ----
  // The user clicks a cell (column 0 the key, 1 the value): that cell alone
  // becomes the selection, then the click. False out of range.
  bool ClickCell(std::string_view name, int row, int column);
  // The user types over a row's key and leaves the cell. A key the grid
  // refuses shows its message (Application().Messages()) and the old key
  // stays; false then.
  bool EditKey(std::string_view name, int row, std::string_view key);
  bool EditValue(std::string_view name, int row, std::string_view value);

  // ---- Modal forms ----
  // The next ShowModal runs `while_open` with the form open: shown, the other
  // forms disabled. The callback plays the user and closes the form through
  // its buttons (EndModal); ShowModal then returns that result. A modal form
  // shown with no script, or left open by its script, is a test error:
  // std::logic_error.
  void ScriptModal(std::function<void(SimFormPeer& form)> while_open) {
    modal_scripts_.push_back(std::move(while_open));
  }
  std::size_t PendingModalScripts() const { return modal_scripts_.size(); }
  int ModalCount() const { return modal_count_; }

  // ---- Painted controls ----
  // Paints the control into a canvas of its size filled with `background`:
  // a paint box paints itself; any other control shows the paint boxes
  // inside it, in creation order, each clipped to its own bounds.
  RasterCanvas PaintToCanvas(std::string_view name, TColor background = clWhite);
  // The mouse comes onto or goes off a control; false, doing nothing, when
  // it cannot take input. MouseMoveOnScreen and MouseUpOnScreen raise these
  // for paint boxes too, after the move or release, as the cursor crosses
  // them (captured or not).
  bool MouseEnter(std::string_view name);
  bool MouseLeave(std::string_view name);
  // The windowless control holding the mouse capture; null when none does.
  SimControlPeer* CapturedControl() const { return captured_; }
  SimControlPeer* FocusedControl() const { return focused_; }

  // ---- Menus ----
  // The next Popup of a menu that holds this entry clicks it before
  // returning. Choices queue up, one per popup.
  void ScriptMenuChoice(std::string name_or_caption) { menu_choices_.push_back(std::move(name_or_caption)); }
  std::size_t PendingMenuChoices() const { return menu_choices_.size(); }
  // Clicks an entry directly; false when it is disabled, a separator or a
  // submenu. Throws std::out_of_range for an unknown entry.
  bool ChooseMenuItem(std::string_view name_or_caption);
  int PopupCount() const { return popup_count_; }
  Point LastPopupPoint() const { return last_popup_point_; }
  std::string LastPopupMenu() const { return last_popup_menu_; }
  // The next Popup of any menu runs `while_open` with the menu open (before
  // any scripted choice); the user highlights entries from there. When it
  // returns the menu closes, the application's hint empties as the window
  // system reports the close, and then the entry it names (name or caption;
  // "" for none) is chosen.
  void ScriptMenuSession(std::function<std::string()> while_open) { menu_sessions_.push_back(std::move(while_open)); }
  // The menu open now (inside a scripted session); null when none is.
  SimPopupMenuPeer* OpenMenu() const { return open_menu_; }
  // The user moves the pointer onto an entry of the open menu (its centre)
  // and so highlights it: the application's hint becomes the entry's long
  // hint. False for an entry the open menu does not have.
  bool HighlightMenuItem(std::string_view name_or_caption);
  // The same with the arrow keys: the pointer stays where it is.
  bool HighlightMenuItemByKey(std::string_view name_or_caption);

  // ---- Dialog keys ----
  // Enter (VK_RETURN_) or Escape (VK_ESCAPE_) on a form clicks its enabled
  // default or cancel button; false, doing nothing, when it has none.
  bool PressDialogKey(std::string_view form, int virtual_key);

 private:
  friend class SimControlPeer;
  friend class SimFormPeer;
  friend class SimMenuItemPeer;
  friend class SimPopupMenuPeer;
  friend class SimApplication;
  void Forget(SimControlPeer* peer);
  void Forget(SimMenuItemPeer* item);
  void Forget(SimPopupMenuPeer* menu);
  void NotePopup(SimPopupMenuPeer& menu, Point screen);
  SimFormPeer* MainForm() const { return main_form_; }
  SimControlPeer* RouteTarget(Point screen) const;
  void TrackHover(Point screen);
  void PaintInto(SimControlPeer& control, RasterCanvas& target, Point origin);
  void MoveFocus(SimControlPeer* to);
  void PasteInto(SimEditPeer& edit);
  void RunMenuSession(SimPopupMenuPeer& menu);
  void Highlight(SimMenuItemPeer& item, bool move_pointer);

  SimDesktop& desktop_;
  SimScreen screen_;
  SimApplication application_;
  std::vector<SimControlPeer*> controls_;  // in creation order
  std::vector<SimMenuItemPeer*> menu_items_;
  std::vector<SimPopupMenuPeer*> popup_menus_;
  SimFormPeer* main_form_ = nullptr;
  SimControlPeer* pressed_ = nullptr;
  SimControlPeer* captured_ = nullptr;  // windowless only
  SimControlPeer* hovered_ = nullptr;
  SimControlPeer* focused_ = nullptr;
  Clipboard* clipboard_ = nullptr;
  std::deque<std::string> menu_choices_;
  std::deque<std::function<std::string()>> menu_sessions_;
  SimPopupMenuPeer* open_menu_ = nullptr;
  std::deque<std::function<void(SimFormPeer&)>> modal_scripts_;
  int modal_count_ = 0;
  int popup_count_ = 0;
  Point last_popup_point_;
  std::string last_popup_menu_;
};

}  // namespace wakumo

// The kinds' own peers, for tests that read them.
#include "sim/sim_kind_peers.h"
