#include "win32/win32_screen.h"

#include "win32/win32_text.h"

namespace wakumo {

void Win32ScreenPeer::RegisterCursor(int id, const std::string& resource) {
  // Cursors loaded from a module are shared and never destroyed.
  HCURSOR c = LoadCursorW(instance_, Wide(resource).c_str());
  if (c) cursors_[id] = c;
}

void Win32ScreenPeer::SetCursor(int id) {
  cursor_ = id;
  // Takes effect at once, not at the next mouse move; going back to crDefault
  // shows the arrow until the window under the mouse sets its own.
  ::SetCursor(CursorHandle(id));
}

bool Win32ScreenPeer::ApplyScreenCursor() const {
  if (cursor_ == static_cast<int>(CursorId::crDefault)) return false;
  ::SetCursor(CursorHandle(cursor_));
  return true;
}

HCURSOR Win32ScreenPeer::CursorHandle(int id) const {
  auto it = cursors_.find(id);
  if (it != cursors_.end()) return it->second;
  // The common built-in cursor numbers; anything else unknown is the arrow.
  const wchar_t* system = IDC_ARROW;
  if (id == static_cast<int>(CursorId::crVSplit)) return LoadCursorW(nullptr, IDC_SIZENS);
  switch (id) {
    case -3: system = IDC_CROSS; break;
    case -4: system = IDC_IBEAM; break;
    case -11: system = IDC_WAIT; break;
    case -21: system = IDC_HAND; break;
    default: break;
  }
  return LoadCursorW(nullptr, system);
}

}  // namespace wakumo
