#include "form_ops.h"

namespace e2e {

std::wstring FieldText(const Context& c, const wchar_t* field) { return WindowText(Ctl(c, field)); }

void ExpectFieldText(const Context& c, const wchar_t* field, const std::string& want,
                     const std::string& what) {
  std::wstring got;
  if (!PollUntil([&] { return Utf8(got = FieldText(c, field)) == want; }, kTextDeadlineMs))
    Fail(what + ": " + Utf8(field) + " shows " + Quoted(got) + ", expected \"" + want + "\"");
}

std::pair<int, int> FieldSelection(HWND field) {
  DWORD_PTR packed = 0;
  SendMessageTimeoutW(field, EM_GETSEL, 0, 0, SMTO_ABORTIFHUNG, 3000, &packed);
  return {LOWORD(packed), HIWORD(packed)};
}

HWND FocusOf(const Context& c) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(c.wakumo.thread_id(), &info)) return nullptr;
  return info.hwndFocus;
}

void ClickControl(const Context& c, const wchar_t* name) {
  c.input->Click(Centre(WindowRect(Ctl(c, name))));
}

void TypeInto(const Context& c, const wchar_t* field, const std::string& text) {
  const HWND h = Ctl(c, field);
  if (!IsWindowEnabled(h)) Fail(Utf8(field) + " is disabled; cannot type " + text);
  c.input->Click(Centre(WindowRect(h)));
  if (!PollUntil([&] { return FocusOf(c) == h && GetForegroundWindow() == c.wakumo.main(); },
                 kTextDeadlineMs))
    Fail(Utf8(field) + " did not get the focus from a click; focus " + Quoted(ClassName(FocusOf(c))) +
         ", foreground " + Quoted(ClassName(GetForegroundWindow())));
  c.input->Keys("Home shift+End");
  const int length = static_cast<int>(WindowText(h).size());
  if (!PollUntil([&] { auto s = FieldSelection(h); return s.first == 0 && s.second == length; },
                 kTextDeadlineMs)) {
    const auto s = FieldSelection(h);
    Fail(Format("Home, Shift+End in %s selected %d..%d of %s", Utf8(field).c_str(), s.first,
                s.second, Quoted(WindowText(h)).c_str()));
  }
  c.input->Type(text);
  ExpectFieldText(c, field, text, "after typing " + text);
}

bool IsChecked(HWND check_box) {
  DWORD_PTR state = 0;
  SendMessageTimeoutW(check_box, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 3000, &state);
  return state == BST_CHECKED;
}

void ExpectChecked(const Context& c, const wchar_t* name, bool on, const std::string& what) {
  const HWND h = Ctl(c, name);
  if (!PollUntil([&] { return IsChecked(h) == on; }, kTextDeadlineMs))
    Fail(what + ": " + Utf8(name) + (on ? " is not ticked" : " is still ticked"));
}

void SetChecked(const Context& c, const wchar_t* name, bool on) {
  const HWND h = Ctl(c, name);
  if (IsChecked(h) == on) return;
  if (!IsWindowEnabled(h)) Fail(Utf8(name) + " is disabled");
  c.input->Click(Centre(WindowRect(h)));
  ExpectChecked(c, name, on, "a click on it");
}

void ExpectEnabled(const Context& c, const wchar_t* name, bool on, const std::string& what) {
  const HWND h = Ctl(c, name);
  if (!PollUntil([&] { return (IsWindowEnabled(h) != FALSE) == on; }, kTextDeadlineMs))
    Fail(what + ": " + Utf8(name) + (on ? " is disabled" : " is enabled"));
}

int ComboIndex(const Context& c, const wchar_t* name) {
  DWORD_PTR i = 0;
  SendMessageTimeoutW(Ctl(c, name), CB_GETCURSEL, 0, 0, SMTO_ABORTIFHUNG, 3000, &i);
  return static_cast<int>(static_cast<LRESULT>(i));
}

int AutoPosIndex(const Context& c) { return ComboIndex(c, L"AutoPos"); }

void ChooseAutoPos(const Context& c, int index) { ChooseComboEntry(c, L"AutoPos", index); }

void ChooseComboEntry(const Context& c, const wchar_t* name, int index) {
  if (ComboIndex(c, name) == index) return;
  const HWND combo = Ctl(c, name);
  const RECT r = WindowRect(combo);
  // The arrow of the closed box (its window may report the dropped-down
  // height too); a click there opens an editable box's list as well.
  c.input->Click({r.right - GetSystemMetrics(SM_CXVSCROLL) / 2 - 2, r.top + 10});
  DWORD pid = 0;
  GetWindowThreadProcessId(c.wakumo.main(), &pid);
  HWND list = nullptr;
  if (!PollUntil([&] {
        const std::vector<HWND> lists = VisibleTopLevelsOf(pid, L"ComboLBox");
        list = lists.empty() ? nullptr : lists.front();
        return list != nullptr;
      }, kTextDeadlineMs))
    Fail("a click on " + Utf8(name) + " " + RectText(r) + " opened no list");
  const int item_height = static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
  const int top_index = static_cast<int>(SendMessageW(list, LB_GETTOPINDEX, 0, 0));
  RECT client;
  GetClientRect(list, &client);
  if (item_height <= 0 || index < top_index || (index - top_index + 1) * item_height > client.bottom)
    Fail(Format("entry %d is not in the open list (item height %d, top index %d, list %s)", index,
                item_height, top_index, RectText(client).c_str()));
  c.input->Click(ScreenPoint(list, client.right / 2, (index - top_index) * item_height + item_height / 2));
  int got = -1;
  if (!PollUntil([&] { return (got = ComboIndex(c, name)) == index && !IsWindowVisible(list); },
                 kTextDeadlineMs))
    Fail(Format("%s shows entry %d after a click on entry %d (list %s)", Utf8(name).c_str(), got, index,
                IsWindowVisible(list) ? "still open" : "closed"));
}

RECT MakeRect(LONG left, LONG top, LONG width, LONG height) {
  return {left, top, left + width, top + height};
}

void ExpectWindowRect(HWND window, const RECT& want, const std::string& what) {
  RECT got{};
  if (!PollUntil([&] { got = WindowRect(window); return EqualRect(&got, &want) != FALSE; },
                 kTextDeadlineMs))
    Fail(what + ": " + Quoted(ClassName(window)) + " is at " + RectText(got) + ", expected " +
         RectText(want));
}

}  // namespace e2e
