// The main window's settings file and preset commands.
#include "app/main_form.h"
#include "presets/preset_menus.h"

namespace wakumo {

// ---------------------------------------------------------------- settings file

void TForm1::LoadSettings() {
  const SettingsLoad loaded = settings_.Load();
  // An unreadable file is kept as it is (SettingsStore never overwrites it);
  // the program starts with the defaults and says why.
  if (loaded.read_error) application_.ShowMessage(LoadFailureMessage(*loaded.read_error));
  const SettingsData& d = loaded.data;

  ClearPresets(SizeList);
  for (const NamedPreset& p : d.sizes) AppendPreset(SizeList, tk_, p, [this](TMenuItem& i) { mSListClick(i); });
  // The first size preset is chosen as from its menu.
  if (SizeList.Count() > kFixedPresetItems) mSListClick(SizeList.Item(kFixedPresetItems));
  ClearPresets(BaseList);
  for (const NamedPreset& p : d.bases) AppendPreset(BaseList, tk_, p, [this](TMenuItem& i) { mBListClick(i); });

  Shortcuts.Assign(d.shortcuts, d.list_sort);
  mSetSort->SetChecked(d.list_sort);

  // Setting a box from here has the effects of the user's click.
  Timing.SetChecked(d.timing);
  TimingClick();
  FrontChk.SetChecked(d.to_front);
  BaseChk.SetChecked(d.base.has_value());
  BaseChkClick(BaseChk);
  if (d.base) {
    SetBaseXPosition(d.base->first);
    SetBaseYPosition(d.base->second);
  }
  TopChk->SetChecked(d.on_top);
  SetStayOnTop(d.on_top);
  if (d.win_pos) {
    const Rect r = WindowRect();
    SetWindowRect({d.win_pos->first, d.win_pos->second, d.win_pos->first + r.Width(), d.win_pos->second + r.Height()});
    mSavePos->SetChecked(true);
  }
}

void TForm1::SaveSettings() {
  SettingsData d;
  d.sizes = MenuPresets(SizeList);
  d.bases = MenuPresets(BaseList);
  d.shortcuts = Shortcuts.Entries();
  d.timing = Timing.Checked();
  d.to_front = FrontChk.Checked();
  if (BaseChk.Checked()) d.base = NumberPair{BaseXPosition(), BaseYPosition()};
  d.on_top = TopChk->Checked();
  if (mSavePos->Checked()) {
    const Rect r = WindowRect();
    d.win_pos = NumberPair{r.left, r.top};
  }
  d.list_sort = mSetSort->Checked();
  // The previous file stays intact on a failure; the close goes on.
  if (const std::optional<SaveFailure> failure = settings_.Save(d)) {
    application_.ShowMessage(SaveFailureMessage(*failure));
  }
}

void TForm1::FormClose() {
  if (closed_) return;
  closed_ = true;
  MenuHintWindow.reset();
  while (UndoList.Pop()) {
  }
  WinHandles.reset();
  // Ending from the tray menu: the icon goes with the program, not after it.
  if (TrayIcon1) TrayIcon1->SetVisible(false);
  SaveSettings();
}

// ---------------------------------------------------------------- size and position menus

void TForm1::ListBtnClick(TSpeedButton& Sender) {
  const std::string& name = Sender.Name();
  TPopupMenu& menu = !name.empty() && name[0] == 'S' ? SizeList : BaseList;
  OpenListMenu = &menu;
  // At the button's right edge (both list buttons are 16 wide), level with its top.
  const Point at = Panel1.Peer().ClientToScreen({Sender.Left() + 16, Sender.Top()});
  menu.Popup(at.x, at.y);
  OpenListMenu = nullptr;
  if (MenuHintWindow) MenuHintWindow->Hide();
}

void TForm1::mSListClick(TMenuItem& Sender) {
  const std::optional<NumberPair> p = SplitPair(Sender.Caption());
  if (!p) return;
  SetSizeXPosition(p->first);
  SetSizeYPosition(p->second);
}

void TForm1::mBListClick(TMenuItem& Sender) {
  const std::optional<NumberPair> p = SplitPair(Sender.Caption());
  if (!p) return;
  SetBaseXPosition(p->first);
  SetBaseYPosition(p->second);
}

void TForm1::mSaddClick() {
  const std::string text = SizeText(SizeXPosition(), SizeYPosition());
  if (MenuHasCaption(SizeList, text)) return;
  AppendPreset(SizeList, tk_, {text, ""}, [this](TMenuItem& i) { mSListClick(i); });
}

void TForm1::mBaddClick() {
  const std::string text = PositionText(BaseXPosition(), BaseYPosition());
  if (MenuHasCaption(BaseList, text)) return;
  AppendPreset(BaseList, tk_, {text, ""}, [this](TMenuItem& i) { mBListClick(i); });
}

void TForm1::mSinvertClick() {
  const int a = SizeXPosition();
  const int b = SizeYPosition();
  SetSizeXPosition(b);
  SetSizeYPosition(a);
}

void TForm1::mBinvertClick() {
  if (!BaseChk.Checked()) return;
  const int a = BaseXPosition();
  const int b = BaseYPosition();
  SetBaseXPosition(b);
  SetBaseYPosition(a);
}

// ---------------------------------------------------------------- shortcuts

void TForm1::ComboBox1Select() {
  const std::optional<TShortCut> s = Shortcuts.Selected();
  if (!s) return;
  SetSizeXPosition(s->Width);
  SetSizeYPosition(s->Height);
  SetBaseXPosition(s->X);
  SetBaseYPosition(s->Y);
}

void TForm1::ComboBox1CloseUp() {
  // Enter then applies the chosen shortcut at once.
  if (SetBtn.Enabled()) SetBtn.Peer().SetFocus();
}

void TForm1::ScutBtnClick() {
  const Point at = Panel1.Peer().ClientToScreen({ScutBtn.Left() + 2, ScutBtn.Top()});
  ScutMenu.Popup(at.x, at.y);
  ScutBtn.SetDown(false);
}

void TForm1::mSetAddClick() {
  const std::string name = ComboBox1.Text();
  if (const std::optional<std::string> refusal = ShortcutNameRefusal(name)) {
    application_.ShowMessage(*refusal);
    return;
  }
  // The position is stored whether or not 左上： is ticked.
  Shortcuts.Add(name, TShortCut{SizeXPosition(), SizeYPosition(), BaseXPosition(), BaseYPosition()});
}

void TForm1::mSetDelClick() { Shortcuts.Remove(ComboBox1.Text()); }

void TForm1::mSetSortClick() {
  mSetSort->SetChecked(!mSetSort->Checked());
  Shortcuts.SetSorted(mSetSort->Checked());
}

void TForm1::mSavePosClick() { mSavePos->SetChecked(!mSavePos->Checked()); }

// ---------------------------------------------------------------- list editor

void TForm1::mListEditClick() {
  if (!Form4) return;
  const Rect main = WindowRect();
  const Rect dialog = Form4->WindowRect();
  const int left = main.right + 2;
  Form4->SetWindowRect({left, main.top, left + dialog.Width(), main.top + dialog.Height()});
  // Two captions equal apart from letter case cannot both be keys of a grid:
  // the dialog does not open and the grid's message says which one.
  if (const std::optional<std::string> refusal = Form4->LoadLists(SizeList, BaseList)) {
    application_.ShowMessage(*refusal);
    return;
  }
  if (Form4->ShowModal() != ModalResult::mrOk) return;

  ClearPresets(SizeList);
  for (const NamedPreset& p : Form4->Rows(Form4->SizeList)) {
    AppendPreset(SizeList, tk_, p, [this](TMenuItem& i) { mSListClick(i); });
  }
  ClearPresets(BaseList);
  for (const NamedPreset& p : Form4->Rows(Form4->BaseList)) {
    AppendPreset(BaseList, tk_, p, [this](TMenuItem& i) { mBListClick(i); });
  }
  // Opened from the tray menu: its submenus show the new lists.
  if (TrayIconShown()) AppEventsMinimize();
}

}  // namespace wakumo
