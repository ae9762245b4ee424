#pragma once
// A form: a top-level window of class "T" + its name, with its tooltips.
#include <set>

#include "win32/win32_control_peer.h"

namespace wakumo {

class Win32FormPeer : public Win32ControlPeer, public FormPeer {
 public:
  Win32FormPeer(Win32Toolkit& tk, PeerEvents& events, const std::string& name);
  ~Win32FormPeer() override;

  void SetBounds(const Rect& r) override;
  Rect Bounds() const override;
  void SetVisible(bool v) override;
  bool Visible() const override;
  void SetClientSize(int width, int height) override;
  Rect ClientRect() const override;
  void SetBorderIcons(bool system_menu, bool minimize, bool maximize) override;
  void SetSizeable(bool on) override;
  void SetDialogFrame(bool on) override;
  void SetStayOnTop(bool on) override;
  bool StayOnTop() const override;
  void SetPopupMenu(PopupMenuPeer* menu) override { popup_ = menu; }
  void Show() override;
  void Close() override;
  ModalResult ShowModal() override;
  void EndModal(ModalResult result) override;
  Rect WindowRect() const override;
  void SetWindowRect(const Rect& r) override;
  void ApplyDpi() override;

  // Tooltip of one of the form's controls; an empty text removes it.
  void SetToolText(HWND control, const std::wstring& text);
  void RemoveTool(HWND control);

 protected:
  bool HandleMessage(UINT msg, WPARAM w, LPARAM l, LRESULT& result) override;

 private:
  void ApplyClientSize();
  void SetOwned(bool owned);
  void OnDpiChanged(UINT new_dpi, const RECT& suggested);
  static void KeepAnchoredEdges(WINDOWPOS& pos, const RECT& now, int width, int height);
  HWND Tooltips();
  void OnSize(WPARAM kind);

  bool is_main_ = false;
  bool sizeable_ = false;
  bool positioned_ = false;
  bool shown_once_ = false;
  int client_width_ = 0;   // design pixels; 0 while never set
  int client_height_ = 0;
  PopupMenuPeer* popup_ = nullptr;
  bool modal_ = false;  // inside ShowModal's loop
  bool dpi_changing_ = false;  // the window follows a new DPI, not a request
  bool minimized_ = false;     // from WM_SIZE: minimised until it reports another size
  int dpi_ = 0;                // the DPI the facade last heard of
  ModalResult modal_result_ = ModalResult::mrNone;
  HWND tooltips_ = nullptr;
  std::set<HWND> tools_;
};

}  // namespace wakumo
