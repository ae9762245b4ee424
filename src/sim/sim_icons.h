#pragma once
// Icons for tests: resources by name, shared handles that stay, owned ones
// that are counted until destroyed, and a record of misuse (destroying a
// shared or unknown icon).
#include <cstdint>
#include <map>
#include <set>
#include <string>

#include "platform/icons.h"

namespace wakumo {

class SimIconStore : public IconStore {
 public:
  // The program's own icon is there from the start.
  SimIconStore() { AddResource("MAINICON"); }

  IconHandle LoadIcon(const std::string& resource, bool shared) override;
  IconHandle ApplicationIcon() override { return LoadIcon("MAINICON", true); }
  IconHandle CopyIcon(IconHandle icon) override;
  void DestroyIcon(IconHandle icon) override;

  void AddResource(const std::string& name) { resources_.insert(name); }
  void RemoveResource(const std::string& name) { resources_.erase(name); }
  // The resource an icon was made from; "" for an unknown handle.
  std::string ResourceOf(IconHandle icon) const;
  bool IsShared(IconHandle icon) const { return shared_by_handle_.count(icon) != 0; }
  // Owned icons not yet destroyed.
  std::size_t OwnedCount() const { return owned_.size(); }
  int BadDestroys() const { return bad_destroys_; }

 private:
  std::set<std::string> resources_;
  std::map<std::string, IconHandle> shared_;
  std::map<IconHandle, std::string> shared_by_handle_;
  std::map<IconHandle, std::string> owned_;
  IconHandle next_ = 0x5000;
  int bad_destroys_ = 0;
};

}  // namespace wakumo
