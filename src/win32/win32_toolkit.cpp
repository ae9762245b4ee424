#include "win32/win32_toolkit.h"

#include <algorithm>

#include "win32/win32_button.h"
#include "win32/win32_check_box.h"
#include "win32/win32_combo_box.h"
#include "win32/win32_dpi.h"
#include "win32/win32_edit.h"
#include "win32/win32_form.h"
#include "win32/win32_hint_window.h"
#include "win32/win32_image.h"
#include "win32/win32_label.h"
#include "win32/win32_list_view.h"
#include "win32/win32_menu.h"
#include "win32/win32_paint_box.h"
#include "win32/win32_panel.h"
#include "win32/win32_speed_button.h"
#include "win32/win32_text.h"
#include "win32/win32_value_list_editor.h"

namespace wakumo {

namespace {

constexpr const wchar_t* kUtilityClass = L"WakumoUtilWindow";

LRESULT CALLBACK UtilityWindowProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
  LRESULT result = 0;
  if (HandleMenuPictureMessage(msg, l, DpiForWindow(hwnd), result)) return result;
  return DefWindowProcW(hwnd, msg, w, l);
}

// Face names are at most 31 characters in a LOGFONT.
std::wstring FaceName(const std::string& name) {
  std::wstring face = Wide(name);
  if (face.size() > LF_FACESIZE - 1) face.resize(LF_FACESIZE - 1);
  return face;
}

}  // namespace

COLORREF ToColorRef(TColor c) {
  if (c & kSystemColorFlag) return GetSysColor(static_cast<int>(c & 0xFF));
  return static_cast<COLORREF>(c & 0x00FFFFFF);
}

Win32Toolkit::Win32Toolkit(HINSTANCE instance) : instance_(instance), screen_(instance), application_(*this) {
  INITCOMMONCONTROLSEX icc{};
  icc.dwSize = sizeof(icc);
  icc.dwICC = ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES;
  InitCommonControlsEx(&icc);
}

Win32Toolkit::~Win32Toolkit() {
  if (utility_) DestroyWindow(utility_);
  for (auto& [key, font] : fonts_) DeleteObject(font);
  for (auto& [color, brush] : brushes_) {
    if (!(color & kSystemColorFlag)) DeleteObject(brush);
  }
}

std::unique_ptr<ControlPeer> Win32Toolkit::CreateControl(ControlKind kind, ControlPeer* parent, PeerEvents& events,
                                                         const std::string& name) {
  // Only our own peers can hold our controls.
  auto* p = dynamic_cast<Win32ControlPeer*>(parent);
  switch (kind) {
    case ControlKind::Form: return std::make_unique<Win32FormPeer>(*this, events, name);
    case ControlKind::Panel: return std::make_unique<Win32PanelPeer>(*this, p, events, name);
    case ControlKind::Image: return std::make_unique<Win32ImagePeer>(*this, p, events, name);
    case ControlKind::Label: return std::make_unique<Win32LabelPeer>(*this, p, events, name);
    case ControlKind::Button: return std::make_unique<Win32ButtonPeer>(*this, p, events, name);
    case ControlKind::SpeedButton: return std::make_unique<Win32SpeedButtonPeer>(*this, p, events, name);
    case ControlKind::CheckBox: return std::make_unique<Win32CheckBoxPeer>(*this, p, events, name);
    case ControlKind::ComboBox: return std::make_unique<Win32ComboBoxPeer>(*this, p, events, name, false);
    case ControlKind::DropDownList: return std::make_unique<Win32ComboBoxPeer>(*this, p, events, name, true);
    case ControlKind::Edit: return std::make_unique<Win32EditPeer>(*this, p, events, name);
    case ControlKind::PaintBox: return std::make_unique<Win32PaintBoxPeer>(*this, p, events, name);
    case ControlKind::ListView: return std::make_unique<Win32ListViewPeer>(*this, p, events, name);
    case ControlKind::ValueListEditor: return std::make_unique<Win32ValueListEditorPeer>(*this, p, events, name);
    case ControlKind::HintWindow: return std::make_unique<Win32HintWindowPeer>(*this, events, name);
  }
  return nullptr;
}

std::unique_ptr<MenuItemPeer> Win32Toolkit::CreateMenuItem(MenuItemEvents& events, const std::string& name) {
  return std::make_unique<Win32MenuItemPeer>(events, name);
}

std::unique_ptr<PopupMenuPeer> Win32Toolkit::CreatePopupMenu(const std::string& name) {
  return std::make_unique<Win32PopupMenuPeer>(*this, name);
}

HFONT Win32Toolkit::Font(const FontSpec& f, UINT dpi) {
  const std::wstring face = FaceName(f.name);
  const int height = ScaleToDpi(f.height, dpi);
  const auto key = std::make_tuple(face, height, f.bold, f.underline);
  auto it = fonts_.find(key);
  if (it != fonts_.end()) return it->second;
  // A negative height asks for that character height in pixels.
  HFONT font = CreateFontW(-height, 0, 0, 0, f.bold ? FW_BOLD : FW_NORMAL, FALSE, f.underline ? TRUE : FALSE, FALSE,
                           DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                           DEFAULT_PITCH | FF_DONTCARE, face.c_str());
  if (!font) return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  fonts_.emplace(key, font);
  return font;
}

