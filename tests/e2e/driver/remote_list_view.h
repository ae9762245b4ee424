// A list view of another process, read with the list view's own messages.
// Their structures hold pointers, which the window system does not carry
// across processes, so they are placed in memory allocated in the owner.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

class RemoteListView {
 public:
  // process: the list's owner, opened with VM operation, read and write rights.
  RemoteListView(HANDLE process, HWND list);
  RemoteListView(const RemoteListView&) = delete;
  RemoteListView& operator=(const RemoteListView&) = delete;
  ~RemoteListView();

  int RowCount() const;
  std::wstring Text(int row, int column);
  std::vector<std::vector<std::wstring>> Rows(int columns);
  // The row's whole rectangle in the list's client coordinates.
  RECT RowRect(int row);

 private:
  HANDLE process_;
  HWND list_;
  char* remote_ = nullptr;
};

}  // namespace e2e
