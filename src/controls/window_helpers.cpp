#include "controls/window_helpers.h"

#include "ui/peer.h"

namespace wakumo {

namespace {

std::string UpToNul(std::string text) {
  std::size_t nul = text.find('\0');
  if (nul != std::string::npos) text.resize(nul);
  return text;
}

}  // namespace

std::string GetWindowTextString(const TextSource& source) { return UpToNul(source.Text()); }

std::string GetWindowTextString(const ControlPeer& control) { return UpToNul(control.Caption()); }

// Any bit of the high byte counts, not only the top one.
bool IsKeyDown(KeyboardState& keyboard, int virtual_key) {
  return (static_cast<std::uint16_t>(keyboard.GetKeyState(virtual_key)) & 0xFF00u) != 0;
}

}  // namespace wakumo
