// The edit peer on a real EDIT control: keys, typing and pasting through
// the facade's events, the selection, and focus by mouse and keyboard.
#include <algorithm>
#include <string>
#include <vector>

#include "win32/win32_api.h"
#include "win32/win32_dpi.h"
#include "win32/win32_handles.h"
#include "win32/win32_platform.h"
#include "win32/win32_text.h"
#include "win32/win32_toolkit.h"

#include "adapter_support.h"

namespace wakumo {
namespace {

// Records the edit's events; entering selects all, as the main window's fields do.
struct EditRecorder : PeerEvents {
  EditPeer* self = nullptr;
  std::vector<std::string> log;
  std::u32string typed;
  bool take_paste = true;
  bool select_on_enter = true;
  std::string nested;  // written once from inside the change handler
  void PeerChange() override {
    log.push_back("change:" + (self ? self->Caption() : std::string()));
    if (!nested.empty() && self) {
      const std::string text = std::exchange(nested, std::string());
      self->SetCaption(text);
    }
  }
  bool PeerKeyPress(char32_t& ch) override {
    typed.push_back(ch);
    return ch != U'x';
  }
  bool PeerPaste() override {
    log.push_back("paste");
    return take_paste;
  }
  void PeerEnter() override {
    log.push_back("enter");
    if (select_on_enter && self) self->SetSel(0, static_cast<int>(Wide(self->Caption()).size()));
  }
  void PeerExit() override { log.push_back("exit"); }
  std::string Joined() const {
    std::string s;
    for (const auto& e : log) s += (s.empty() ? "" : "|") + e;
    return s;
  }
  int Count(const std::string& entry) const { return static_cast<int>(std::count(log.begin(), log.end(), entry)); }
};

std::string SelStr(const EditPeer& e) { return std::to_string(e.SelStart()) + "+" + std::to_string(e.SelLength()); }

}  // namespace

void TestEditKeyboard() {
  g_test = "EditKeys";
  Win32Toolkit tk(GetModuleHandleW(nullptr));
  Recorder fe, ee, oe;
  auto form = tk.Create<FormPeer>(ControlKind::Form, nullptr, fe, "WkForm3");
  auto edit = tk.Create<EditPeer>(ControlKind::Edit, form.get(), ee, "WkEdit");
  auto other = tk.Create<EditPeer>(ControlKind::Edit, form.get(), oe, "WkOther");
  form->SetClientSize(200, 100);
  edit->SetBounds({0, 0, 100, 21});
  other->SetBounds({0, 30, 100, 51});
  form->Show();
  HWND h = ToHwnd(edit->Handle());
  for (wchar_t c : std::wstring(L"axc")) SendMessageW(h, WM_CHAR, c, 1);
  // U+2000B arrives as two units and reaches the facade as one character.
  SendMessageW(h, WM_CHAR, 0xD840, 1);
  SendMessageW(h, WM_CHAR, 0xDC0B, 1);
  Check(edit->Caption() == "bc\xF0\xA0\x80\x8B", "typed text: " + edit->Caption());
  Check(ee.typed == std::u32string{U'a', U'x', U'c', U'\U0002000B'}, "key presses seen: " + std::to_string(ee.typed.size()));
  Check(edit->SelStart() == 4 && edit->SelLength() == 0, "caret after typing: " + std::to_string(edit->SelStart()));
  edit->SetSel(1, 2);
  Check(edit->SelStart() == 1 && edit->SelLength() == 2, "selection set: " + std::to_string(edit->SelStart()) + "+" +
                                                             std::to_string(edit->SelLength()));
  // A paste the facade takes leaves the text alone.
  ee.take_paste = true;
  SendMessageW(h, WM_PASTE, 0, 0);
  Check(edit->Caption() == "bc\xF0\xA0\x80\x8B" && ee.log.back() == "paste", "paste taken by the facade");
  // Focus: the one losing it hears exit before the other hears enter.
  edit->SetFocus();
  ee.log.clear();
  other->SetFocus();
  Check(edit->Focused() == false && other->Focused(), "focus moved");
  Check(ee.Joined() == "exit" && oe.log.size() == 1 && oe.log[0] == "enter", "focus events: " + ee.Joined() + " / " +
                                                                                oe.Joined());
}

void TestEditPeerContract() {
  g_test = "EditContract";
  Win32Toolkit tk(GetModuleHandleW(nullptr));
  Recorder fe, be;
  EditRecorder er, or_;
  auto form = tk.Create<FormPeer>(ControlKind::Form, nullptr, fe, "WkEditForm");
  auto before = tk.Create<ButtonPeer>(ControlKind::Button, form.get(), be, "WkEditBefore");
  auto edit = tk.Create<EditPeer>(ControlKind::Edit, form.get(), er, "WkEditNum");
  auto other = tk.Create<EditPeer>(ControlKind::Edit, form.get(), or_, "WkEditOther");
  er.self = edit.get();
  or_.self = other.get();
  form->SetClientSize(200, 100);
  before->SetBounds({0, 0, 40, 21});
  edit->SetBounds({50, 0, 98, 21});
  other->SetBounds({50, 30, 98, 51});
  form->Show();
  SetForegroundWindow(ToHwnd(form->Handle()));
  Check(edit->HasParentWindow(), "an edit on a form has its parent window");
  HWND h = ToHwnd(edit->Handle());

  // Control characters reach the facade; Ctrl+V's character becomes a paste
  // request, as do Shift+Insert and the message itself.
  edit->SetCaption("12");
  er.log.clear();
  for (wchar_t c : {L'\x03', L'\x18', L'\x1A', L'\x08', L'\x16'}) SendMessageW(h, WM_CHAR, c, 1);
  Check(er.typed == std::u32string{3, 0x18, 0x1A, 8, 0x16}, "control characters seen: " + std::to_string(er.typed.size()));
  Check(er.Count("paste") == 1, "Ctrl+V asks the facade: " + er.Joined());
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  BYTE shifted[256];
  std::copy(std::begin(keys), std::end(keys), std::begin(shifted));
  shifted[VK_SHIFT] = 0x80;
  SetKeyboardState(shifted);
  SendMessageW(h, WM_KEYDOWN, VK_INSERT, 1);
  SetKeyboardState(keys);
  Check(er.Count("paste") == 2, "Shift+Insert asks the facade: " + er.Joined());
  // The context menu's Paste: keys typed before the menu opens are read by
  // its loop (P is the entry's access key; the entry needs text to paste).
  Win32Clipboard clipboard;
  clipboard.SetText("7");
  edit->SetFocus();
  er.log.clear();
  KeyInput('P', false);
  KeyInput('P', true);
  const UINT_PTR deadline = SetTimer(nullptr, 0, 5000, [](HWND, UINT, UINT_PTR, DWORD) { EndMenu(); });
  RECT wr{};
  GetWindowRect(h, &wr);
  SendMessageW(h, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(h), MAKELPARAM(wr.left + 5, wr.top + 5));
  KillTimer(nullptr, deadline);
  Check(er.Count("paste") == 1, "the context menu's Paste asks the facade: " + er.Joined());
  er.take_paste = false;
  er.log.clear();
  edit->SetSel(2, 0);
  SendMessageW(h, WM_PASTE, 0, 0);
  Check(edit->Caption() == "127" && er.Joined() == "paste|change:127", "a paste the facade leaves: " + er.Joined());

  // Text changes are reported at once, also nested ones from inside the handler.
  er.log.clear();
  edit->SetCaption("345");
  Check(er.Joined() == "change:345", "WM_SETTEXT reports a change: " + er.Joined());
  Check(edit->SelStart() == 0 && edit->SelLength() == 0, "caret at 0 after WM_SETTEXT: " + SelStr(*edit));
  er.log.clear();
  er.nested = "6,789";
  edit->SetCaption("6789");
  Check(er.Joined() == "change:6789|change:6,789" && edit->Caption() == "6,789",
        "nested change delivered: " + er.Joined() + ", text " + edit->Caption());
  er.log.clear();
  edit->SetSel(0, 2);
  SendMessageW(h, WM_CUT, 0, 0);
  Check(edit->Caption() == "789" && er.Count("change:789") == 1, "cut reports: " + er.Joined());
  SendMessageW(h, WM_UNDO, 0, 0);
  // (Wine's undo reports its change twice; the facade rereads the same text.)
  Check(edit->Caption() == "6,789" && er.Count("change:6,789") >= 1, "undo reports: " + er.Joined());
  // Selection in UTF-16 units.
  edit->SetCaption("𠀋12");
  edit->SetSel(2, 1);
  Check(edit->SelStart() == 2 && edit->SelLength() == 1, "selection past a surrogate pair: " + SelStr(*edit));
  edit->SetModified(true);
  Check(edit->Modified(), "modified set");
  edit->SetModified(false);
  Check(!edit->Modified(), "modified cleared");

  // A click that gives the focus keeps what entering selected; a click in
  // the focused field places the caret.
  edit->SetCaption("12345");
  other->SetFocus();
  er.log.clear();
  const UINT dpi = DpiForWindow(h);
  SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(ScaleToDpi(6, dpi), ScaleToDpi(8, dpi)));
  SendMessageW(h, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(ScaleToDpi(7, dpi), ScaleToDpi(8, dpi)));
  SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(ScaleToDpi(7, dpi), ScaleToDpi(8, dpi)));
  Check(edit->Focused() && er.Joined() == "enter" && edit->SelStart() == 0 && edit->SelLength() == 5,
        "focusing click keeps the select-all: " + er.Joined() + ", selection " + SelStr(*edit));
  SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(ScaleToDpi(6, dpi), ScaleToDpi(8, dpi)));
  SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(ScaleToDpi(6, dpi), ScaleToDpi(8, dpi)));
  Check(edit->SelLength() == 0, "a click in the focused field places the caret: " + SelStr(*edit));

  // Alignment makes the window anew and keeps everything about it.
  edit->SetHint("幅");
  edit->SetFont(FontSpec{"Arial", 15, true, clWindowText});
  edit->SetCaption("4321");
  edit->SetSel(1, 2);
  edit->SetModified(true);
  edit->SetMaxLength(6);
  edit->SetFocus();
  RECT old_rect{};
  GetWindowRect(h, &old_rect);
  const LRESULT old_font = SendMessageW(h, WM_GETFONT, 0, 0);
  er.log.clear();
  edit->SetAlignment(TextAlign::taRightJustify);
  HWND n = ToHwnd(edit->Handle());
  RECT new_rect{};
  GetWindowRect(n, &new_rect);
  Check(n && n != h && !IsWindow(h), "a new window replaced the old one");
  Check((GetWindowLongW(n, GWL_STYLE) & ES_RIGHT) != 0 && (GetWindowLongW(n, GWL_STYLE) & WS_TABSTOP) != 0,
        "right-aligned style");
  Check(edit->Caption() == "4321" && edit->SelStart() == 1 && edit->SelLength() == 2 && edit->Modified(),
        "text, selection, modified kept: " + edit->Caption() + " " + SelStr(*edit));
  CheckEq(SendMessageW(n, EM_GETLIMITTEXT, 0, 0), 6, "text limit kept");
  Check(SendMessageW(n, WM_GETFONT, 0, 0) == old_font, "font kept");
  Check(NameOf(n) == "WkEditNum" && EqualRect(&old_rect, &new_rect), "name and place kept");
  Check(GetWindow(n, GW_HWNDPREV) == ToHwnd(before->Handle()) && GetWindow(n, GW_HWNDNEXT) == ToHwnd(other->Handle()),
        "z-order (tab order) kept");
  Check(GetFocus() == n && er.log.empty(), "focus kept, facade not told: " + er.Joined());
  Check(GetDlgCtrlID(n) != 0 && GetParent(n) == ToHwnd(form->Handle()), "id and parent kept");
  er.typed.clear();
  SendMessageW(n, WM_CHAR, L'x', 1);
  SendMessageW(n, WM_CHAR, L'9', 1);
  // "9" replaces the kept selection "32".
  Check(er.typed == U"x9" && edit->Caption() == "491", "the new window is subclassed: " + edit->Caption());
  HWND tips = TooltipsOf(ToHwnd(form->Handle()));
  TTTOOLINFOW ti{};
  ti.cbSize = sizeof(ti);
  ti.hwnd = ToHwnd(form->Handle());
  ti.uId = reinterpret_cast<UINT_PTR>(n);
  Check(tips && SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0) == 1 &&
            SendMessageW(tips, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&ti)),
        "the hint moved to the new window");
  edit->SetAlignment(TextAlign::taRightJustify);
  CheckEq(ToHwnd(edit->Handle()), n, "the same alignment again keeps the window");

  // The input method stays closed: no input context at all.
  using GetContextFn = void*(WINAPI*)(HWND);
  using ReleaseContextFn = BOOL(WINAPI*)(HWND, void*);
  HMODULE imm = LoadLibraryW(L"imm32.dll");
  auto get_context = imm ? reinterpret_cast<GetContextFn>(reinterpret_cast<void*>(GetProcAddress(imm, "ImmGetContext"))) : nullptr;
  auto release_context =
      imm ? reinterpret_cast<ReleaseContextFn>(reinterpret_cast<void*>(GetProcAddress(imm, "ImmReleaseContext"))) : nullptr;
  Check(get_context && release_context, "imm32 present");
  if (get_context && release_context) {
    void* open_context = get_context(n);
    if (open_context) release_context(n, open_context);
    edit->SetImeClosed(true);
    void* closed = get_context(ToHwnd(edit->Handle()));
    Check(closed == nullptr && open_context != nullptr, "input context before " + std::to_string(open_context != nullptr) +
                                                            ", after closing " + std::to_string(closed != nullptr));
    if (closed) release_context(ToHwnd(edit->Handle()), closed);
    edit->SetAlignment(TextAlign::taCenter);
    void* after = get_context(ToHwnd(edit->Handle()));
    CheckEq(after, nullptr, "still closed after the window was made anew");
    if (after) release_context(ToHwnd(edit->Handle()), after);
    edit->SetImeClosed(false);
    void* reopened = get_context(ToHwnd(edit->Handle()));
    Check(reopened != nullptr, "opened again");
    if (reopened) release_context(ToHwnd(edit->Handle()), reopened);
  }

  // A real click on the field of an inactive form: activating the form gives
  // the field the focus back before the press arrives; the press keeps the
  // selection made on entering all the same.
  edit->SetCaption("24680");
  edit->SetFocus();
  Recorder ae;
  auto away = tk.Create<FormPeer>(ControlKind::Form, nullptr, ae, "WkEditAway");
  away->SetClientSize(100, 50);
  away->Show();
  // Clear of the field.
  RECT fr{};
  GetWindowRect(ToHwnd(form->Handle()), &fr);
  away->SetWindowRect({fr.right + 20, fr.top, fr.right + 160, fr.top + 80});
  SetForegroundWindow(ToHwnd(away->Handle()));
  Check(PumpUntil([&] { return GetForegroundWindow() == ToHwnd(away->Handle()); }), "the other form came forward");
  er.log.clear();
  RECT er_rect{};
  GetWindowRect(ToHwnd(edit->Handle()), &er_rect);
  const POINT mid{(er_rect.left + er_rect.right) / 2, (er_rect.top + er_rect.bottom) / 2};
  MouseInput(mid, 0);
  // Wine's cursor may snap back to its previous place for a moment after a
  // SendInput move: press only once it has stayed on the field.
  auto settled_since = std::chrono::steady_clock::now();
  Check(PumpUntil([&] {
          POINT p{};
          GetCursorPos(&p);
          const auto now = std::chrono::steady_clock::now();
          if (p.x != mid.x || p.y != mid.y) {
            settled_since = now;
            MouseInput(mid, 0);
            return false;
          }
          return now - settled_since >= std::chrono::milliseconds(200);
        }),
        "the cursor stays on the field");
  MouseInput(mid, MOUSEEVENTF_LEFTDOWN);
  MouseInput(mid, MOUSEEVENTF_LEFTUP);
  const bool back = PumpUntil([&] {
    return GetForegroundWindow() == ToHwnd(form->Handle()) && edit->Focused() && GetCapture() == nullptr &&
           GetAsyncKeyState(VK_LBUTTON) >= 0 && er.Count("enter") == 1 &&
           HIWORD(GetQueueStatus(QS_MOUSEBUTTON)) == 0;  // the release handled too
  });
  Check(back && edit->SelStart() == 0 && edit->SelLength() == 5,
        "click into an inactive form keeps the select-all: " + er.Joined() + ", selection " + SelStr(*edit) +
            ", foreground " + NameOf(GetForegroundWindow()) + ", focus " + NameOf(GetFocus()));
}

}  // namespace wakumo
