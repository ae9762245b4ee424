#pragma once
// Screen cursors: registered from resources under a number, and a screen
// cursor that, while not crDefault, overrides every cursor over our windows.
#include <map>
#include <string>

#include "ui/peer.h"
#include "win32/win32_api.h"

namespace wakumo {

class Win32ScreenPeer : public ScreenPeer {
 public:
  explicit Win32ScreenPeer(HINSTANCE instance) : instance_(instance) {}
  void RegisterCursor(int id, const std::string& resource) override;
  void SetCursor(int id) override;
  int Cursor() const override { return cursor_; }

  // For WM_SETCURSOR of our windows: sets the screen cursor and returns true,
  // or returns false when each window's own cursor applies.
  bool ApplyScreenCursor() const;
  // The cursor of a screen cursor number: a registered one, or a built-in.
  HCURSOR CursorHandle(int id) const;

 private:
  HINSTANCE instance_;
  std::map<int, HCURSOR> cursors_;
  int cursor_ = 0;
};

}  // namespace wakumo
