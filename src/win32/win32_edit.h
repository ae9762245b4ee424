#pragma once
// A single-line edit field. Typed characters, key presses and pastes go to
// the facade first, which may change or take them.
#include "win32/win32_control_peer.h"

namespace wakumo {

class Win32EditPeer : public Win32ControlPeer, public EditPeer {
 public:
  Win32EditPeer(Win32Toolkit& tk, Win32ControlPeer* parent, PeerEvents& events, const std::string& name);

  void SetAlignment(TextAlign a) override;
  int SelStart() const override;
  int SelLength() const override;
  void SetSel(int start, int length) override;
  bool Modified() const override;
  void SetModified(bool m) override;
  void SetReadOnly(bool r) override;
  void SetMaxLength(int n) override;
  void SetImeClosed(bool closed) override;
  bool HasParentWindow() const override;
  void OnCommand(int code) override;
  HBRUSH OnCtlColor(UINT msg, HDC dc) override;

 protected:
  bool HandleStandardMessage(UINT msg, WPARAM w, LPARAM l, LRESULT& result) override;

 private:
  // WM_CHAR: one UTF-16 unit; a pair's first half waits here for the second.
  bool OnChar(WPARAM unit, LPARAM l, LRESULT& result);
  // A press that gives the field the focus.
  LRESULT OnFocusingClick(WPARAM w, LPARAM l);
  bool PressIsOnField() const;
  void ApplyIme();

  wchar_t pending_high_surrogate_ = 0;
  bool ime_closed_ = false;
  // While a click gives the focus: whether the field was entered, and the
  // selection the facade made on entering.
  bool focusing_click_ = false;
  bool entered_by_click_ = false;
  DWORD entered_start_ = 0;
  DWORD entered_end_ = 0;
};

}  // namespace wakumo
