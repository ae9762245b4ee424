#include "app/main_form.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "app/frame_window.h"
#include "app/placement.h"
#include "controls/number_text.h"
#include "app/resource_ids.h"

namespace wakumo {

TForm1::TForm1(WindowSystem& ws, UiToolkit& tk, const Platform& platform, TrayServices& tray)
    : TForm(tk, "Form1"),
      platform_(platform),
      arrow_keys_(platform.keyboard_hook),
      Pick(tk, this, "Pick"),
      Image1(tk, &Pick, "Image1"),
      WListBtn(tk, this, "WListBtn"),
      Label3(tk, this, "Label3"),
      Label1(tk, this, "Label1"),
      Label4(tk, this, "Label4"),
      Label2(tk, this, "Label2"),
      Timing(tk, this, "Timing"),
      ClientLED(tk, this, "ClientLED"),
      Label8(tk, this, "Label8"),
      CurSize(tk, this, "CurSize"),
      GetBtn(tk, this, "GetBtn"),
      Panel2(tk, this, "Panel2"),
      Panel1(tk, this, "Panel1"),
      Label10(tk, &Panel1, "Label10"),
      ComboBox1(tk, &Panel1, "ComboBox1", false),
      ScutBtn(tk, &Panel1, "ScutBtn"),
      SetBtn(tk, &Panel1, "SetBtn"),
      Label5(tk, &Panel1, "Label5"),
      SlstBtn(tk, &Panel1, "SlstBtn"),
      Label6(tk, &Panel1, "Label6"),
      EdSizeX(tk, &Panel1, "EdSizeX", platform.keyboard, platform.clipboard, platform.locale),
      SizeX(tk, &Panel1, "SizeX", SpinnerContext()),
      Label7(tk, &Panel1, "Label7"),
      EdSizeY(tk, &Panel1, "EdSizeY", platform.keyboard, platform.clipboard, platform.locale),
      SizeY(tk, &Panel1, "SizeY", SpinnerContext()),
      WsBtn(tk, &Panel1, "WsBtn"),
      UndoBtn(tk, &Panel1, "UndoBtn"),
      BaseChk(tk, &Panel1, "BaseChk"),
      BlstBtn(tk, &Panel1, "BlstBtn"),
      Label11(tk, &Panel1, "Label11"),
      EdBaseX(tk, &Panel1, "EdBaseX", platform.keyboard, platform.clipboard, platform.locale),
      BaseX(tk, &Panel1, "BaseX", SpinnerContext()),
      Label12(tk, &Panel1, "Label12"),
      EdBaseY(tk, &Panel1, "EdBaseY", platform.keyboard, platform.clipboard, platform.locale),
      BaseY(tk, &Panel1, "BaseY", SpinnerContext()),
      ClientLine(tk, &Panel1, "ClientLine"),
      ClientChk(tk, &Panel1, "ClientChk"),
      FrontChk(tk, &Panel1, "FrontChk"),
      Label9(tk, &Panel1, "Label9"),
      AutoPos(tk, &Panel1, "AutoPos", true),
      CloseBtn(tk, &Panel1, "CloseBtn"),
      WinList(tk, this, "WinList"),
      PopupMenu1(tk, "PopupMenu1"),
      PopupMenu2(tk, "PopupMenu2"),
      SizeList(tk, "SizeList"),
      BaseList(tk, "BaseList"),
      ScutMenu(tk, "ScutMenu"),
      Shortcuts(ComboBox1),
      AppEvents(tk),
      TrayMenu(tk, "TrayMenu"),
      ws_(ws),
      tk_(tk),
      tray_services_(tray),
      screen_(tk),
      application_(tk),
      settings_(platform.files, platform.code_page) {
  LayOut();
  MakeMenus();

  Image1.OnMouseDown = [this](MouseButton b, ShiftState s, int x, int y) { Image1MouseDown(b, s, x, y); };
  OnMouseMove = [this](ShiftState s, int x, int y) { FormMouseMove(s, x, y); };
  OnMouseUp = [this](MouseButton b, ShiftState s, int x, int y) { FormMouseUp(b, s, x, y); };
  TopChk->OnClick = [this] { TopChkClick(); };
  CloseBtn.OnClick = [this] { CloseBtnClick(); };
  SetBtn.OnClick = [this] { SetBtnClick(); };
  GetBtn.OnClick = [this] { GetBtnClick(); };
  WsBtn.OnClick = [this] { WsBtnClick(); };
  for (TMenuItem* item : {mHVmax, mVmax, mHmax}) item->OnClick = [this, item] { mMaxClick(*item); };
  Timing.OnClick = [this] { TimingClick(); };
  BaseChk.OnClick = [this] { BaseChkClick(BaseChk); };
  ClientChk.OnClick = [this] { BaseChkClick(ClientChk); };
  AutoPos.OnChange = [this] { AutoPosChange(); };
  for (TEdit* field : {&EdSizeX, &EdSizeY, &EdBaseX, &EdBaseY}) field->OnEnter = [this, field] { EditEnter(*field); };
  UndoBtn.OnClick = [this] { UndoBtnClick(); };
  WListBtn.OnClick = [this] { WListBtnClick(); };
  WinList.OnClick = [this] { WinListClick(); };
  OnCanResize = [this](int& w, int& h, bool& resize) { FormCanResize(w, h, resize); };
  OnResize = [this] { FormResize(); };
  OnDpiChanged = [this](int old_dpi, int new_dpi) { FormDpiChanged(old_dpi, new_dpi); };
  OnClose = [this] { FormClose(); };
  SlstBtn.OnClick = [this] { ListBtnClick(SlstBtn); };
  BlstBtn.OnClick = [this] { ListBtnClick(BlstBtn); };
  mSadd->OnClick = [this] { mSaddClick(); };
  mSinvert->OnClick = [this] { mSinvertClick(); };
  Label5.OnDblClick = [this] { mSinvertClick(); };
  mBadd->OnClick = [this] { mBaddClick(); };
  mBinvert->OnClick = [this] { mBinvertClick(); };
  ComboBox1.OnSelect = [this] { ComboBox1Select(); };
  ComboBox1.OnCloseUp = [this] { ComboBox1CloseUp(); };
  ScutBtn.OnClick = [this] { ScutBtnClick(); };
  mSetAdd->OnClick = [this] { mSetAddClick(); };
  mSetDel->OnClick = [this] { mSetDelClick(); };
  mSetSort->OnClick = [this] { mSetSortClick(); };
  mSavePos->OnClick = [this] { mSavePosClick(); };
  mListEdit->OnClick = [this] { mListEditClick(); };
  AppEvents.OnHint = [this] { AppEventsHint(); };
  mHelp->OnClick = [this] { mHelpClick(); };
  About1->OnClick = [this] { About1Click(); };
  Panel2.OnClick = [this] { About1Click(); };
  MakeTrayMenu();

  platform.startup_trace.Mark("main window");
  FormCreate();
  platform.startup_trace.Mark("settings");
  AboutBox = std::make_unique<TAboutBox>(tk, platform.shell, platform.code_page);
  platform.startup_trace.Mark("about box");
  Form4 = std::make_unique<TForm4>(tk);
  platform.startup_trace.Mark("list editor");
}

void TForm1::FormCreate() {
  // The window list part is cut off until the list is opened.
  ResizeOnce = true;
  const Rect outer = WindowRect();
  HeightWithList = outer.Height();
  ComputeHeightsWithoutList();
  // Centred on the primary screen, at the height without the list.
  SetWindowRect(CentredOnScreen(ws_, outer.Width(), HeightWithoutList));

  WinHandles.reset();
  TargetRect = kEmptyMarker;

  SetBaseEnabled(false);
  SetUndoEnabled(false);

  LoadSettings();

  OwnHandle = FindFrameWindow(ws_, Handle());
  screen_.RegisterCursor(crSight, kSightCursorResource);
  SetClientLEDColor(false);
  CreateHintAndHelp();
}

void TForm1::SetClientLEDColor(bool on) { ClientLED.SetColor(on ? clLime : clBtnShadow); }

void TForm1::DrawTargetFrame(const Rect& r) {
  if (r == kEmptyMarker) return;
  ws_.DrawXorFrame(r);
}

void TForm1::Image1MouseDown(MouseButton, ShiftState, int, int) {
  SavedCursor = screen_.Cursor();
  screen_.SetCursor(crSight);
  ws_.SetCapture(Handle());
  Pick.SetBevelOuter(BevelKind::bvLowered);
  Picking = true;
  Label1.SetCaption("");
  Label2.SetCaption("");
  CurSize.SetCaption("");
  TargetHandle = OwnHandle;
  TargetRect = kEmptyMarker;
}

void TForm1::FormMouseMove(ShiftState shift, int, int) {
  if (!Picking) return;
  const WindowHandle hovered = ws_.WindowFromPoint(ws_.GetCursorPos());
  const WindowHandle frame = FindFrameWindow(ws_, hovered);
  WindowHandle candidate;
  if (shift.shift) {
    if (!ChildMode) SetClientLEDColor(true);
    ChildMode = true;
    candidate = hovered;
  } else {
    if (ChildMode) SetClientLEDColor(false);
    ChildMode = false;
    candidate = frame;
  }
  if (candidate == TargetHandle) return;

  DrawTargetFrame(TargetRect);
  TargetHandle = candidate;
  if (candidate == 0) {
    // Nothing under the cursor: nothing to show and nothing to outline.
    Label1.SetCaption("");
    Label2.SetCaption("");
    CurSize.SetCaption("");
    TargetRect = kEmptyMarker;
    return;
  }
  Label1.SetCaption(ReadClassName80(ws_, frame));
  Label2.SetCaption(ReadWindowText80(ws_, frame));
  const Rect rect = ws_.GetWindowRect(candidate);
  CurSize.SetCaption(SizeText(rect));
  if (IsSizableTarget(ws_, frame) && frame != OwnHandle) {
    TargetRect = rect;
    DrawTargetFrame(TargetRect);
  } else {
    TargetRect = kEmptyMarker;
  }
}

void TForm1::FormMouseUp(MouseButton, ShiftState, int, int) {
  if (!Picking) return;
  Pick.SetBevelOuter(BevelKind::bvRaised);
  screen_.SetCursor(SavedCursor);
  ws_.ReleaseCapture();
  Picking = false;
  if (TargetHandle == OwnHandle) return;

  DrawTargetFrame(TargetRect);
  Repaint();
  Label1.Repaint();
  Label2.Repaint();
  CurSize.Repaint();

  // A document window lives in its container's client coordinates.
  const WindowHandle w = ChildMode ? FindFrameWindow(ws_, TargetHandle) : TargetHandle;
  const WindowHandle container = ContainerOf(ws_, w);
  if (container != 0 && !(TargetRect == kEmptyMarker)) {
    const Point tl = ws_.ScreenToClient(container, {TargetRect.left, TargetRect.top});
    const Point br = ws_.ScreenToClient(container, {TargetRect.right, TargetRect.bottom});
    TargetRect = {tl.x, tl.y, br.x, br.y};
  }

  if (Timing.Checked()) ApplyToTarget();
}

void TForm1::TopChkClick() {
  const bool on = !TopChk->Checked();
  SetStayOnTop(on);
  TopChk->SetChecked(on);
  Repaint();
}

void TForm1::CloseBtnClick() { Close(); }

// ---------------------------------------------------------------- numbers

SlideUpDownContext TForm1::SpinnerContext() {
  return SlideUpDownContext{platform_.timers, platform_.system, platform_.locale, arrow_keys_};
}

// Positions are read and written as whole numbers; reading takes in what was
// typed, writing confines the number and rewrites the field. A typed fraction
// is rounded to the nearest whole number, as the field then shows it ("#0").
namespace {
int WholeNumber(long double v) { return static_cast<int>(std::llround(v)); }
}  // namespace

int TForm1::SizeXPosition() { return WholeNumber(SizeX.Position()); }
void TForm1::SetSizeXPosition(int value) { SizeX.SetPosition(value); }
int TForm1::SizeYPosition() { return WholeNumber(SizeY.Position()); }
void TForm1::SetSizeYPosition(int value) { SizeY.SetPosition(value); }
int TForm1::BaseXPosition() { return WholeNumber(BaseX.Position()); }
void TForm1::SetBaseXPosition(int value) { BaseX.SetPosition(value); }
int TForm1::BaseYPosition() { return WholeNumber(BaseY.Position()); }
void TForm1::SetBaseYPosition(int value) { BaseY.SetPosition(value); }

// ---------------------------------------------------------------- applying

void TForm1::ApplyWindowPos(WindowHandle window, int width, int height, int x, int y, int placement, bool useBase) {
  const WindowHandle w = ChildMode ? FindFrameWindow(ws_, window) : window;
  // Nothing to change, and nothing worth an undo record.
  if (IsNoneOrOwn(w)) return;

  // A maximised window is recorded with its restored rectangle.
  if (ws_.IsZoomed(w)) ws_.ShowWindow(w, SW_RESTORE_);
  const Rect old = ws_.GetWindowRect(w);
  UndoList.Push({w, old});

  TargetFacts target;
  target.frame = old;
  target.child_mode = ChildMode;
  target.sizable = IsSizableTarget(ws_, w);
  if (target.sizable && ChildMode) target.child = ws_.GetWindowRect(window);
  const WindowHandle container = ContainerOf(ws_, w);
  if (placement > kPlaceStandard) target.area = container != 0 ? ws_.GetClientRect(container) : ws_.GetWorkArea();
  const PlacementRequest request{width, height, x, y, placement, useBase, FrontChk.Checked()};

  WindowPosPlan plan = PlanWindowPos(target, request);
  ws_.SetWindowPos(w, 0, plan.x, plan.y, plan.width, plan.height, plan.flags);
  if (ChildMode && useBase && ClientChk.Checked()) {
    // The point given is where the child's top-left must land.
    const Rect child = ws_.GetWindowRect(window);
    Point tl{child.left, child.top};
    if (container != 0) tl = ws_.ScreenToClient(container, tl);
    plan = ShiftForClientTopLeft(plan, tl);
    ws_.SetWindowPos(w, 0, plan.x, plan.y, plan.width, plan.height, plan.flags);
  }

  SetUndoEnabled(true);
}

void TForm1::SetUndoEnabled(bool on) {
  UndoBtn.SetEnabled(on);
  // The tray's Undo follows the history while the icon is shown.
  if (TrayIconShown()) mTrayUndo->SetEnabled(on);
}

bool TForm1::IsNoneOrOwn(WindowHandle w) const { return w == 0 || w == OwnHandle || w == Handle(); }

void TForm1::SetBtnClick() {
  if (IsNoneOrOwn(TargetHandle)) return;
  ApplyToTarget();
}

void TForm1::ApplyToTarget() {
  const int w = SizeXPosition();
  const int h = SizeYPosition();
  const int x = BaseXPosition();
  const int y = BaseYPosition();
  ApplyWindowPos(TargetHandle, w, h, x, y, AutoPos.ItemIndex(), BaseChk.Checked());
}

void TForm1::GetBtnClick() {
  if (CurSize.Caption().empty()) return;
  // The empty marker comes through as it is: -1, -1 and the smallest size.
  SetBaseXPosition(TargetRect.left);
  SetBaseYPosition(TargetRect.top);
  SetSizeXPosition(TargetRect.Width());
  SetSizeYPosition(TargetRect.Height());
}

void TForm1::WsBtnClick() {
  const Point at = WsBtn.Peer().ClientToScreen({0, 0});
  PopupMenu2.Popup(at.x, at.y);
}

void TForm1::mMaxClick(TMenuItem& Sender) {
  const WindowHandle parent = ws_.GetParent(TargetHandle);
  const Rect area = parent != 0 ? ws_.GetClientRect(parent) : ws_.GetWorkArea();
  if (Sender.Tag() & kMaxVertical) {
    SetBaseYPosition(area.top);
    SetSizeYPosition(area.Height());
  }
  if (Sender.Tag() & kMaxHorizontal) {
    SetBaseXPosition(area.left);
    SetSizeXPosition(area.Width());
  }
}

void TForm1::TimingClick() { SetBtn.SetEnabled(!Timing.Checked()); }

void TForm1::BaseChkClick(TCheckBox& Sender) {
  // A client top-left is a top-left too.
  if (&Sender == &ClientChk && ClientChk.Checked()) BaseChk.SetChecked(true);
  SetBaseEnabled(BaseChk.Checked());
  if (BaseChk.Checked()) {
    AutoPos.SetItemIndex(kPlaceStandard);
  } else {
    ClientChk.SetChecked(false);
  }
}

void TForm1::AutoPosChange() {
  if (AutoPos.ItemIndex() == kPlaceStandard) return;
  // A placement and a fixed top-left exclude each other.
  SetBaseEnabled(false);
  BaseChk.SetChecked(false);
  ClientChk.SetChecked(false);
}

void TForm1::SetBaseEnabled(bool on) {
  EdBaseX.SetEnabled(on);
  EdBaseY.SetEnabled(on);
  BaseX.SetEnabled(on);
  BaseY.SetEnabled(on);
  BlstBtn.SetEnabled(on);
}

void TForm1::EditEnter(TEdit& Sender) { Sender.SelectAll(); }

// ---------------------------------------------------------------- undo

void TForm1::UndoBtnClick() {
  const std::optional<UndoRecord> record = UndoList.Pop();
  if (!record) return;
  const WindowHandle h = record->Handle;
  const Rect r = record->Rect;
  Point tl{r.left, r.top};
  // A document window goes back to the same screen place, in its
  // container's coordinates as they are now.
  if (const WindowHandle container = ContainerOf(ws_, h); container != 0) tl = ws_.ScreenToClient(container, tl);
  ws_.SetWindowPos(h, 0, tl.x, tl.y, r.Width(), r.Height(), StackingFlags(FrontChk.Checked()));
  if (UndoList.IsEmpty()) SetUndoEnabled(false);
}

// ---------------------------------------------------------------- window list

void TForm1::SetFormHeight(int height) {
  const Rect r = WindowRect();
  SetWindowRect({r.left, r.top, r.right, r.top + height});
}

void TForm1::WListBtnClick() {
  ResizeOnce = true;
  if (WListBtn.Down()) {
    WinHandles.emplace();
    for (const WindowHandle h : ws_.EnumWindows()) {
      if (h == 0 || h == OwnHandle) continue;
      if (!ws_.IsWindowVisible(h)) continue;
      if (ws_.GetShowCmd(h) == SW_SHOWMINIMIZED_) continue;
      if (ws_.IsIconic(h)) continue;
      WinList.AddRow({ReadWindowText80(ws_, h), ReadClassName80(ws_, h)});
      WinHandles->push_back(h);
    }
    SetFormHeight(HeightWithList);
    WinList.SetTabStop(true);
  } else {
    SetFormHeight(HeightWithoutList);
    WinList.Clear();
    WinHandles.reset();
    WinList.SetTabStop(false);
  }
}

void TForm1::WinListClick() {
  const int row = WinList.ItemIndex();
  if (row < 0 || !WinHandles || static_cast<std::size_t>(row) >= WinHandles->size()) return;
  TargetHandle = (*WinHandles)[static_cast<std::size_t>(row)];
  const std::vector<std::string> texts = WinList.RowTexts(row);
  Label1.SetCaption(texts.size() > 1 ? texts[1] : std::string());
  Label2.SetCaption(texts.empty() ? std::string() : texts[0]);
  // A window closed since the list was filled has no rectangle to read (the
  // port answers all zeros); the previous one stays.
  const Rect r = ws_.GetWindowRect(TargetHandle);
  if (!(r == Rect{})) TargetRect = r;
  CurSize.SetCaption(SizeText(TargetRect));
  ChildMode = false;
  SetClientLEDColor(false);
  if (Timing.Checked()) ApplyToTarget();
}

void TForm1::ComputeHeightsWithoutList() {
  // c: caption height and sizing-frame thickness, in the pixels of the
  // form's monitor, as the list top is once scaled.
  const int dpi = ScreenDpi();
  const int c = ws_.GetSystemMetricForDpi(SystemMetric::CyCaption, dpi) +
                ws_.GetSystemMetricForDpi(SystemMetric::CyFrame, dpi);
  HeightWithoutList = ScaleToScreen(kWinListTop) + c + 2;
  MinHeightWithList = HeightWithoutList + c;
}

void TForm1::FormDpiChanged(int old_dpi, int new_dpi) {
  // The heights are screen pixels of the old DPI. The list part the user
  // chose scales with the controls; the rest is made anew for the new DPI.
  const std::int64_t list_part = std::max(0, HeightWithList - HeightWithoutList);
  ComputeHeightsWithoutList();
  const std::int64_t scaled = old_dpi > 0 ? (list_part * new_dpi + old_dpi / 2) / old_dpi : list_part;
  HeightWithList = std::max(MinHeightWithList, SaturateToInt(HeightWithoutList + scaled));
  SetFormHeight(WListBtn.Down() ? HeightWithList : HeightWithoutList);
}

void TForm1::FormCanResize(int& NewWidth, int& NewHeight, bool& Resize) {
  NewWidth = WindowRect().Width();
  if (WListBtn.Down()) {
    if (NewHeight < MinHeightWithList) {
      Resize = false;
    } else {
      HeightWithList = NewHeight;
    }
  } else if (ResizeOnce) {
    ResizeOnce = false;
  } else {
    Resize = false;
  }
}

void TForm1::FormResize() {
  if (!WListBtn.Down()) return;
  WinList.SetBounds(WinList.Left(), kWinListTop, WinList.Width(), std::max(0, ClientHeight() - kWinListTop));
}

}  // namespace wakumo
