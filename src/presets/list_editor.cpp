#include "presets/list_editor.h"

#include <algorithm>
#include <utility>

#include "presets/preset_menus.h"

namespace wakumo {

namespace {

// A list under its label (14 px above it), with UP, DOWN (28 px lower) and DEL
// (64 px lower) on its right; the tags give the direction UP and DOWN move a row.
void LayOutList(TLabel& label, int label_left, int label_width, const std::string& caption, TValueListEditor& list,
                int list_top, TButton& up, TButton& down, TButton& del, int buttons_top) {
  label.SetBounds(label_left, list_top - 14, label_width, 12);
  label.SetCaption(caption);
  list.SetBounds(0, list_top, 240, 112);
  list.SetColumnWidths(80, 154);
  up.SetBounds(246, buttons_top, 41, 25);
  up.SetCaption("UP");
  up.SetTag(1);
  down.SetBounds(246, buttons_top + 28, 41, 25);
  down.SetCaption("DOWN");
  down.SetTag(-1);
  del.SetBounds(246, buttons_top + 64, 41, 25);
  del.SetCaption("DEL");
}

}  // namespace

std::string GridKeyRefusalText(GridKeyFault fault, std::string_view key) {
  switch (fault) {
    case GridKeyFault::kHoldsEquals:
      return "キーに \"=\" は使えません: \"" + std::string(key) + "\"";
    case GridKeyFault::kDuplicate:
      break;
  }
  return "同じキーがすでにあります: \"" + std::string(key) + "\"";
}

std::optional<std::string> GridKeyRefusal(const std::vector<std::string>& keys, int row, std::string_view key) {
  const std::optional<GridKeyFault> fault = CheckGridKey(keys, row, key);
  if (!fault) return std::nullopt;
  return GridKeyRefusalText(*fault, key);
}

TForm4::TForm4(UiToolkit& tk)
    : TForm(tk, "Form4"),
      Label1(tk, this, "Label1"),
      SizeList(tk, this, "SizeList"),
      SUpBtn(tk, this, "SUpBtn"),
      SDwnBtn(tk, this, "SDwnBtn"),
      SDelBtn(tk, this, "SDelBtn"),
      Label2(tk, this, "Label2"),
      BaseList(tk, this, "BaseList"),
      BUpBtn(tk, this, "BUpBtn"),
      BDwnBtn(tk, this, "BDwnBtn"),
      BDelBtn(tk, this, "BDelBtn"),
      Bevel1(tk, this, "Bevel1"),
      Button7(tk, &Bevel1, "Button7"),
      Button8(tk, &Bevel1, "Button8") {
  SetCaption("Wakumo- リスト編集");
  SetFont({.name = "ＭＳ Ｐゴシック", .height = 12});
  // A fixed single border without any title-bar button, not even a close box.
  SetBorderIcons(false, false, false);
  SetSizeable(false);
  SetClientSize(289, 310);

  LayOutList(Label1, 2, 44, "サイズ：", SizeList, 18, SUpBtn, SDwnBtn, SDelBtn, 32);
  SizeList.SetTabBetweenCells(true);
  SizeList.RefusalText = GridKeyRefusalText;
  LayOutList(Label2, 3, 36, "左上：", BaseList, 155, BUpBtn, BDwnBtn, BDelBtn, 168);
  BaseList.SetTabBetweenCells(false);
  BaseList.RefusalText = GridKeyRefusalText;

  // The bevel along the bottom edge holds the two closing buttons (at 82, 281
  // and 154, 281 of the dialog).
  Bevel1.SetBounds(0, 272, 289, 38);
  Bevel1.SetBevelOuter(BevelKind::bvLowered);
  Button7.SetBounds(82, 9, 53, 25);
  Button7.SetCaption("O K");
  Button8.SetBounds(154, 9, 53, 25);
  Button8.SetCaption("Cancel");

  OnShow = [this] { FormShow(); };
  SizeList.OnClick = [this] { ListClick(SizeList); };
  BaseList.OnClick = [this] { ListClick(BaseList); };
  for (TButton* b : {&SUpBtn, &SDwnBtn, &BUpBtn, &BDwnBtn}) b->OnClick = [this, b] { UpDwnBtnClick(*b); };
  for (TButton* b : {&SDelBtn, &BDelBtn}) b->OnClick = [this, b] { DelBtnClick(*b); };
  Button7.OnClick = [this] { SetModalResult(ModalResult::mrOk); };
  Button8.OnClick = [this] { SetModalResult(ModalResult::mrCancel); };
}

std::optional<std::string> TForm4::FillGrid(TValueListEditor& grid, TPopupMenu& menu) {
  std::vector<std::string>& bytes = NameBytesOf(grid);
  grid.Clear();
  bytes.clear();
  for (const NamedPreset& p : MenuPresets(menu)) {
    if (std::optional<std::string> refusal = grid.AppendRow(p.caption, p.name)) return refusal;
    bytes.push_back(p.name_bytes);
  }
  return std::nullopt;
}

std::optional<std::string> TForm4::LoadLists(TPopupMenu& sizes, TPopupMenu& bases) {
  if (std::optional<std::string> refusal = FillGrid(SizeList, sizes)) return refusal;
  return FillGrid(BaseList, bases);
}

std::vector<NamedPreset> TForm4::Rows(const TValueListEditor& grid) const {
  const std::vector<std::string>& bytes = NameBytesOf(grid);
  std::vector<NamedPreset> out;
  for (int i = 0; i < grid.RowCount(); ++i) {
    const auto at = static_cast<std::size_t>(i);
    // An edited name keeps its bytes here; they are dropped when the file is
    // written, since the text no longer shows them.
    out.push_back({grid.Key(i), grid.Value(i), at < bytes.size() ? bytes[at] : std::string()});
  }
  return out;
}

TValueListEditor& TForm4::GridOf(const TControl& sender) {
  const std::string& name = sender.Name();
  return !name.empty() && name[0] == 'S' ? SizeList : BaseList;
}

std::vector<std::string>& TForm4::NameBytesOf(const TValueListEditor& grid) {
  return &grid == &SizeList ? size_name_bytes_ : base_name_bytes_;
}

const std::vector<std::string>& TForm4::NameBytesOf(const TValueListEditor& grid) const {
  return &grid == &SizeList ? size_name_bytes_ : base_name_bytes_;
}

void TForm4::FormShow() {
  for (TValueListEditor* grid : {&SizeList, &BaseList}) grid->SelectWholeRow(grid->Row());
}

void TForm4::ListClick(TValueListEditor& Sender) {
  TValueListEditor& grid = GridOf(Sender);
  grid.SelectWholeRow(grid.Row());
}

void TForm4::UpDwnBtnClick(TButton& Sender) {
  TValueListEditor& grid = GridOf(Sender);
  const int r = grid.Row();
  const int n = grid.RowCount();
  int t;
  if (Sender.Tag() < 0) {
    if (n == 0 || r < 0 || r + 1 >= n) return;
    t = r + 1;
  } else {
    if (r <= 0 || r >= n) return;
    t = r - 1;
  }
  // Key and value move together; an exchange never trips the unique keys.
  grid.ExchangeRows(r, t);
  if (std::vector<std::string>& bytes = NameBytesOf(grid); std::max(r, t) < static_cast<int>(bytes.size())) {
    std::swap(bytes[static_cast<std::size_t>(r)], bytes[static_cast<std::size_t>(t)]);
  }
  // The moved preset stays selected, so repeated clicks keep moving it.
  grid.SelectWholeRow(t);
}

void TForm4::DelBtnClick(TButton& Sender) {
  TValueListEditor& grid = GridOf(Sender);
  const int r = grid.Row();
  if (r < 0 || r >= grid.RowCount()) return;
  grid.DeleteRow(r);
  if (std::vector<std::string>& bytes = NameBytesOf(grid); r < static_cast<int>(bytes.size())) {
    bytes.erase(bytes.begin() + r);
  }
}

}  // namespace wakumo
