#include "app/main_form.h"

#include "app/frame_window.h"
#include "app/startup.h"

namespace wakumo {

namespace {

// The described form is laid out for 96 DPI; peers scale it to the real DPI.
constexpr int kClientWidth = 348;
constexpr int kClientHeight = 440;
constexpr int kWinListTop = 245;

FontSpec FontOf(const char* name, int height, bool bold = false, TColor color = clWindowText) {
  FontSpec f;
  f.name = name;
  f.height = height;
  f.bold = bold;
  f.color = color;
  return f;
}

}  // namespace

TForm1::TForm1(WindowSystem& ws, UiToolkit& tk)
    : TForm(tk, "Form1"),
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
      EdSizeX(tk, &Panel1, "EdSizeX"),
      Label7(tk, &Panel1, "Label7"),
      EdSizeY(tk, &Panel1, "EdSizeY"),
      WsBtn(tk, &Panel1, "WsBtn"),
      UndoBtn(tk, &Panel1, "UndoBtn"),
      BaseChk(tk, &Panel1, "BaseChk"),
      BlstBtn(tk, &Panel1, "BlstBtn"),
      Label11(tk, &Panel1, "Label11"),
      EdBaseX(tk, &Panel1, "EdBaseX"),
      Label12(tk, &Panel1, "Label12"),
      EdBaseY(tk, &Panel1, "EdBaseY"),
      ClientLine(tk, &Panel1, "ClientLine"),
      ClientChk(tk, &Panel1, "ClientChk"),
      FrontChk(tk, &Panel1, "FrontChk"),
      Label9(tk, &Panel1, "Label9"),
      AutoPos(tk, &Panel1, "AutoPos", true),
      CloseBtn(tk, &Panel1, "CloseBtn"),
      PopupMenu1(tk, "PopupMenu1"),
      ws_(ws),
      screen_(tk) {
  LayOut();
  TopChk = &PopupMenu1.Add(tk, "TopChk", "常に前");
  mSavePos = &PopupMenu1.Add(tk, "mSavePos", "表示位置を保存");
  PopupMenu1.Add(tk, "N1", "-");
  mListEdit = &PopupMenu1.Add(tk, "mListEdit", "リスト編集...");
  PopupMenu1.Add(tk, "N2", "-");
  mHelp = &PopupMenu1.Add(tk, "mHelp", "ヘルプ...");
  About1 = &PopupMenu1.Add(tk, "About1", "バージョン情報...");
  TopChk->SetChecked(true);
  SetPopupMenu(&PopupMenu1);

  Image1.OnMouseDown = [this](MouseButton b, ShiftState s, int x, int y) { Image1MouseDown(b, s, x, y); };
  OnMouseMove = [this](ShiftState s, int x, int y) { FormMouseMove(s, x, y); };
  OnMouseUp = [this](MouseButton b, ShiftState s, int x, int y) { FormMouseUp(b, s, x, y); };
  TopChk->OnClick = [this] { TopChkClick(); };
  CloseBtn.OnClick = [this] { CloseBtnClick(); };

  FormCreate();
}

TForm1::~TForm1() = default;

void TForm1::LayOut() {
  SetCaption("Wakumo");
  SetFont(FontOf("ＭＳ Ｐゴシック", 13));
  SetBorderIcons(true, true, false);
  SetClientSize(kClientWidth, kClientHeight);

  Pick.SetBounds(4, 8, 32, 32);
  Pick.SetBevelOuter(BevelKind::bvRaised);
  Image1.SetBounds(2, 0, 30, 30);
  Image1.SetPicture(kSightPictureResource, true);
  Image1.SetHint("照準");
  WListBtn.SetBounds(6, 44, 28, 28);
  WListBtn.SetStyle(true, 1, true);
  WListBtn.SetGlyph(kWListGlyphResource);
  WListBtn.SetHint("ウィンドウリスト表示");

  Label3.SetBounds(48, 12, 60, 13);
  Label3.SetCaption("クラス名：");
  Label1.SetBounds(108, 12, 240, 13);
  Label4.SetBounds(52, 36, 56, 13);
  Label4.SetCaption("タイトル：");
  Label2.SetBounds(108, 36, 240, 41);
  Label2.SetWordWrap(true);

  Timing.SetBounds(5, 83, 37, 17);
  Timing.SetCaption("即");
  Timing.SetHint("変更タイミング");
  ClientLED.SetBounds(47, 87, 9, 9);
  ClientLED.SetBevelOuter(BevelKind::bvLowered);
  Label8.SetBounds(58, 85, 58, 13);
  Label8.SetCaption("現サイズ：");
  CurSize.SetBounds(116, 82, 96, 18);
  CurSize.SetBevelOuter(BevelKind::bvLowered);
  GetBtn.SetBounds(215, 82, 20, 20);
  GetBtn.SetGlyph(kGetGlyphResource);
  GetBtn.SetHint("現サイズ取り込み");
  Panel2.SetBounds(296, 79, 50, 20);
  Panel2.SetCaption("About...");
  Panel2.SetFont(FontOf("Arial", 12));
  Panel2.SetBevelOuter(BevelKind::bvLowered);
  Panel2.SetBevelInner(BevelKind::bvRaised);
  Panel2.SetHint("バージョン情報");

  Panel1.SetBounds(0, 104, 348, 140);
  Panel1.SetBevelOuter(BevelKind::bvLowered);

  // Shortcut row.
  Label10.SetBounds(8, 11, 70, 13);
  Label10.SetCaption("ショートカット");
  ComboBox1.SetBounds(82, 7, 160, 21);
  ScutBtn.SetBounds(243, 7, 17, 21);
  ScutBtn.SetGlyph(kListGlyphResource);
  SetBtn.SetBounds(272, 5, 68, 25);
  SetBtn.SetCaption("Set");
  SetBtn.SetFont(FontOf("ＭＳ Ｐゴシック", 13, true));

  // Size row.
  Label5.SetBounds(8, 40, 44, 13);
  Label5.SetCaption("サイズ：");
  SlstBtn.SetBounds(52, 36, 17, 21);
  SlstBtn.SetGlyph(kListGlyphResource);
  Label6.SetBounds(76, 40, 12, 13);
  Label6.SetCaption("横");
  EdSizeX.SetBounds(90, 36, 48, 21);
  Label7.SetBounds(164, 40, 12, 13);
  Label7.SetCaption("縦");
  EdSizeY.SetBounds(178, 36, 48, 21);
  WsBtn.SetBounds(252, 36, 21, 21);
  WsBtn.SetStyle(true, 0, false);
  WsBtn.SetGlyph(kWsGlyphResource);
  WsBtn.SetHint("最大化サイズ");
  UndoBtn.SetBounds(280, 35, 60, 23);
  UndoBtn.SetCaption("Undo");

  // Position row.
  BaseChk.SetBounds(6, 66, 46, 17);
  BaseChk.SetCaption("左上：");
  BlstBtn.SetBounds(52, 64, 17, 21);
  BlstBtn.SetGlyph(kListGlyphResource);
  Label11.SetBounds(76, 68, 12, 13);
  Label11.SetCaption("Ｘ");
  EdBaseX.SetBounds(90, 64, 48, 21);
  Label12.SetBounds(164, 68, 12, 13);
  Label12.SetCaption("Ｙ");
  EdBaseY.SetBounds(178, 64, 48, 21);

  // Client row: a connector drawn from BaseChk down to ClientChk.
  ClientLine.SetBounds(12, 85, 26, 13);
  ClientLine.SetCaption("│└");
  ClientLine.SetFont(FontOf("ＭＳ ゴシック", 13, false, clBtnShadow));
  ClientChk.SetBounds(38, 87, 66, 17);
  ClientChk.SetCaption("ｸﾗｲｱﾝﾄ");
  ClientChk.SetRightAligned(true);

  // Placement row.
  FrontChk.SetBounds(6, 113, 50, 17);
  FrontChk.SetCaption("前へ");
  FrontChk.SetChecked(true);
  Label9.SetBounds(64, 115, 26, 13);
  Label9.SetCaption("位置");
  AutoPos.SetBounds(92, 111, 140, 21);
  AutoPos.SetItems({"標準", "センタリング", "デスクトップ左上", "デスクトップ右上", "デスクトップ左下", "デスクトップ右下"});
  AutoPos.SetItemIndex(0);
  CloseBtn.SetBounds(272, 108, 68, 25);
  CloseBtn.SetCaption("終了(&X)");
}

void TForm1::FormCreate() {
  // The window list part is cut off until the list is opened.
  ResizeOnce = true;
  const Rect outer = WindowRect();
  HeightWithList = outer.Height();
  const int c = ws_.GetSystemMetric(SystemMetric::CyCaption) + ws_.GetSystemMetric(SystemMetric::CyFrame);
  HeightWithoutList = kWinListTop + c + 2;
  MinHeightWithList = HeightWithoutList + c;
  // Centred on the primary screen, at the height without the list.
  const int sw = ws_.GetSystemMetric(SystemMetric::CxScreen);
  const int sh = ws_.GetSystemMetric(SystemMetric::CyScreen);
  const int left = (sw - outer.Width()) / 2;
  const int top = (sh - HeightWithoutList) / 2;
  SetWindowRect({left, top, left + outer.Width(), top + HeightWithoutList});

  TargetRect = kEmptyMarker;

  EdBaseX.SetEnabled(false);
  EdBaseY.SetEnabled(false);
  BlstBtn.SetEnabled(false);
  UndoBtn.SetEnabled(false);

  // Without a settings file the window stays on top.
  SetStayOnTop(TopChk->Checked());

  OwnHandle = FindFrameWindow(ws_, Handle());
  screen_.RegisterCursor(crSight, kSightCursorResource);
  SetClientLEDColor(false);
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
  const WindowHandle parent = ws_.GetParent(w);
  if (parent != 0 && (ws_.GetStyle(parent) & WS_CHILD_) != 0 && !(TargetRect == kEmptyMarker)) {
    const Point tl = ws_.ScreenToClient(parent, {TargetRect.left, TargetRect.top});
    const Point br = ws_.ScreenToClient(parent, {TargetRect.right, TargetRect.bottom});
    TargetRect = {tl.x, tl.y, br.x, br.y};
  }
}

void TForm1::TopChkClick() {
  const bool on = !TopChk->Checked();
  SetStayOnTop(on);
  TopChk->SetChecked(on);
  Repaint();
}

void TForm1::CloseBtnClick() { Close(); }

}  // namespace wakumo
