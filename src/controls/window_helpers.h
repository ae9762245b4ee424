#pragma once
// Two small helpers of the slide up-down control, over ports so that they
// stay portable.
#include <string>

#include "platform/platform.h"

namespace wakumo {

class ControlPeer;

// Anything that shows a text, as a window does.
class TextSource {
 public:
  virtual ~TextSource() = default;
  virtual std::string Text() const = 0;
};

// The whole text of a control. As with a read into a character buffer, the
// result ends at the first NUL.
std::string GetWindowTextString(const TextSource& source);
std::string GetWindowTextString(const ControlPeer& control);

// True while the key is held down.
bool IsKeyDown(KeyboardState& keyboard, int virtual_key);

}  // namespace wakumo
