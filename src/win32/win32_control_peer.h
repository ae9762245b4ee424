#pragma once
// What every Win32 control peer shares: its window, its name atom, the design
// bounds that DPI scaling starts from, font and colour, hint, and the handling
// of messages a container gets on behalf of its children.
#include <stdexcept>
#include <string>
#include <vector>

#include "ui/peer.h"
#include "win32/win32_api.h"

namespace wakumo {

class Win32Toolkit;
class Win32FormPeer;

// The window system refused to make a control's window. Thrown once, by the
// peer's constructor, so the caller knows; a peer never lives without one.
class WindowCreationError : public std::runtime_error {
 public:
  WindowCreationError(const std::string& control, unsigned long error);
  unsigned long Error() const { return error_; }

 private:
  unsigned long error_;
};

// Shift, Ctrl and Alt as the thread's keyboard state has them now, for events
// whose message carries no key flags.
ShiftState KeyboardShiftState();

class Win32ControlPeer : public virtual ControlPeer {
 public:
  ~Win32ControlPeer() override;
  Win32ControlPeer(const Win32ControlPeer&) = delete;
  Win32ControlPeer& operator=(const Win32ControlPeer&) = delete;

  ControlKind Kind() const override { return kind_; }
  const std::string& Name() const override { return name_; }
  WindowHandle Handle() const override;

  void SetBounds(const Rect& r) override;
  Rect Bounds() const override { return bounds_; }
  void SetCaption(const std::string& text) override;
  std::string Caption() const override;
  void SetVisible(bool v) override;
  bool Visible() const override;
  void SetEnabled(bool e) override;
  bool Enabled() const override;
  void SetHint(const std::string& hint) override;
  std::string Hint() const override { return hint_; }
  void SetFont(const FontSpec& f) override;
  FontSpec Font() const override { return font_; }
  void SetColor(TColor c) override;
  TColor Color() const override { return color_; }
  void Repaint() override;

  bool Focused() const override;
  void SetFocus() override;
  void SetTabStop(bool on) override;
  void SetMouseCapture(bool on) override;
  bool MouseCaptured() const override;
  Point ClientToScreen(Point p) const override;
  void SetCursor(int cursor) override { cursor_ = cursor; }
  int Cursor() const override { return cursor_; }

  HWND Hwnd() const { return hwnd_; }
  Win32ControlPeer* ParentPeer() const { return parent_; }
  const std::vector<Win32ControlPeer*>& Children() const { return children_; }
  // The form this control sits on (itself for a form); null when detached.
  Win32FormPeer* Form();
  // The peer of one of our windows; null for any other window.
  static Win32ControlPeer* FromHwnd(HWND hwnd);
  // Window procedures of our own window classes and of those made from the
  // system's controls.
  static WNDPROC WindowProc() { return &CustomWndProc; }
  static WNDPROC StandardWindowProc() { return &StandardClassProc; }

  // A notification (WM_COMMAND code) the parent received from this control.
  virtual void OnCommand(int code) { (void)code; }
  // WM_CTLCOLOR* for this control: a brush, or null for the default colours.
  virtual HBRUSH OnCtlColor(UINT msg, HDC dc) { (void)msg; (void)dc; return nullptr; }
  // WM_NOTIFY from this control; true when handled.
  virtual bool OnNotify(const NMHDR& header, LRESULT& result) { (void)header; (void)result; return false; }
  // Colour a see-through child fills its background with.
  virtual TColor BackgroundColor() const { return color_; }
  // Re-applies everything that depends on the DPI, for this control and its children.
  virtual void ApplyDpi();

  UINT Dpi() const;
  int ScreenDpi() const override { return static_cast<int>(Dpi()); }
  int Scale(int v) const;

 protected:
  Win32ControlPeer(Win32Toolkit& tk, ControlKind kind, Win32ControlPeer* parent, PeerEvents& events,
                   std::string name, TColor color);

