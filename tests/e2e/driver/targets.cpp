#include "targets.h"

#include "harness.h"

namespace e2e {

std::wstring DialogTitle() {
  std::wstring t = L"Dialog frame target: a title of one hundred characters, cut by the main window after";
  while (t.size() < 100) t += static_cast<wchar_t>(L'0' + t.size() % 10);
  return t;
}

namespace {

HWND g_mdi_client = nullptr;

LRESULT CALLBACK MdiFrameProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  return DefFrameProcW(hwnd, g_mdi_client, msg, wp, lp);
}

LRESULT CALLBACK MdiDocumentProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  return DefMDIChildProcW(hwnd, msg, wp, lp);
}

bool Register(const wchar_t* name, WNDPROC proc, int background) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(background + 1));
  wc.lpszClassName = name;
  return RegisterClassExW(&wc) != 0;
}

}  // namespace

TargetThread::~TargetThread() { Stop(); }

bool TargetThread::Start(TargetWindows& out, std::string& error) {
  ready_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  thread_ = CreateThread(nullptr, 0, &TargetThread::ThreadMain, this, 0, &thread_id_);
  if (!thread_) {
    error = Format("CreateThread failed, error %lu", GetLastError());
    return false;
  }
  HANDLE both[2] = {ready_, thread_};
  if (WaitForMultipleObjects(2, both, FALSE, 20000) != WAIT_OBJECT_0) {
    error = error_.empty() ? "target windows were not created in time" : error_;
    return false;
  }
  if (!error_.empty()) {
    error = error_;
    return false;
  }
  out = windows_;
  return true;
}

void TargetThread::Stop() {
  if (thread_) {
    PostThreadMessageW(thread_id_, WM_QUIT, 0, 0);
    if (WaitForSingleObject(thread_, 5000) != WAIT_OBJECT_0) TerminateThread(thread_, 1);
    CloseHandle(thread_);
    thread_ = nullptr;
  }
  if (ready_) {
    CloseHandle(ready_);
    ready_ = nullptr;
  }
}

DWORD WINAPI TargetThread::ThreadMain(void* param) {
  auto* self = static_cast<TargetThread*>(param);
  TargetWindows& w = self->windows_;
  HINSTANCE inst = GetModuleHandleW(nullptr);
  auto fail = [&](const char* what) {
    self->error_ = Format("%s failed, error %lu", what, GetLastError());
    SetEvent(self->ready_);
    return 1;
  };
  if (!Register(kSizableClass, DefWindowProcW, COLOR_WINDOW) ||
      !Register(kDialogClass, DefWindowProcW, COLOR_BTNFACE) ||
      !Register(kPopupClass, DefWindowProcW, COLOR_INFOBK) ||
      !Register(kMdiFrameClass, MdiFrameProc, COLOR_APPWORKSPACE) ||
      !Register(kMdiDocumentClass, MdiDocumentProc, COLOR_WINDOW))
    return fail("RegisterClassExW");

  // Placed around the screen's centre, where Wakumo's main window opens.
  w.sizable = CreateWindowExW(0, kSizableClass, kSizableTitle, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                              20, 20, 420, 340, nullptr, nullptr, inst, nullptr);
  if (!w.sizable) return fail("CreateWindowExW (sizable)");
  w.edit = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT",
                           L"A big edit control inside the sizable window.\r\n"
                           L"編集コントロール\r\nline 3\r\nline 4",
                           WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_READONLY, 10, 10, 290, 200,
                           w.sizable, nullptr, inst, nullptr);
  w.ok_button = CreateWindowExW(0, L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 310,
                                10, 90, 28, w.sizable, nullptr, inst, nullptr);
  HWND cancel = CreateWindowExW(0, L"BUTTON", L"キャンセル", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON,
                                310, 46, 90, 28, w.sizable, nullptr, inst, nullptr);
  if (!w.edit || !w.ok_button || !cancel) return fail("CreateWindowExW (controls)");

  const std::wstring dialog_title = DialogTitle();
  w.dialog = CreateWindowExW(WS_EX_DLGMODALFRAME, kDialogClass, dialog_title.c_str(),
                             WS_POPUP | WS_CAPTION | WS_SYSMENU, 860, 20, 380, 200, nullptr, nullptr,
                             inst, nullptr);
  if (!w.dialog) return fail("CreateWindowExW (dialog frame)");
  CreateWindowExW(0, L"BUTTON", L"閉じる", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 270, 120, 80, 28,
                  w.dialog, nullptr, inst, nullptr);

  w.popup = CreateWindowExW(WS_EX_TOOLWINDOW, kPopupClass, kPopupTitle, WS_POPUP | WS_BORDER, 860,
                            280, 300, 120, nullptr, nullptr, inst, nullptr);
  if (!w.popup) return fail("CreateWindowExW (popup)");

  w.mdi_frame = CreateWindowExW(0, kMdiFrameClass, L"MDI container", WS_OVERLAPPEDWINDOW |
                                WS_CLIPCHILDREN, 20, 580, 420, 380, nullptr, nullptr, inst, nullptr);
  if (!w.mdi_frame) return fail("CreateWindowExW (MDI frame)");
  CLIENTCREATESTRUCT ccs{};
  ccs.idFirstChild = 1000;
  RECT rc;
  GetClientRect(w.mdi_frame, &rc);
  w.mdi_client = CreateWindowExW(WS_EX_CLIENTEDGE, L"MDICLIENT", nullptr,
                                 WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, rc.right, rc.bottom,
                                 w.mdi_frame, nullptr, inst, &ccs);
  if (!w.mdi_client) return fail("CreateWindowExW (MDICLIENT)");
  g_mdi_client = w.mdi_client;
  MDICREATESTRUCTW mcs{};
  mcs.szClass = kMdiDocumentClass;
  mcs.szTitle = kMdiDocumentTitle;
  mcs.hOwner = inst;
  mcs.x = 16;
  mcs.y = 16;
  mcs.cx = 300;
  mcs.cy = 220;
  mcs.style = WS_OVERLAPPEDWINDOW;
  w.mdi_document = reinterpret_cast<HWND>(
      SendMessageW(w.mdi_client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
  if (!w.mdi_document) return fail("WM_MDICREATE");

  for (HWND h : {w.sizable, w.dialog, w.popup, w.mdi_frame}) {
    ShowWindow(h, SW_SHOWNOACTIVATE);
    UpdateWindow(h);
  }
  SetEvent(self->ready_);

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (!TranslateMDISysAccel(w.mdi_client, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  for (HWND h : {w.sizable, w.dialog, w.popup, w.mdi_frame}) DestroyWindow(h);
  return 0;
}

}  // namespace e2e
