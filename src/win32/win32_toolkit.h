#pragma once
// The widget set's port on user32, gdi32 and comctl32.
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "ui/peer.h"
#include "win32/win32_api.h"
#include "win32/win32_application.h"
#include "win32/win32_bitmap.h"
#include "win32/win32_screen.h"

namespace wakumo {

class Win32ControlPeer;
class Win32FormPeer;

// Window property naming every windowed control, read by the end-to-end driver.
inline constexpr const wchar_t* kNameProperty = L"WakumoName";
// The classes made from the system's controls are named by this prefix and
// the system class's name ("WakumoButton").
inline constexpr const wchar_t* kStandardClassPrefix = L"Wakumo";

class Win32Toolkit : public UiToolkit {
 public:
  explicit Win32Toolkit(HINSTANCE instance);
  ~Win32Toolkit() override;
  Win32Toolkit(const Win32Toolkit&) = delete;
  Win32Toolkit& operator=(const Win32Toolkit&) = delete;

  std::unique_ptr<ControlPeer> CreateControl(ControlKind kind, ControlPeer* parent, PeerEvents& events,
                                             const std::string& name) override;
  std::unique_ptr<MenuItemPeer> CreateMenuItem(MenuItemEvents& events, const std::string& name) override;
  std::unique_ptr<PopupMenuPeer> CreatePopupMenu(const std::string& name) override;
  ScreenPeer& Screen() override { return screen_; }
  Win32ApplicationPeer& Application() override { return application_; }

  HINSTANCE Instance() const { return instance_; }
  Win32ApplicationPeer& ApplicationImpl() { return application_; }
  Win32ScreenPeer& ScreenImpl() { return screen_; }

  // Shared GDI objects, owned here and released with the toolkit.
  HFONT Font(const FontSpec& f, UINT dpi);
  HBRUSH Brush(TColor c);
  const ResourceBitmap* Bitmap(const std::string& resource);

  // Control ids, so a WM_COMMAND that carries only an id still finds its control.
  int AllocateId(Win32ControlPeer* peer);
  void ReleaseId(int id);
  Win32ControlPeer* PeerById(int id) const;

  void AddForm(Win32FormPeer* form);
  void RemoveForm(Win32FormPeer* form);
  // The first form created is the main one.
  Win32FormPeer* MainForm() const { return forms_.empty() ? nullptr : forms_.front(); }
  const std::vector<Win32FormPeer*>& Forms() const { return forms_; }
  bool IsForm(HWND hwnd) const;
  // Translates and dispatches one message of a message loop, keyboard
  // navigation between the controls of our forms included.
  void RouteMessage(MSG& msg);
  // Hidden window that parents detached controls and owns menus while no form is shown.
  HWND UtilityWindow();
  // The window a popup menu is tracked for.
  HWND MenuOwner();

  // Registers one of our window classes the first time it is needed.
  void RegisterWindowClass(const std::wstring& name, UINT style, HCURSOR cursor, bool with_icon);
  // The class of ours made from a system control's class, with the system
  // class's procedure in `base`; the system class's own name when that
  // cannot be made (base is then its procedure too).
  std::wstring StandardClass(const wchar_t* system_class, WNDPROC& base);

 private:
  HINSTANCE instance_;
  Win32ScreenPeer screen_;
  Win32ApplicationPeer application_;
  std::map<std::tuple<std::wstring, int, bool, bool>, HFONT> fonts_;
  std::map<TColor, HBRUSH> brushes_;
  std::map<std::string, std::unique_ptr<ResourceBitmap>> bitmaps_;
  std::map<int, Win32ControlPeer*> ids_;
  int next_id_ = 100;  // clear of IDOK, IDCANCEL and friends
  std::vector<Win32FormPeer*> forms_;
  std::vector<std::wstring> classes_;
  std::map<std::wstring, std::pair<std::wstring, WNDPROC>> standard_classes_;
  HWND utility_ = nullptr;
};

// The Win32 colour of a TColor (system colours resolved).
COLORREF ToColorRef(TColor c);

}  // namespace wakumo