  // Creates the window (hidden forms, visible children) and attaches the peer
  // to it; throws WindowCreationError when the window system refuses. (A
  // window may still go later, with its parent: then hwnd_ is null.)
  // `own_class` windows run CustomWndProc and reach HandleMessage.
  void CreateHwnd(const wchar_t* window_class, DWORD style, DWORD ex_style, bool own_class);
  static LRESULT CALLBACK CustomWndProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l);
  // Window procedure of the classes made from the system's controls.
  static LRESULT CALLBACK StandardClassProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l);
  // The system control's own handling of a message.
  LRESULT CallBase(UINT msg, WPARAM w, LPARAM l);
  // Messages of our own window classes; return true when handled.
  virtual bool HandleMessage(UINT msg, WPARAM w, LPARAM l, LRESULT& result);
  // Messages of the system's control classes (BUTTON, EDIT, ...), seen before
  // the class does; return true when handled. The default reports focus.
  virtual bool HandleStandardMessage(UINT msg, WPARAM w, LPARAM l, LRESULT& result);
  // Focus changes, for the kinds that report them through notifications.
  void RaiseEnter();
  void RaiseExit();
  // Messages a window holding other controls gets on their behalf.
  bool HandleContainerMessage(UINT msg, WPARAM w, LPARAM l, LRESULT& result);
  // How a control turns a left press and release into a click.
  enum class ClickMode {
    kNone,            // the control raises its clicks itself
    kTrack,           // press and release inside it
    kTrackCaptured,   // the same, holding the mouse capture in between
  };
  // Mouse messages raised as peer events. Also reports the mouse coming onto
  // and going off the control.
  bool HandleMouseMessage(UINT msg, WPARAM w, LPARAM l, ClickMode click_mode);
  // The point a mouse event reports for a point in device client pixels.
  virtual Point EventPoint(Point device) const { return device; }
  // Makes the window anew with a style that counts only at creation (an
  // edit's alignment): same class, parent, place, size, z-order, text, font,
  // name, id, hint and subclass, and the focus if it had it. The facade hears
  // nothing of it. False when the window could not be made (the old one stays).
  bool RecreateHwnd(DWORD set, DWORD clear);
  bool Hovering() const { return hovering_; }
  virtual void HoverChanged() {}
  // The rest of the messages of a control that paints itself whole: no
  // background erasing, a repaint when its text or enabled state changes,
  // the mouse, and whatever a container gets.
  bool HandlePaintedMessage(UINT msg, WPARAM w, LPARAM l, ClickMode click_mode, LRESULT& result);
  // Moves the window to the design bounds scaled to its DPI.
  virtual void ApplyBounds();
  void ApplyFont();
  HFONT CurrentFont() const;
  COLORREF FontColor() const;
  // Events go to the facade only while it is whole.
  PeerEvents* Events() { return ready_ && !detaching_ ? &events_ : nullptr; }
  void ChangeStyle(DWORD set, DWORD clear);
  // Marks the control for painting, when it is on the screen.
  void Invalidate(bool erase = false);
  bool OnScreen() const;
  // Invalidates the control and its children, whose backgrounds may show it.
  void InvalidateWithChildren();
  // Paints what the parent shows behind this control into `dc`, so painted
  // controls look see-through over our own panels and forms.
  void PaintParentBackground(HDC dc);
  // Double-buffered WM_PAINT: `paint` draws the whole client area into a memory DC.
  template <typename PaintFn>
  void PaintBuffered(PaintFn paint);
  // WM_PAINT (buffered) and WM_PRINTCLIENT for a control whose `paint` draws
  // its whole client area; false for any other message.
  template <typename PaintFn>
  bool HandlePaintAndPrint(UINT msg, WPARAM w, PaintFn paint, LRESULT& result);

  Win32Toolkit& tk_;
  HWND hwnd_ = nullptr;
  Rect bounds_{};
  FontSpec font_;
  TColor color_;

 private:
  void InheritFont(const FontSpec& f);
  void Detach();
  void PlaceInZOrder();
  void AttachTo(HWND hwnd);
  void UpdateHover(Point client);
  // The mouse moved over the control: the application's hint follows it.
  void NoteMouseOver();

  ControlKind kind_;
  Win32ControlPeer* parent_;
  PeerEvents& events_;
  std::string name_;
  std::string hint_;
  std::vector<Win32ControlPeer*> children_;
  ATOM name_atom_ = 0;
  int id_ = 0;
  bool own_class_ = false;
  bool own_font_ = false;
  bool ready_ = false;  // the window exists and the facade may hear of it
  bool detaching_ = false;
  bool clicking_ = false;
  bool hovering_ = false;
  bool tracking_leave_ = false;
  int cursor_ = 0;
  WNDPROC base_proc_ = nullptr;  // a system control's own procedure
};

template <typename PaintFn>
bool Win32ControlPeer::HandlePaintAndPrint(UINT msg, WPARAM w, PaintFn paint, LRESULT& result) {
  if (msg == WM_PAINT) {
    PaintBuffered(paint);
  } else if (msg == WM_PRINTCLIENT) {
    RECT rc{};
    GetClientRect(hwnd_, &rc);
    paint(reinterpret_cast<HDC>(w), rc);
  } else {
    return false;
  }
  result = 0;
  return true;
}

template <typename PaintFn>
void Win32ControlPeer::PaintBuffered(PaintFn paint) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd_, &ps);
  RECT rc{};
  GetClientRect(hwnd_, &rc);
  HDC mem = CreateCompatibleDC(dc);
  HBITMAP bmp = CreateCompatibleBitmap(dc, rc.right > 0 ? rc.right : 1, rc.bottom > 0 ? rc.bottom : 1);
  HGDIOBJ old = SelectObject(mem, bmp);
  paint(mem, rc);
  BitBlt(dc, 0, 0, rc.right, rc.bottom, mem, 0, 0, SRCCOPY);
  SelectObject(mem, old);
  DeleteObject(bmp);
  DeleteDC(mem);
  EndPaint(hwnd_, &ps);
}

}  // namespace wakumo
