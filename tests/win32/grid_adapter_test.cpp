// The key/value grid (the list editor's table) on a real window: its rows,
// selection, in-place editing and column drags.
#include <string>
#include <utility>
#include <vector>

#include "presets/list_editor.h"
#include "ui/value_list_editor.h"
#include "win32/win32_api.h"
#include "win32/win32_dpi.h"
#include "win32/win32_handles.h"
#include "win32/win32_text.h"
#include "win32/win32_toolkit.h"
#include "win32/win32_value_list_editor.h"

#include "adapter_support.h"

namespace wakumo {
namespace {

POINT CentreOnScreen(HWND h, const RECT& client_rect) {
  POINT p{(client_rect.left + client_rect.right) / 2, (client_rect.top + client_rect.bottom) / 2};
  ClientToScreen(h, &p);
  return p;
}

std::string Rows(const RowsPeer& grid) {
  std::string s;
  for (int i = 0; i < grid.RowCount(); ++i) {
    const auto texts = grid.RowTexts(i);
    s += (i ? " | " : "") + (texts.size() == 2 ? texts[0] + "=" + texts[1] : std::string("?"));
  }
  return s;
}

// A grid's events: the selection as it stood when each click was heard; the
// click widens the selection to the whole row, as the list editor does.
struct GridRecorder : PeerEvents {
  Win32ValueListEditorPeer* grid = nullptr;
  std::vector<std::string> clicks;
  bool widen = true;
  std::string PeerKeyRefusal(GridKeyFault fault, const std::string& key) override { return GridKeyRefusalText(fault, key); }
  void PeerClick() override {
    clicks.push_back(std::to_string(grid->SelectedRow()) + "," + std::to_string(grid->FocusColumn()));
    if (widen) grid->SelectWholeRow(grid->SelectedRow());
  }
};

struct GridRig {
  Win32Toolkit tk{GetModuleHandleW(nullptr)};
  Recorder form_events, after_events;
  GridRecorder grid_events;
  std::unique_ptr<FormPeer> form = tk.Create<FormPeer>(ControlKind::Form, nullptr, form_events, "WkGridForm");
  std::unique_ptr<GridPeer> grid_peer = tk.Create<GridPeer>(ControlKind::ValueListEditor, form.get(), grid_events, "WkGrid");
  std::unique_ptr<EditPeer> after = tk.Create<EditPeer>(ControlKind::Edit, form.get(), after_events, "WkAfterGrid");
  Win32ValueListEditorPeer* grid = dynamic_cast<Win32ValueListEditorPeer*>(grid_peer.get());
  HWND hgrid = ToHwnd(grid_peer->Handle());

