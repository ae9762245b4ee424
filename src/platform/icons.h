#pragma once
// Icons of the program's resources, for the notification area. Handles are
// opaque; 0 is none. Everything here is called on the user-interface thread.
#include <cstdint>
#include <string>

namespace wakumo {

using IconHandle = std::uint64_t;

class IconStore {
 public:
  virtual ~IconStore() = default;
  // A small (notification-area sized) icon from the program's resources; 0
  // when there is no such resource. A shared icon belongs to the system and
  // stays valid for the life of the process; any other belongs to the
  // caller, who destroys it.
  virtual IconHandle LoadIcon(const std::string& resource, bool shared) = 0;
  // The program's own icon, small and shared; 0 when it has none.
  virtual IconHandle ApplicationIcon() = 0;
  // A copy that belongs to the caller; 0 when it cannot be made.
  virtual IconHandle CopyIcon(IconHandle icon) = 0;
  // Only for icons that belong to the caller. 0 is ignored.
  virtual void DestroyIcon(IconHandle icon) = 0;
};

}  // namespace wakumo
