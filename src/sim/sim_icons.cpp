#include "sim/sim_icons.h"

namespace wakumo {

IconHandle SimIconStore::LoadIcon(const std::string& resource, bool shared) {
  if (!resources_.count(resource)) return 0;
  if (!shared) {
    const IconHandle icon = ++next_;
    owned_[icon] = resource;
    return icon;
  }
  auto it = shared_.find(resource);
  if (it != shared_.end()) return it->second;
  const IconHandle icon = ++next_;
  shared_[resource] = icon;
  shared_by_handle_[icon] = resource;
  return icon;
}

IconHandle SimIconStore::CopyIcon(IconHandle icon) {
  const std::string resource = ResourceOf(icon);
  if (resource.empty()) return 0;
  const IconHandle copy = ++next_;
  owned_[copy] = resource;
  return copy;
}

void SimIconStore::DestroyIcon(IconHandle icon) {
  if (icon == 0) return;
  if (owned_.erase(icon) == 0) ++bad_destroys_;
}

std::string SimIconStore::ResourceOf(IconHandle icon) const {
  if (auto it = owned_.find(icon); it != owned_.end()) return it->second;
  if (auto it = shared_by_handle_.find(icon); it != shared_by_handle_.end()) return it->second;
  return {};
}

}  // namespace wakumo
