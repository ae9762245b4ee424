#pragma once
// The list editor: a modal dialog with the size and position presets as two
// key/value grids (key = the entry's caption, value = its name). It works on
// copies; the main window takes the grids back only after O K.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "presets/settings.h"
#include "ui/button.h"
#include "ui/form.h"
#include "ui/label.h"
#include "ui/menu.h"
#include "ui/panel.h"
#include "ui/value_list_editor.h"

namespace wakumo {

// The list editor's words for a key its grids refuse.
std::string GridKeyRefusalText(GridKeyFault fault, std::string_view key);
// The grids' key rule (CheckGridKey) in those words; nothing when the key may stand.
std::optional<std::string> GridKeyRefusal(const std::vector<std::string>& keys, int row, std::string_view key);

class TForm4 : public TForm {
 public:
  explicit TForm4(UiToolkit& tk);

  // Refills both grids from the preset entries of the two menus. Nothing on
  // success; else the grid's refusal of the first caption it cannot take
  // (two captions equal apart from letter case), and the dialog must not open.
  std::optional<std::string> LoadLists(TPopupMenu& sizes, TPopupMenu& bases);
  // The rows of a grid in order, as presets (key = caption, value = name),
  // each with the name's bytes it was loaded with.
  std::vector<NamedPreset> Rows(const TValueListEditor& grid) const;

  void FormShow();
  void ListClick(TValueListEditor& Sender);
  void UpDwnBtnClick(TButton& Sender);
  void DelBtnClick(TButton& Sender);

  TLabel Label1;
  TValueListEditor SizeList;
  TButton SUpBtn;
  TButton SDwnBtn;
  TButton SDelBtn;
  TLabel Label2;
  TValueListEditor BaseList;
  TButton BUpBtn;
  TButton BDwnBtn;
  TButton BDelBtn;
  TPanel Bevel1;
  TButton Button7;
  TButton Button8;

 private:
  // Handlers serve both grids; the first letter of the sender's name tells
  // which: "S" the sizes, anything else the positions.
  TValueListEditor& GridOf(const TControl& sender);
  std::vector<std::string>& NameBytesOf(const TValueListEditor& grid);
  const std::vector<std::string>& NameBytesOf(const TValueListEditor& grid) const;
  std::optional<std::string> FillGrid(TValueListEditor& grid, TPopupMenu& menu);

  // The settings-file bytes of each row's name (NamedPreset::name_bytes), row
  // by row: the grid holds texts only, so these move with their rows here.
  std::vector<std::string> size_name_bytes_;
  std::vector<std::string> base_name_bytes_;
};

}  // namespace wakumo
