// Applying size and position to the driver's own windows: Set, the
// placements, child mode, a document window, Undo and the window list.
#include <windows.h>

#include <commctrl.h>

#include <optional>

#include "context.h"
#include "form_ops.h"
#include "remote_list_view.h"

namespace e2e {

namespace {

struct Homes {
  RECT sizable, dialog, popup, mdi_frame;
  RECT document;  // in the container's client coordinates
};

RECT RectIn(HWND window, HWND container) {
  RECT r = WindowRect(window);
  MapWindowPoints(nullptr, container, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// Where the target windows stood before the first case that moves them.
const Homes& HomeOf(const Context& c) {
  static std::optional<Homes> homes;
  if (!homes)
    homes = Homes{WindowRect(c.t.sizable), WindowRect(c.t.dialog), WindowRect(c.t.popup),
                  WindowRect(c.t.mdi_frame), RectIn(c.t.mdi_document, c.t.mdi_client)};
  return *homes;
}

void PutBack(const Context& c) {
  const Homes& h = HomeOf(c);
  const std::pair<HWND, RECT> windows[] = {{c.t.sizable, h.sizable}, {c.t.dialog, h.dialog},
                                           {c.t.popup, h.popup},     {c.t.mdi_frame, h.mdi_frame},
                                           {c.t.mdi_document, h.document}};
  for (const auto& [w, r] : windows) {
    if (IsZoomed(w) || IsIconic(w)) ShowWindow(w, SW_SHOWNOACTIVATE);
    SetWindowPos(w, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

bool ListShown(const Context& c) {
  const RECT r = WindowRect(c.wakumo.main());
  return r.bottom - r.top > c.main_height;
}

void ShowList(const Context& c, bool on) {
  if (ListShown(c) == on) return;
  ClickControl(c, L"WListBtn");
  if (!PollUntil([&] { return ListShown(c) == on; }, kTextDeadlineMs))
    Fail("a click on WListBtn left the main window " + RectText(WindowRect(c.wakumo.main())) +
         (on ? " without" : " with") + " the list");
}

// The main window as it starts: list hidden, "即" and the top-left off,
// placement "標準", "前へ" on.
void ResetForm(const Context& c) {
  ShowList(c, false);
  SetChecked(c, L"Timing", false);
  SetChecked(c, L"BaseChk", false);
  SetChecked(c, L"ClientChk", false);
  ChooseAutoPos(c, 0);
  SetChecked(c, L"FrontChk", true);
}

// Each case starts and ends with the form reset and the targets at home.
class Arranged {
 public:
  explicit Arranged(const Context& c) : c_(c) {
    HomeOf(c);
    PutBack(c);
    ResetForm(c);
  }
  Arranged(const Arranged&) = delete;
  Arranged& operator=(const Arranged&) = delete;
  ~Arranged() {
    PutBack(c_);
    try {
      ResetForm(c_);
    } catch (const CaseFailed& e) {
      Log(std::string("  (resetting the main window after the case: ") + e.what() + ")");
    }
  }

 private:
  const Context& c_;
};

void PickWindow(const Context& c, HWND window, POINT spot, const std::wstring& cls,
                const std::wstring& title) {
  Pick pick(c);
  pick.MoveTo(spot);
  ExpectShown(c, cls, title, SizeText(WindowRect(window)), "picking " + Utf8(cls));
  pick.Release();
}

void PickSizable(const Context& c) {
  PickWindow(c, c.t.sizable, SizableEmptySpot(c), kSizableClass, kSizableTitle);
}

void TypeSize(const Context& c, int width, int height) {
  TypeInto(c, L"EdSizeX", std::to_string(width));
  TypeInto(c, L"EdSizeY", std::to_string(height));
}

void TypeTopLeft(const Context& c, int x, int y) {
  TypeInto(c, L"EdBaseX", std::to_string(x));
  TypeInto(c, L"EdBaseY", std::to_string(y));
}

void ClickSet(const Context& c) {
  ExpectEnabled(c, L"SetBtn", true, "before Set");
  ClickControl(c, L"SetBtn");
}

void ClickUndo(const Context& c) {
  ExpectEnabled(c, L"UndoBtn", true, "before Undo");
  ClickControl(c, L"UndoBtn");
}

RECT Moved(const RECT& r, LONG x, LONG y) { return {x, y, x + r.right - r.left, y + r.bottom - r.top}; }
RECT Sized(const RECT& r, LONG width, LONG height) { return {r.left, r.top, r.left + width, r.top + height}; }

}  // namespace

void CaseThreeUndos(Context& c) {
  Arranged arranged(c);
  // Earlier records would keep Undo enabled after the third Undo.
  int drained = 0;
  while (IsWindowEnabled(Ctl(c, L"UndoBtn")) && drained < 50) {
    ClickUndo(c);
    ++drained;
    PollUntil([&] { return !IsWindowEnabled(Ctl(c, L"UndoBtn")); }, 200);
  }
  if (drained) Log(Format("  undid %d earlier changes first", drained));
  ExpectEnabled(c, L"UndoBtn", false, "with no change recorded");
  PutBack(c);
  const RECT home = HomeOf(c).sizable;

  PickSizable(c);
  SetChecked(c, L"BaseChk", true);
  const RECT steps[] = {MakeRect(30, 30, 380, 300), MakeRect(40, 50, 360, 280), MakeRect(25, 35, 400, 320)};
  for (int i = 0; i < 3; ++i) {
    const RECT& s = steps[i];
    TypeTopLeft(c, s.left, s.top);
    TypeSize(c, s.right - s.left, s.bottom - s.top);
    ClickSet(c);
    ExpectWindowRect(c.t.sizable, s, Format("after Set %d", i + 1));
    ExpectEnabled(c, L"UndoBtn", true, Format("after Set %d", i + 1));
  }
  const RECT back[] = {steps[1], steps[0], home};
  for (int i = 0; i < 3; ++i) {
    ClickUndo(c);
    ExpectWindowRect(c.t.sizable, back[i], Format("after Undo %d", i + 1));
    ExpectEnabled(c, L"UndoBtn", i < 2, Format("after Undo %d", i + 1));
  }
}

void CaseSetSizesSizable(Context& c) {
  Arranged arranged(c);
  const RECT home = HomeOf(c).sizable;
  PickSizable(c);
  TypeSize(c, 360, 260);
  ClickSet(c);
  ExpectWindowRect(c.t.sizable, Sized(home, 360, 260), "after Set of 360 x 260");
}

void CaseSetRestoresMaximised(Context& c) {
  Arranged arranged(c);
  const RECT home = HomeOf(c).sizable;
  ShowWindow(c.t.sizable, SW_MAXIMIZE);
  // Below every other window, so that Wakumo stays reachable.
  SetWindowPos(c.t.sizable, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  if (!PollUntil([&] { return IsZoomed(c.t.sizable) != FALSE; }, kTextDeadlineMs))
    Fail("the sizable window did not maximise");
  EnsureForeground(c);
  const POINT spot{300, 420};
  const HWND hit = WindowFromPoint(spot);
  if (GetAncestor(hit, GA_ROOT) != c.t.sizable)
    Fail(Format("(%ld, %ld) hits %s, not the maximised window", spot.x, spot.y, Quoted(ClassName(hit)).c_str()));
  PickWindow(c, c.t.sizable, spot, kSizableClass, kSizableTitle);
  TypeSize(c, 400, 300);
  ClickSet(c);
  ExpectWindowRect(c.t.sizable, Sized(home, 400, 300), "after Set on the maximised window");
  if (IsZoomed(c.t.sizable)) Fail("the window is still maximised after Set");
  ClickUndo(c);
  ExpectWindowRect(c.t.sizable, home, "after Undo: the restored rectangle");
  if (IsZoomed(c.t.sizable)) Fail("Undo maximised the window again");
}

void CaseBottomRightOfWorkArea(Context& c) {
  Arranged arranged(c);
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  Log("  work area " + RectText(work) + Format(", screen %d x %d", GetSystemMetrics(SM_CXSCREEN),
                                                GetSystemMetrics(SM_CYSCREEN)));
  PickSizable(c);
  TypeSize(c, 400, 300);
  ChooseAutoPos(c, 5);
  ExpectChecked(c, L"BaseChk", false, "after choosing \"デスクトップ右下\"");
  ExpectEnabled(c, L"EdBaseX", false, "after choosing \"デスクトップ右下\"");
  ClickSet(c);
  ExpectWindowRect(c.t.sizable, {work.right - 400, work.bottom - 300, work.right, work.bottom},
                   "after Set with \"デスクトップ右下\"");
}

void CaseDialogKeepsSize(Context& c) {
  Arranged arranged(c);
  const RECT home = HomeOf(c).dialog;
  PickWindow(c, c.t.dialog, ScreenPoint(c.t.dialog, 40, 40), kDialogClass, DialogTitle().substr(0, 79));
  SetChecked(c, L"BaseChk", true);
  TypeTopLeft(c, 820, 40);
  TypeSize(c, 600, 500);
  ClickSet(c);
  ExpectWindowRect(c.t.dialog, Moved(home, 820, 40), "after Set of 600 x 500 at (820, 40) on a dialog frame");
}

void CaseChildClientTopLeft(Context& c) {
  Arranged arranged(c);
  const RECT frame = WindowRect(c.t.sizable), edit = WindowRect(c.t.edit);
  {
    ShiftGuard shift(*c.input);
    Pick pick(c);
    pick.MoveTo(EditSpot(c));
    shift.Down();
    pick.MoveTo({EditSpot(c).x + 1, EditSpot(c).y});
    ExpectShown(c, kSizableClass, kSizableTitle, SizeText(edit), "over the EDIT with Shift");
    pick.Release();
    shift.Up();
  }
  SetChecked(c, L"ClientChk", true);
  ExpectChecked(c, L"BaseChk", true, "after ticking ClientChk");
  TypeTopLeft(c, 60, 50);
  TypeSize(c, 300, 200);
  ClickSet(c);
  // The frame keeps its margins around the child: it grows by what the
  // child is asked to grow.
  const LONG width = 300 + (frame.right - frame.left) - (edit.right - edit.left);
  const LONG height = 200 + (frame.bottom - frame.top) - (edit.bottom - edit.top);
  RECT got{};
  if (!PollUntil([&] {
        got = WindowRect(c.t.edit);
        const RECT f = WindowRect(c.t.sizable);
        return got.left == 60 && got.top == 50 && f.right - f.left == width && f.bottom - f.top == height;
      }, kTextDeadlineMs))
    Fail("after Set the EDIT is at " + RectText(got) + " (expected its top-left at (60, 50)) in the frame " +
         RectText(WindowRect(c.t.sizable)) + Format(" (expected %ld x %ld)", width, height));
}

void CaseMdiDocumentInContainer(Context& c) {
  Arranged arranged(c);
  RECT rc;
  GetClientRect(c.t.mdi_document, &rc);
  PickWindow(c, c.t.mdi_document, ScreenPoint(c.t.mdi_document, rc.right / 2, rc.bottom / 2),
             kMdiDocumentClass, kMdiDocumentTitle);
  SetChecked(c, L"BaseChk", true);
  TypeTopLeft(c, 40, 30);
  TypeSize(c, 250, 180);
  ClickSet(c);
  const RECT want = MakeRect(40, 30, 250, 180);
  RECT got{};
  if (!PollUntil([&] { got = RectIn(c.t.mdi_document, c.t.mdi_client); return EqualRect(&got, &want) != FALSE; },
                 kTextDeadlineMs))
    Fail("the document is at " + RectText(got) + " in the container's client area (screen " +
         RectText(WindowRect(c.t.mdi_document)) + "), expected " + RectText(want));
}

void CaseWindowListRowApplies(Context& c) {
  Arranged arranged(c);
  const RECT home = HomeOf(c).sizable;
  ShowWindow(c.t.mdi_frame, SW_SHOWMINNOACTIVE);
  if (!PollUntil([&] { return IsIconic(c.t.mdi_frame) != FALSE; }, kTextDeadlineMs))
    Fail("the MDI container did not minimise");
  ShowList(c, true);
  const HWND list = Ctl(c, L"WinList");
  RemoteListView view(c.wakumo.process(), list);
  if (!PollUntil([&] { return view.RowCount() > 0; }, kTextDeadlineMs)) Fail("the window list stays empty");
  const auto rows = view.Rows(2);
  std::string listed;
  for (const auto& r : rows) listed += "\n    " + Quoted(r[0]) + " | " + Quoted(r[1]);
  Log(Format("  window list, %d rows:", static_cast<int>(rows.size())) + listed);

  auto find = [&](const std::wstring& title, const std::wstring& cls) {
    for (size_t i = 0; i < rows.size(); ++i)
      if (rows[i][0] == title && rows[i][1] == cls) return static_cast<int>(i);
    return -1;
  };
  const std::pair<std::wstring, std::wstring> wanted[] = {{kSizableTitle, kSizableClass},
                                                          {DialogTitle().substr(0, 79), kDialogClass},
                                                          {kPopupTitle, kPopupClass}};
  for (const auto& [title, cls] : wanted)
    if (find(title, cls) < 0) Fail("no row " + Quoted(title) + " | " + Quoted(cls));
  for (const auto& r : rows) {
    if (r[1] == kMdiFrameClass) Fail("the minimised MDI container is listed");
    if (r[1] == L"TForm1" || r[0] == L"Wakumo")
      Fail("Wakumo's main window is listed: " + Quoted(r[0]) + " | " + Quoted(r[1]));
  }

  SetChecked(c, L"Timing", true);
  ExpectEnabled(c, L"SetBtn", false, "with \"即\" ticked");
  TypeSize(c, 380, 260);
  const int row = find(kSizableTitle, kSizableClass);
  SendMessageW(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
  const RECT r = view.RowRect(row);
  c.input->Click(ScreenPoint(list, r.left + 30, (r.top + r.bottom) / 2));
  ExpectShown(c, kSizableClass, kSizableTitle, SizeText(home), "after a click on the sizable window's row");
  ExpectWindowRect(c.t.sizable, Sized(home, 380, 260), "after a click on its row with \"即\"");
}

}  // namespace e2e
