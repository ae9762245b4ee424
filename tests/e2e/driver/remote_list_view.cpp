#include "remote_list_view.h"

#include <commctrl.h>

#include "harness.h"

namespace e2e {

namespace {

// Layout of the block in the owner's memory.
constexpr size_t kItemOffset = 0;      // LVITEMW, or a RECT
constexpr size_t kTextOffset = 256;    // the text buffer
constexpr int kTextChars = 1024;
constexpr size_t kBlockSize = kTextOffset + kTextChars * sizeof(wchar_t);

LRESULT Send(HWND list, UINT msg, WPARAM w, LPARAM l) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(list, msg, w, l, SMTO_ABORTIFHUNG, 3000, &result))
    Fail(Format("list view message 0x%04X got no answer, error %lu", msg, GetLastError()));
  return static_cast<LRESULT>(result);
}

}  // namespace

RemoteListView::RemoteListView(HANDLE process, HWND list) : process_(process), list_(list) {
  remote_ = static_cast<char*>(VirtualAllocEx(process_, nullptr, kBlockSize, MEM_COMMIT | MEM_RESERVE,
                                              PAGE_READWRITE));
  if (!remote_) Fail(Format("VirtualAllocEx in Wakumo's process failed, error %lu", GetLastError()));
}

RemoteListView::~RemoteListView() {
  if (remote_) VirtualFreeEx(process_, remote_, 0, MEM_RELEASE);
}

int RemoteListView::RowCount() const { return static_cast<int>(Send(list_, LVM_GETITEMCOUNT, 0, 0)); }

std::wstring RemoteListView::Text(int row, int column) {
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = reinterpret_cast<wchar_t*>(remote_ + kTextOffset);
  item.cchTextMax = kTextChars;
  const wchar_t nothing = 0;
  SIZE_T done = 0;
  if (!WriteProcessMemory(process_, remote_ + kItemOffset, &item, sizeof item, &done) ||
      !WriteProcessMemory(process_, remote_ + kTextOffset, &nothing, sizeof nothing, &done))
    Fail(Format("WriteProcessMemory failed, error %lu", GetLastError()));
  const LRESULT n = Send(list_, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                         reinterpret_cast<LPARAM>(remote_ + kItemOffset));
  if (n < 0 || n >= kTextChars) Fail(Format("LVM_GETITEMTEXTW answered %ld", static_cast<long>(n)));
  std::wstring text(static_cast<size_t>(n), L'\0');
  if (n > 0 && !ReadProcessMemory(process_, remote_ + kTextOffset, text.data(),
                                  static_cast<SIZE_T>(n) * sizeof(wchar_t), &done))
    Fail(Format("ReadProcessMemory failed, error %lu", GetLastError()));
  return text;
}

std::vector<std::vector<std::wstring>> RemoteListView::Rows(int columns) {
  std::vector<std::vector<std::wstring>> rows;
  const int n = RowCount();
  for (int r = 0; r < n; ++r) {
    std::vector<std::wstring> row;
    for (int col = 0; col < columns; ++col) row.push_back(Text(r, col));
    rows.push_back(std::move(row));
  }
  return rows;
}

RECT RemoteListView::RowRect(int row) {
  RECT r{LVIR_BOUNDS, 0, 0, 0};
  SIZE_T done = 0;
  if (!WriteProcessMemory(process_, remote_ + kItemOffset, &r, sizeof r, &done))
    Fail(Format("WriteProcessMemory failed, error %lu", GetLastError()));
  if (!Send(list_, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(remote_ + kItemOffset)))
    Fail(Format("LVM_GETITEMRECT refused row %d", row));
  if (!ReadProcessMemory(process_, remote_ + kItemOffset, &r, sizeof r, &done))
    Fail(Format("ReadProcessMemory failed, error %lu", GetLastError()));
  return r;
}

}  // namespace e2e
