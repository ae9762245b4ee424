// The list view on a real window: rows and columns, and dragging its
// column dividers with the mouse.
#include <string>
#include <vector>

#include "win32/win32_api.h"
#include "win32/win32_dpi.h"
#include "win32/win32_handles.h"
#include "win32/win32_text.h"
#include "win32/win32_toolkit.h"

#include "adapter_support.h"

namespace wakumo {

void TestListView() {
  g_test = "ListView";
  Win32Toolkit tk(GetModuleHandleW(nullptr));
  Recorder fe, le;
  auto form = tk.Create<FormPeer>(ControlKind::Form, nullptr, fe, "WkForm5");
  auto list = tk.Create<ListViewPeer>(ControlKind::ListView, form.get(), le, "WkList");
  form->SetClientSize(348, 200);
  list->SetBounds({0, 0, 348, 192});
  list->SetColumns({ListColumn{"タイトル", 200, 4, false}, ListColumn{"クラス名", 0, 0, true}});
  list->AddRow({"(無題) - メモ帳", "Notepad"});
  list->AddRow({std::string(300, 'w'), "Shell_TrayWnd"});
  Check(list->RowCount() == 2, "rows: " + std::to_string(list->RowCount()));
  const auto row = list->RowTexts(1);
  Check(row.size() == 2 && row[0] == std::string(300, 'w') && row[1] == "Shell_TrayWnd", "long row texts come back whole");
  Check(list->RowTexts(0) == std::vector<std::string>{"(無題) - メモ帳", "Notepad"}, "row 0 texts");
  CheckEq(list->SelectedRow(), -1, "nothing selected at first");
  HWND h = ToHwnd(list->Handle());
  RECT client{};
  GetClientRect(h, &client);
  const int fill = static_cast<int>(SendMessageW(h, LVM_GETCOLUMNWIDTH, 1, 0));
  Check(fill == client.right - ScaleToDpi(200, DpiForWindow(h)), "filling column width " + std::to_string(fill) +
                                                                     " of client " + std::to_string(client.right));
  list->ClearRows();
  Check(list->RowCount() == 0 && list->RowTexts(0).empty(), "cleared");
}

void TestListViewDividerDrags() {
  g_test = "ListViewDivider";
  Win32Toolkit tk(GetModuleHandleW(nullptr));
  Recorder fe, le;
  auto form = tk.Create<FormPeer>(ControlKind::Form, nullptr, fe, "WkDividerForm");
  auto list = tk.Create<ListViewPeer>(ControlKind::ListView, form.get(), le, "WkDividerList");
  form->SetClientSize(348, 200);
  form->SetWindowRect({200, 200, 200 + 360, 200 + 240});
  list->SetBounds({0, 0, 348, 192});
  list->SetColumns({ListColumn{"タイトル", 200, 4, false}, ListColumn{"クラス名", 0, 0, true}});
  list->AddRow({"(無題) - メモ帳", "Notepad"});
  form->Show();
  HWND hform = ToHwnd(form->Handle());
  SetForegroundWindow(hform);
  PumpUntil([&] { return GetForegroundWindow() == hform; });
  HWND lv = ToHwnd(list->Handle());
  HWND header = reinterpret_cast<HWND>(SendMessageW(lv, LVM_GETHEADER, 0, 0));
  const UINT dpi = DpiForWindow(lv);
  RECT client{}, hr{};
  GetClientRect(lv, &client);
  GetClientRect(header, &hr);
  auto width = [&](int column) { return static_cast<int>(SendMessageW(lv, LVM_GETCOLUMNWIDTH, column, 0)); };
  auto divider = [&] {
    POINT p{width(0), hr.bottom / 2};
    ClientToScreen(header, &p);
    return p;
  };
  struct Step {
    const char* what;
    int to_x;  // header client x the divider is dragged to
    int want_title;
  };
  const Step steps[] = {
      {"dragged out to 250", ScaleToDpi(250, dpi), ScaleToDpi(250, dpi)},
      {"dragged back to 120", ScaleToDpi(120, dpi), ScaleToDpi(120, dpi)},
      {"dragged to the far left", 0, ScaleToDpi(4, dpi)},
  };
  for (const Step& st : steps) {
    const POINT from = divider();
    POINT to{st.to_x, hr.bottom / 2};
    ClientToScreen(header, &to);
    Drag(from, to);
    Check(PumpUntil([&] { return width(0) == st.want_title && width(1) == client.right - st.want_title; }, 2000),
          std::string(st.what) + ": タイトル " + std::to_string(width(0)) + " (expected " +
              std::to_string(st.want_title) + "), クラス名 " + std::to_string(width(1)) + " of client " +
              std::to_string(client.right));
  }
  // A resize of the list keeps the dragged width and refills the rest.
  list->SetBounds({0, 0, 300, 192});
  GetClientRect(lv, &client);
  Check(width(0) == ScaleToDpi(4, dpi) && width(1) == client.right - width(0),
        "after a resize: タイトル " + std::to_string(width(0)) + ", クラス名 " + std::to_string(width(1)));
}

}  // namespace wakumo
