// The main window's controls and menus as designed: bounds, captions,
// fonts, glyphs and hints.
#include "app/main_form.h"
#include "app/resource_ids.h"

namespace wakumo {

void TForm1::LayOut() {
  SetCaption("Wakumo");
  SetFont({.name = "ＭＳ Ｐゴシック", .height = 13});
  SetBorderIcons(true, true, false);
  // The border first, so the client area keeps its designed size.
  SetSizeable(true);
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
  Panel2.SetFont({.name = "Arial", .height = 12});
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
  ScutBtn.SetStyle(true, 0, false);
  ScutBtn.SetGlyph(kListGlyphResource);
  SetBtn.SetBounds(272, 5, 68, 25);
  SetBtn.SetCaption("Set");
  SetBtn.SetFont({.name = "ＭＳ Ｐゴシック", .height = 13, .bold = true});

  // Size row.
  Label5.SetBounds(8, 40, 44, 13);
  Label5.SetCaption("サイズ：");
  SlstBtn.SetBounds(52, 36, 17, 21);
  SlstBtn.SetStyle(true, 0, false);
  SlstBtn.SetGlyph(kListGlyphResource);
  Label6.SetBounds(76, 40, 12, 13);
  Label6.SetCaption("横");
  EdSizeX.SetBounds(90, 36, 48, 21);
  LoadField(EdSizeX, SizeX, true);
  Label7.SetBounds(164, 40, 12, 13);
  Label7.SetCaption("縦");
  EdSizeY.SetBounds(178, 36, 48, 21);
  LoadField(EdSizeY, SizeY, true);
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
  BlstBtn.SetStyle(true, 0, false);
  BlstBtn.SetGlyph(kListGlyphResource);
  Label11.SetBounds(76, 68, 12, 13);
  Label11.SetCaption("Ｘ");
  EdBaseX.SetBounds(90, 64, 48, 21);
  LoadField(EdBaseX, BaseX, false);
  Label12.SetBounds(164, 68, 12, 13);
  Label12.SetCaption("Ｙ");
  EdBaseY.SetBounds(178, 64, 48, 21);
  LoadField(EdBaseY, BaseY, false);

  // Client row: a connector drawn from BaseChk down to ClientChk.
  ClientLine.SetBounds(12, 85, 26, 13);
  ClientLine.SetCaption("│└");
  ClientLine.SetFont({.name = "ＭＳ ゴシック", .height = 13, .color = clBtnShadow});
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

  WinList.SetBounds(0, kWinListTop, kClientWidth, kWinListHeight);
  WinList.SetColumns({ListColumn{"タイトル", 200, 4, false}, ListColumn{"クラス名", 0, 0, true}});
  WinList.SetTabStop(false);
}

void TForm1::LoadField(TNumberEdit& field, TSlideUpDown& spinner, bool size) {
  // The fields as stored: none clamps; the spinners hold the ranges.
  if (size) {
    field.SetLimitOptions({TLimitOption::loMin});
    field.SetMax(1);
    field.SetMin(1);
    field.SetValue(1);
  } else {
    field.SetLimitOptions({});
  }
  TSlideUpDownValues v;
  v.Bounds = Rect{field.Left() + field.Width(), field.Top(), field.Left() + field.Width() + 12, field.Top() + field.Height()};
  v.Buttons = {TBody::bdFull, false, 500, 33, true, 1.0L};
  v.Slider = {TBody::bdLight, false, static_cast<int>(CursorId::crVSplit), 3, 1.0L};
  v.Associate = &field;
  if (size) v.Position = 1;  // a stored 0 is left out
  if (&spinner == &SizeY) v.AlignButton = TAlignButton::sudNone;
  v.Quantity = 1;
  v.Rate = 1;
  v.Increment = 1;
  v.FunctionKind = TFunctionKind::fkLinear;
  v.Format = "#0";
  v.Max = size ? kSizeMax : kPosMax;
  v.Min = size ? kSizeMin : kPosMin;
  v.Wrap = false;
  spinner.Load(v);
}

void TForm1::MakeMenus() {
  TopChk = &PopupMenu1.Add(tk_, "TopChk", "常に前");
  mSavePos = &PopupMenu1.Add(tk_, "mSavePos", "表示位置を保存");
  PopupMenu1.Add(tk_, "N1", "-");
  mListEdit = &PopupMenu1.Add(tk_, "mListEdit", "リスト編集...");
  PopupMenu1.Add(tk_, "N2", "-");
  mHelp = &PopupMenu1.Add(tk_, "mHelp", "ヘルプ...");
  About1 = &PopupMenu1.Add(tk_, "About1", "バージョン情報...");
  TopChk->SetChecked(true);
  SetPopupMenu(&PopupMenu1);
  mHVmax = &PopupMenu2.Add(tk_, "mHVmax", "最大");
  mHVmax->SetTag(kMaxVertical | kMaxHorizontal);
  mHVmax->SetPicture(kMaxBothPictureResource);
  mVmax = &PopupMenu2.Add(tk_, "mVmax", "縦のみ");
  mVmax->SetTag(kMaxVertical);
  mVmax->SetPicture(kMaxVertPictureResource);
  mHmax = &PopupMenu2.Add(tk_, "mHmax", "横のみ");
  mHmax->SetTag(kMaxHorizontal);
  mHmax->SetPicture(kMaxHorzPictureResource);
  mSadd = &SizeList.Add(tk_, "mSadd", "サイズ追加");
  mSinvert = &SizeList.Add(tk_, "mSinvert", "縦横入れ替え");
  SizeList.Add(tk_, "N3", "-");
  mBadd = &BaseList.Add(tk_, "mBadd", "座標追加");
  mBinvert = &BaseList.Add(tk_, "mBinvert", "XY入れ替え");
  BaseList.Add(tk_, "N4", "-");
  mSetAdd = &ScutMenu.Add(tk_, "mSetAdd", "追加");
  mSetDel = &ScutMenu.Add(tk_, "mSetDel", "削除");
  ScutMenu.Add(tk_, "N5", "-");
  mSetSort = &ScutMenu.Add(tk_, "mSetSort", "ソート");
}

}  // namespace wakumo
