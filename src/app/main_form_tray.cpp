// Tray mode: minimised, the main window leaves the taskbar for an icon in
// the notification area, whose menu applies a size and a placement to the
// window that was in front when the pointer came onto the icon.
#include <algorithm>
#include <string>

#include "app/frame_window.h"
#include "app/main_form.h"
#include "app/placement.h"
#include "presets/preset_menus.h"
#include "presets/tray_menu.h"

namespace wakumo {

namespace {

// What Set applies: a size, and either a placement (1 to 5), a top-left
// position, or neither (the window stays where it is).
struct TrayChoice {
  NumberPair size;
  NumberPair position;
  int placement = kPlaceStandard;
  bool use_base = false;
};

// The tray's numbers go straight to the window, not through the spinners,
// so they are confined as the spinners would confine them: a preset gives
// the same result from the tray as from the main window.
NumberPair ConfineSize(NumberPair p) {
  return {std::clamp(p.first, kSizeMin, kSizeMax), std::clamp(p.second, kSizeMin, kSizeMax)};
}
NumberPair ConfinePosition(NumberPair p) {
  return {std::clamp(p.first, kPosMin, kPosMax), std::clamp(p.second, kPosMin, kPosMax)};
}

std::optional<NumberPair> SizeOf(TMenuItem& sizes) {
  const std::optional<NumberPair> p = TrayEntryNumbers(sizes, sizes.Tag());
  return p ? std::optional(ConfineSize(*p)) : std::nullopt;
}

std::optional<NumberPair> PositionOf(TMenuItem& bases) {
  const std::optional<NumberPair> p = TrayEntryNumbers(bases, bases.Tag());
  return p ? std::optional(ConfinePosition(*p)) : std::nullopt;
}

// Nothing when the selected size, or the selected position entry, gives no
// numbers: Set never makes up numbers that were not read.
std::optional<TrayChoice> ReadTrayChoice(TMenuItem& sizes, TMenuItem& bases) {
  const std::optional<NumberPair> size = SizeOf(sizes);
  if (!size) return std::nullopt;
  TrayChoice choice;
  choice.size = *size;
  const int p = bases.Tag();
  if (p >= kTrayBaseCurrent) {
    const std::optional<NumberPair> position = PositionOf(bases);
    if (!position) return std::nullopt;
    choice.position = *position;
  } else {
    choice.placement = p;
  }
  choice.use_base = bases.Count() > 0 && !bases.Item(kTrayBaseNoMove).Checked();
  return choice;
}

// "800x600", or an entry's caption as it stands when it gives no numbers.
std::string PairTip(TMenuItem& sub, const std::optional<NumberPair>& p, char separator) {
  if (p) return std::to_string(p->first) + separator + std::to_string(p->second);
  const int i = sub.Tag();
  return i >= 0 && static_cast<std::size_t>(i) < sub.Count() ? sub.Item(static_cast<std::size_t>(i)).Caption() : "";
}

}  // namespace

// ---------------------------------------------------------------- menu and icon

void TForm1::MakeTrayMenu() {
  mTraySet = &TrayMenu.Add(tk_, "mTraySet", "Set");
  mTraySet->SetDefault(true);
  mTrayUndo = &TrayMenu.Add(tk_, "mTrayUndo", "Undo");
  TrayMenu.Add(tk_, "N6", "-");
  mScutList = &TrayMenu.Add(tk_, "mScutList", "ショートカット");
  mSizeList = &TrayMenu.Add(tk_, "mSizeList", "サイズ");
  mBaseList = &TrayMenu.Add(tk_, "mBaseList", "左上座標");
  mListEdit2 = &TrayMenu.Add(tk_, "mListEdit2", "リスト編集...");
  TrayMenu.Add(tk_, "N10", "-");
  mAbout2 = &TrayMenu.Add(tk_, "mAbout2", "バージョン情報...");
  mHelp2 = &TrayMenu.Add(tk_, "mHelp2", "ヘルプ...");
  mExit = &TrayMenu.Add(tk_, "mExit", "終 了");

  mTraySet->OnClick = [this] { mTraySetClick(); };
  mTrayUndo->OnClick = [this] { UndoBtnClick(); };
  mListEdit2->OnClick = [this] { mListEditClick(); };
  mAbout2->OnClick = [this] { About1Click(); };
  mHelp2->OnClick = [this] { mHelpClick(); };
  mExit->OnClick = [this] { CloseBtnClick(); };

  application_.SetOnMinimize([this] { AppEventsMinimize(); });
  application_.SetOnRestore([this] { AppEventsRestore(); });
}

TForm1::~TForm1() {
  // The icon first: it gives the application back the handlers below.
  TrayIcon1.reset();
  application_.SetOnMinimize(nullptr);
  application_.SetOnRestore(nullptr);
}

void TForm1::MakeTrayIcon() {
  // After the application's handlers are ours: it calls them first.
  TrayIcon1 = std::make_unique<TTrayIcon>(tray_services_, tk_, Handle());
  TTrayIcon& t = *TrayIcon1;
  // As stored with the main window.
  t.BeginLoading();
  t.SetTipHelp("TipHelp");
  t.SetVisible(false);
  t.SetResourceIconID(-1);
  t.SetCheckSingleDoubleClick(true);
  t.SetBalloonHelpTimeOut(0);
  t.ToolTipStyle().SetUseDefault(true);
  t.SetRButtonPopupMenu(&TrayMenu);
  t.OnDblClick = [this] { mTraySetClick(); };
  t.OnMouseEnter = [this] { TrayIcon1MouseEnter(); };
  t.OnMouseClick = [this](MouseButton b, ShiftState s, int x, int y) { TrayIcon1MouseClick(b, s, x, y); };
  t.Loaded();
}

bool TForm1::TrayIconShown() const { return TrayIcon1 && TrayIcon1->Visible(); }

bool TForm1::ShowTrayIcon() {
  if (!TrayIcon1) MakeTrayIcon();
  std::string failure = kCannotRegisterIconText;
  try {
    TrayIcon1->SetVisible(true);
    // No icon image to show is as bad as a refusal: no way back either.
    if (TrayIcon1->Registration().Shown()) return true;
  } catch (const ENotifyIconError& e) {
    failure = e.what();
  }
  // The main window stays the way back: it comes out of the taskbar again,
  // and the error is told once, here.
  TrayIcon1->SetVisible(false);
  application_.Restore();
  application_.ShowMessage(failure);
  return false;
}

void TForm1::RebuildTrayMenus() {
  FillShortcutEntries(*mScutList, tk_, Shortcuts.Entries(), [this](TMenuItem& i) { mScutListClick(i); });

  const std::string size = SizeText(SizeXPosition(), SizeYPosition());
  FillSizeEntries(*mSizeList, tk_, size, MenuPresets(SizeList), [this](TMenuItem& i) { mTraySizeClick(i); });
  SelectTrayEntry(*mSizeList, FindTrayEntry(*mSizeList, size));

  const std::string position = PositionText(BaseXPosition(), BaseYPosition());
  FillBaseEntries(*mBaseList, tk_, position, MenuPresets(BaseList), [this](TMenuItem& i) { mTrayBaseClick(i); });
  int selected = kTrayBaseNoMove;
  if (const int placement = AutoPos.ItemIndex(); placement >= kPlaceCentre && placement <= kTrayBaseLastPlacement) {
    selected = placement;
  } else if (BaseChk.Checked()) {
    selected = FindTrayEntry(*mBaseList, position);
  }
  SelectTrayEntry(*mBaseList, selected);
}

// ---------------------------------------------------------------- handlers

void TForm1::AppEventsMinimize() {
  RebuildTrayMenus();
  // The tray's Undo is only kept in step while the icon is shown; it starts
  // each tray mode as the history stands, as UndoBtn does.
  mTrayUndo->SetEnabled(!UndoList.IsEmpty());
  // The icon before the taskbar button goes: without the icon the button is
  // the only way back.
  if (!ShowTrayIcon()) return;
  ws_.ShowWindow(application_.Handle(), SW_HIDE_);
}

void TForm1::AppEventsRestore() { ws_.SetForegroundWindow(Handle()); }

void TForm1::TrayIcon1MouseEnter() {
  const WindowHandle front = ws_.GetForegroundWindow();
  // Opening the tray menu puts a window of ours in front (the menu's owner),
  // and a click on the taskbar puts the taskbar there: neither is what the
  // user works on, so the last window that was stays the target.
  if (front == 0 || (!ws_.IsOwnProcessWindow(front) && !IsTaskbar(ws_, front))) TrayTarget = front;
  if (TrayIcon1) TrayIcon1->SetTipHelp(TrayTipText());
}

std::string TForm1::TrayTipText() {
  std::string tip = "サイズ:" + PairTip(*mSizeList, SizeOf(*mSizeList), 'x');
  const int p = mBaseList->Tag();
  if (p >= kTrayBaseCurrent) {
    tip += "/左上:" + PairTip(*mBaseList, PositionOf(*mBaseList), ',');
  } else if (p >= 0 && static_cast<std::size_t>(p) < mBaseList->Count()) {
    tip += "/" + mBaseList->Item(static_cast<std::size_t>(p)).Caption();
  }
  return tip;
}

void TForm1::mTraySizeClick(TMenuItem& Sender) { SelectTrayEntry(*mSizeList, Sender.Tag()); }

void TForm1::mTrayBaseClick(TMenuItem& Sender) { SelectTrayEntry(*mBaseList, Sender.Tag()); }

void TForm1::mScutListClick(TMenuItem& Sender) {
  const std::vector<NamedShortCut> all = Shortcuts.Entries();
  if (Sender.Tag() < 0 || static_cast<std::size_t>(Sender.Tag()) >= all.size()) return;
  if (mSizeList->Count() <= kTraySizeCurrent || mBaseList->Count() <= kTrayBaseCurrent) return;
  const TShortCut& s = all[static_cast<std::size_t>(Sender.Tag())].shortcut;
  mSizeList->Item(kTraySizeCurrent).SetCaption(SizeText(s.Width, s.Height));
  SelectTrayEntry(*mSizeList, kTraySizeCurrent);
  mBaseList->Item(kTrayBaseCurrent).SetCaption(PositionText(s.X, s.Y));
  // A chosen centring stays: the shortcut then gives only its size.
  if (!mBaseList->Item(kTrayBaseCentre).Checked()) SelectTrayEntry(*mBaseList, kTrayBaseCurrent);
}

void TForm1::mTraySetClick() {
  const std::optional<TrayChoice> choice = ReadTrayChoice(*mSizeList, *mBaseList);
  if (!choice || TrayTarget == 0) return;
  ApplyWindowPos(TrayTarget, choice->size.first, choice->size.second, choice->position.first,
                 choice->position.second, choice->placement, choice->use_base);
}

void TForm1::TrayIcon1MouseClick(MouseButton Button, ShiftState, int, int) {
  if (Button != MouseButton::mbLeft) return;
  // AppEventsRestore runs from here, through the application's handler.
  application_.Restore();
  if (TrayIcon1) TrayIcon1->SetVisible(false);

  // The tray's placement comes back to the main window; its numbers do not.
  for (int i = kTrayBaseCentre; i <= kTrayBaseLastPlacement && static_cast<std::size_t>(i) < mBaseList->Count(); ++i) {
    if (!mBaseList->Item(static_cast<std::size_t>(i)).Checked()) continue;
    AutoPos.SetItemIndex(i);
    AutoPosChange();
    return;
  }
  const bool no_move = mBaseList->Count() > 0 && mBaseList->Item(kTrayBaseNoMove).Checked();
  // No move is the standard placement without a top-left, so a placement
  // the main window had goes too.
  if (no_move) AutoPos.SetItemIndex(kPlaceStandard);
  BaseChk.SetChecked(!no_move);
  BaseChkClick(BaseChk);
}

}  // namespace wakumo