HBRUSH Win32Toolkit::Brush(TColor c) {
  auto it = brushes_.find(c);
  if (it != brushes_.end()) return it->second;
  // System colour brushes follow the colour scheme and must not be deleted.
  HBRUSH brush = (c & kSystemColorFlag) ? GetSysColorBrush(static_cast<int>(c & 0xFF)) : CreateSolidBrush(ToColorRef(c));
  if (!brush) return GetSysColorBrush(COLOR_BTNFACE);
  brushes_.emplace(c, brush);
  return brush;
}

const ResourceBitmap* Win32Toolkit::Bitmap(const std::string& resource) {
  auto it = bitmaps_.find(resource);
  if (it == bitmaps_.end()) {
    it = bitmaps_.emplace(resource, std::make_unique<ResourceBitmap>(instance_, Wide(resource))).first;
  }
  return it->second->Valid() ? it->second.get() : nullptr;
}

int Win32Toolkit::AllocateId(Win32ControlPeer* peer) {
  // Ids are 16 bits in WM_COMMAND; wrap round and skip ids still in use.
  for (int tries = 0; tries < 0xFF00; ++tries) {
    const int id = next_id_;
    next_id_ = next_id_ >= 0xFFFF ? 100 : next_id_ + 1;
    if (ids_.emplace(id, peer).second) return id;
  }
  return 0;
}

void Win32Toolkit::ReleaseId(int id) { ids_.erase(id); }

Win32ControlPeer* Win32Toolkit::PeerById(int id) const {
  auto it = ids_.find(id);
  return it == ids_.end() ? nullptr : it->second;
}

void Win32Toolkit::AddForm(Win32FormPeer* form) { forms_.push_back(form); }

void Win32Toolkit::RemoveForm(Win32FormPeer* form) {
  forms_.erase(std::remove(forms_.begin(), forms_.end(), form), forms_.end());
}

void Win32Toolkit::RouteMessage(MSG& msg) {
  // Tab and mnemonic keys move between the controls of our forms.
  HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
  if (root && IsForm(root) && IsDialogMessageW(root, &msg)) return;
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
}

bool Win32Toolkit::IsForm(HWND hwnd) const {
  return std::any_of(forms_.begin(), forms_.end(), [hwnd](const Win32FormPeer* f) { return f->Hwnd() == hwnd; });
}

HWND Win32Toolkit::UtilityWindow() {
  if (utility_ && IsWindow(utility_)) return utility_;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  if (!GetClassInfoExW(instance_, kUtilityClass, &wc)) {
    wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = UtilityWindowProc;
    wc.hInstance = instance_;
    wc.lpszClassName = kUtilityClass;
    RegisterClassExW(&wc);
  }
  // A hidden top-level window, not a message-only one: a menu's owner must be
  // able to become the foreground window.
  utility_ = CreateWindowExW(WS_EX_TOOLWINDOW, kUtilityClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                             instance_, nullptr);
  return utility_;
}

HWND Win32Toolkit::MenuOwner() {
  Win32FormPeer* main = MainForm();
  if (main && main->Hwnd() && IsWindowVisible(main->Hwnd()) && !IsIconic(main->Hwnd())) return main->Hwnd();
  return UtilityWindow();
}

void Win32Toolkit::RegisterWindowClass(const std::wstring& name, UINT style, HCURSOR cursor, bool with_icon) {
  if (std::find(classes_.begin(), classes_.end(), name) != classes_.end()) return;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.style = style;
  wc.lpfnWndProc = Win32ControlPeer::WindowProc();
  wc.hInstance = instance_;
  wc.hCursor = cursor ? cursor : LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = name.c_str();
  if (with_icon) {
    wc.hIcon = static_cast<HICON>(LoadImageW(instance_, L"MAINICON", IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                             GetSystemMetrics(SM_CYICON), LR_DEFAULTCOLOR));
    wc.hIconSm = static_cast<HICON>(LoadImageW(instance_, L"MAINICON", IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
  }
  if (RegisterClassExW(&wc) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS) classes_.push_back(name);
}

std::wstring Win32Toolkit::StandardClass(const wchar_t* system_class, WNDPROC& base) {
  auto known = standard_classes_.find(system_class);
  if (known == standard_classes_.end()) {
    // The system class as this program's manifest picks it (the common
    // controls' own version of BUTTON and the rest).
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    std::wstring name = system_class;
    WNDPROC proc = nullptr;
    if (GetClassInfoExW(nullptr, system_class, &wc)) {
      proc = wc.lpfnWndProc;
      const std::wstring ours = std::wstring(kStandardClassPrefix) + system_class;
      wc.lpfnWndProc = Win32ControlPeer::StandardWindowProc();
      wc.hInstance = instance_;
      wc.style &= ~static_cast<UINT>(CS_GLOBALCLASS);
      wc.lpszClassName = ours.c_str();
      if (RegisterClassExW(&wc) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS) name = ours;
    }
    known = standard_classes_.emplace(system_class, std::make_pair(name, proc)).first;
  }
  base = known->second.second;
  return known->second.first;
}

}  // namespace wakumo
