#pragma once
// An icon image that a component holds: empty, or an icon of its own that it
// destroys when it lets go of it.
#include <string>

#include "platform/icons.h"
#include "ui/control.h"
#include "ui/persistent.h"

namespace wakumo {

class TIcon : public TPersistent {
 public:
  explicit TIcon(IconStore& store) : store_(store) {}
  ~TIcon() override;
  TIcon(const TIcon&) = delete;
  TIcon& operator=(const TIcon&) = delete;
  std::string ClassName() const override { return "TIcon"; }

  bool Empty() const { return handle_ == 0; }
  IconHandle Handle() const { return handle_; }
  // An icon of the program's resources; false, leaving the image as it was,
  // when there is none of that name.
  bool LoadFromResource(const std::string& resource);
  void Clear();
  // From another icon: a copy of its image (an empty one empties this).
  // Any other source is refused (EConvertError).
  void Assign(const TPersistent& source) override;

  // After every change of the image.
  TNotifyEvent OnChange;

 private:
  void Take(IconHandle icon);

  IconStore& store_;
  IconHandle handle_ = 0;
};

}  // namespace wakumo