  GridRig() {
    tk.Application().SetTitle("Wakumo");
    grid_events.grid = grid;
    FontSpec f;
    f.name = "ＭＳ Ｐゴシック";
    f.height = 12;
    form->SetFont(f);
    form->SetClientSize(289, 200);
    grid_peer->SetBounds({0, 18, 240, 130});
    grid_peer->SetColumns({ListColumn{"", 80, 0, false}, ListColumn{"", 154, 0, true}});
    after->SetBounds({0, 140, 100, 161});
  }
  std::vector<std::string> Keys() const {
    std::vector<std::string> keys;
    for (int i = 0; i < grid->RowCount(); ++i) keys.push_back(grid->RowTexts(i)[0]);
    return keys;
  }
  POINT Cell(int row, int column) const { return CentreOnScreen(hgrid, grid->CellRect(row, column)); }
};

}  // namespace

void TestGridRows() {
  g_test = "GridRows";
  GridRig rig;
  Check(rig.grid != nullptr, "the grid kind has a grid peer");
  if (!rig.grid) return;
  GridPeer& grid = *rig.grid;
  Check(NameOf(rig.hgrid) == "WkGrid" && GetParent(rig.hgrid) == ToHwnd(rig.form->Handle()),
        "a child window named WkGrid: " + NameOf(rig.hgrid));
  Check(grid.RowCount() == 0 && grid.SelectedRow() == -1, "empty: selection " + std::to_string(grid.SelectedRow()));

  for (const auto& [key, value] : std::vector<std::pair<std::string, std::string>>{
           {"640 x 480", "VGA"}, {"800 x 600", "SVGA"}, {"1024 x 768", "ＸＧＡ"}}) {
    const auto refusal = grid.AppendKeyValue(key, value);
    Check(!refusal, "appending " + key + " refused: " + refusal.value_or(""));
  }
  Check(grid.SelectedRow() == 0 && rig.grid->FocusColumn() == 1 && !rig.grid->WholeRowSelected(),
        "filling selects row 0's value: row " + std::to_string(grid.SelectedRow()) + " column " +
            std::to_string(rig.grid->FocusColumn()));

  // Refused keys come back with the shared text, and nothing is added.
  const std::vector<std::string> keys = rig.Keys();
  for (const std::string& bad : {std::string("800 X 600"), std::string("a=b"), std::string("640 x 480")}) {
    const auto refusal = grid.AppendKeyValue(bad, "dup");
    const auto expected = GridKeyRefusal(keys, 3, bad);
    Check(refusal && expected && *refusal == *expected,
          "append " + bad + ": " + refusal.value_or("(accepted)") + " vs " + expected.value_or("(none)"));
  }
  Check(Rows(grid) == "640 x 480=VGA | 800 x 600=SVGA | 1024 x 768=ＸＧＡ", "rows after refusals: " + Rows(grid));
  // Another process reads the rows as the window's text.
  Check(TextOf(rig.hgrid) == "640 x 480=VGA\r\n800 x 600=SVGA\r\n1024 x 768=ＸＧＡ\r\n",
        "window text: " + TextOf(rig.hgrid));

  // Two columns: the key 80 wide, the value filling the rest, lines between.
  RECT client{};
  GetClientRect(rig.hgrid, &client);
  const UINT dpi = DpiForWindow(rig.hgrid);
  const RECT key_cell = rig.grid->CellRect(0, 0);
  const RECT value_cell = rig.grid->CellRect(0, 1);
  Check(key_cell.left == 0 && key_cell.right == ScaleToDpi(80, dpi) && value_cell.left == key_cell.right + 1 &&
            value_cell.right == client.right - 1,
        "cells " + Str(ToRect(key_cell)) + " " + Str(ToRect(value_cell)) + " in " + Str(ToRect(client)));
  Check(grid.Columns().size() == 2 && grid.Columns()[0].width == 80 && grid.Columns()[1].fill,
        "columns: key " + std::to_string(grid.Columns()[0].width));

  // Exchange: texts trade places, the selection stays.
  grid.SelectWholeRow(1);
  grid.ExchangeRows(0, 2);
  Check(Rows(grid) == "1024 x 768=ＸＧＡ | 800 x 600=SVGA | 640 x 480=VGA" && grid.SelectedRow() == 1 &&
            rig.grid->WholeRowSelected(),
        "exchanged: " + Rows(grid) + ", selection " + std::to_string(grid.SelectedRow()));
  grid.SelectWholeRow(5);
  grid.SelectWholeRow(-1);
  Check(grid.SelectedRow() == 1, "out of range selection ignored: " + std::to_string(grid.SelectedRow()));

  // Delete: the selection keeps its index, clamped to the last row.
  grid.SelectWholeRow(2);
  grid.DeleteRow(0);
  Check(Rows(grid) == "800 x 600=SVGA | 640 x 480=VGA" && grid.SelectedRow() == 1,
        "deleted row 0: " + Rows(grid) + ", selection " + std::to_string(grid.SelectedRow()));
  grid.SelectWholeRow(0);
  grid.DeleteRow(0);
  Check(Rows(grid) == "640 x 480=VGA" && grid.SelectedRow() == 0, "selection 0 stays 0: " + std::to_string(grid.SelectedRow()));
  grid.DeleteRow(3);
  grid.DeleteRow(0);
  Check(grid.RowCount() == 0 && grid.SelectedRow() == -1, "emptied: selection " + std::to_string(grid.SelectedRow()));
  grid.ExchangeRows(0, 1);
  grid.DeleteRow(0);
  CheckEq(grid.RowCount(), 0, "calls on an empty grid do nothing");

  // More rows than fit: the selected row is scrolled into view.
  for (int i = 1; i <= 30; ++i) grid.AppendKeyValue(std::to_string(i) + " x " + std::to_string(i), "");
  Check(grid.SelectedRow() == 0 && rig.grid->FocusColumn() == 1, "refilled: selection on row 0's value again");
  grid.SelectWholeRow(29);
  GetClientRect(rig.hgrid, &client);
  const RECT last = rig.grid->CellRect(29, 0);
  Check(last.top >= 0 && last.bottom <= client.bottom, "last row in view: " + Str(ToRect(last)) + " of " + Str(ToRect(client)));
  Check((GetWindowLongW(rig.hgrid, GWL_STYLE) & WS_VSCROLL) != 0, "a scroll bar for 30 rows");
  grid.ClearRows();
  Check(grid.RowCount() == 0 && grid.SelectedRow() == -1 && TextOf(rig.hgrid).empty(), "cleared");
}

void TestGridEditing() {
  g_test = "GridEdit";
  GridRig rig;
  if (!rig.grid) return;
  GridPeer& grid = *rig.grid;
  for (const auto& [key, value] : std::vector<std::pair<std::string, std::string>>{
           {"640 x 480", "VGA"}, {"800 x 600", "SVGA"}, {"1024 x 768", "XGA"}}) {
    grid.AppendKeyValue(key, value);
  }
  HWND form = ToHwnd(rig.form->Handle());
  rig.form->Show();
  SetForegroundWindow(form);
  Check(PumpRoutedUntil(rig.tk, [&] { return GetForegroundWindow() == form; }), "the grid's form came forward");
  rig.after->SetFocus();

  // A click moves the selection first, then the facade hears it.
  Click(rig.Cell(1, 0));
  Check(PumpRoutedUntil(rig.tk, [&] { return !rig.grid_events.clicks.empty() && GetAsyncKeyState(VK_LBUTTON) >= 0; }),
        "click heard");
  Check(rig.grid_events.clicks == std::vector<std::string>{"1,0"} && grid.Focused() && rig.grid->WholeRowSelected() &&
            !rig.grid->Editor(),
        "clicked row 1's key: clicks " + std::to_string(rig.grid_events.clicks.size()) + " first " +
            (rig.grid_events.clicks.empty() ? "-" : rig.grid_events.clicks[0]));

  // A click on the selected cell opens the editor on it; Enter commits.
  Click(rig.Cell(1, 0));
  Check(PumpRoutedUntil(rig.tk, [&] { return rig.grid->Editor() != nullptr && GetFocus() == rig.grid->Editor(); }),
        "second click opens the editor");
  HWND editor = rig.grid->Editor();
  Check(editor && TextOf(editor) == "800 x 600", "editor holds the key: " + (editor ? TextOf(editor) : "-"));
  if (editor) SetWindowTextW(editor, L"800x600");
  Press(VK_RETURN);
  Check(PumpRoutedUntil(rig.tk, [&] { return !rig.grid->Editor() && grid.RowTexts(1)[0] == "800x600"; }),
        "Enter commits the key: " + Rows(grid));
  CheckEq(GetFocus(), rig.hgrid, "the focus is back on the grid");

  // Typing replaces the focus cell's text; Esc cancels.
  Press(VK_RIGHT);
  PumpRoutedUntil(rig.tk, [&] { return rig.grid->FocusColumn() == 1; });
  Press('Q');
  Check(PumpRoutedUntil(rig.tk, [&] { return rig.grid->Editor() && TextOf(rig.grid->Editor()) == "q"; }),
        "typing opens the editor with the character: " + (rig.grid->Editor() ? TextOf(rig.grid->Editor()) : "-"));
  Press(VK_ESCAPE);
  Check(PumpRoutedUntil(rig.tk, [&] { return !rig.grid->Editor(); }) && grid.RowTexts(1)[1] == "SVGA",
        "Esc cancels: " + Rows(grid));
  // F2 edits the value; leaving for another control commits it too.
  Press(VK_F2);
  Check(PumpRoutedUntil(rig.tk, [&] { return rig.grid->Editor() != nullptr; }), "F2 opens the editor");
  if (rig.grid->Editor()) SetWindowTextW(rig.grid->Editor(), L"スーパーVGA");
  Click(CentreOfWindow(ToHwnd(rig.after->Handle())));
  Check(PumpRoutedUntil(rig.tk, [&] { return rig.after->Focused() && !rig.grid->Editor(); }) &&
            grid.RowTexts(1)[1] == "スーパーVGA",
        "focus loss commits the value: " + Rows(grid));

  // A key refused after Enter: the grid's text in a box over the form, the old key kept.
  grid.SetFocus();
  grid.SelectWholeRow(1);
  Press(VK_LEFT);
  Press(VK_F2);
  Check(PumpRoutedUntil(rig.tk, [&] { return rig.grid->Editor() && rig.grid->FocusColumn() == 0; }),
        "F2 on the key");
  if (rig.grid->Editor()) SetWindowTextW(rig.grid->Editor(), L"640 X 480");
  const auto duplicate = GridKeyRefusal(rig.Keys(), 1, "640 X 480");
  {
    MessageBoxClicker clicker;
    Press(VK_RETURN);
    PumpRoutedUntil(rig.tk, [&] { return clicker.Done(); }, 8000);
    const MessageBoxSeen seen = clicker.Seen();
    Check(seen.found && duplicate && seen.text == *duplicate && seen.title == "Wakumo" && seen.owner == form,
          "refusal box: found " + std::to_string(seen.found) + ", title \"" + seen.title + "\", text \"" + seen.text +
              "\", owned by the form " + std::to_string(seen.owner == form));
  }
  Check(grid.RowTexts(1)[0] == "800x600" && !rig.grid->Editor(), "old key kept: " + Rows(grid));

  // A key refused while the focus leaves: the message follows once it has gone.
  Press(VK_F2);
  PumpRoutedUntil(rig.tk, [&] { return rig.grid->Editor() != nullptr; });
  if (rig.grid->Editor()) SetWindowTextW(rig.grid->Editor(), L"a=b");
  const auto equals = GridKeyRefusal(rig.Keys(), 1, "a=b");
  {
    MessageBoxClicker clicker;
    rig.after->SetFocus();
    PumpRoutedUntil(rig.tk, [&] { return clicker.Done(); }, 8000);
    const MessageBoxSeen seen = clicker.Seen();
    Check(seen.found && equals && seen.text == *equals, "refusal on leaving: \"" + seen.text + "\"");
  }
  Check(grid.RowTexts(1)[0] == "800x600", "old key kept after leaving: " + Rows(grid));

  // Tab: cell to cell when asked, else on to the next control.
  grid.SetTabBetweenCells(true);
  grid.SetFocus();
  grid.SelectWholeRow(0);
  Press(VK_LEFT);
  PumpRoutedUntil(rig.tk, [&] { return rig.grid->FocusColumn() == 0; });
  Press(VK_TAB);
  Check(PumpRoutedUntil(rig.tk, [&] { return rig.grid->FocusColumn() == 1; }) && grid.Focused() &&
            grid.SelectedRow() == 0,
        "Tab moves to the value: column " + std::to_string(rig.grid->FocusColumn()));
  Press(VK_TAB);
  Check(PumpRoutedUntil(rig.tk, [&] { return grid.SelectedRow() == 1 && rig.grid->FocusColumn() == 0; }),
        "Tab moves on to the next row's key: row " + std::to_string(grid.SelectedRow()));
  grid.SetTabBetweenCells(false);
  Press(VK_TAB);
  Check(PumpRoutedUntil(rig.tk, [&] { return rig.after->Focused(); }), "without cell tabbing, Tab leaves the grid");

  // The line between the columns can be dragged.
  const RECT key_cell = rig.grid->CellRect(0, 0);
  POINT line{key_cell.right, (key_cell.top + key_cell.bottom) / 2};
  ClientToScreen(rig.hgrid, &line);
  const int step = ScaleToDpi(20, DpiForWindow(rig.hgrid));
  MouseInput(line, 0);
  MouseInput(line, MOUSEEVENTF_LEFTDOWN);
  MouseInput({line.x + step / 2, line.y}, 0);
  MouseInput({line.x + step, line.y}, 0);
  MouseInput({line.x + step, line.y}, MOUSEEVENTF_LEFTUP);
  Check(PumpRoutedUntil(rig.tk, [&] { return grid.Columns()[0].width == 100 && GetCapture() == nullptr; }),
        "dragged key column: " + std::to_string(grid.Columns()[0].width));
}

}  // namespace wakumo
