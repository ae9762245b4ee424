// The driver's own target windows, owned by a thread of their own so that
// they keep answering while the main thread waits on Wakumo.
#pragma once

#include <windows.h>

#include <string>

namespace e2e {

struct TargetWindows {
  HWND sizable = nullptr;  // overlapped, sizing border, with child controls
  HWND edit = nullptr;     // big EDIT child of `sizable`
  HWND ok_button = nullptr;
  HWND dialog = nullptr;   // WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME
  HWND popup = nullptr;    // WS_POPUP, no system menu
  HWND mdi_frame = nullptr;
  HWND mdi_client = nullptr;
  HWND mdi_document = nullptr;
};

inline constexpr wchar_t kSizableClass[] = L"E2ESizableTarget";
inline constexpr wchar_t kSizableTitle[] = L"サイズ可変の窓 Sizable target";
inline constexpr wchar_t kDialogClass[] = L"E2EDialogFrame";
inline constexpr wchar_t kPopupClass[] = L"E2EPopup";
inline constexpr wchar_t kPopupTitle[] = L"ポップアップ";
inline constexpr wchar_t kMdiFrameClass[] = L"E2EMdiFrame";
inline constexpr wchar_t kMdiDocumentClass[] = L"E2EMdiDocument";
inline constexpr wchar_t kMdiDocumentTitle[] = L"文書 1";
// 100 characters: the main window shows only the first 79.
std::wstring DialogTitle();

class TargetThread {
 public:
  TargetThread() = default;
  TargetThread(const TargetThread&) = delete;
  TargetThread& operator=(const TargetThread&) = delete;
  ~TargetThread();
  // Creates and shows the windows; false with `error` set when that fails.
  bool Start(TargetWindows& out, std::string& error);
  void Stop();

 private:
  static DWORD WINAPI ThreadMain(void* self);
  HANDLE thread_ = nullptr;
  DWORD thread_id_ = 0;
  HANDLE ready_ = nullptr;
  TargetWindows windows_;
  std::string error_;
};

}  // namespace e2e
