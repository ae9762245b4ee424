#include "tray/icon.h"

namespace wakumo {

TIcon::~TIcon() { store_.DestroyIcon(handle_); }

void TIcon::Take(IconHandle icon) {
  if (icon == handle_) return;
  store_.DestroyIcon(handle_);
  handle_ = icon;
  if (OnChange) OnChange();
}

bool TIcon::LoadFromResource(const std::string& resource) {
  const IconHandle icon = store_.LoadIcon(resource, false);
  if (!icon) return false;
  Take(icon);
  return true;
}

void TIcon::Clear() { Take(0); }

void TIcon::Assign(const TPersistent& source) {
  const auto* other = dynamic_cast<const TIcon*>(&source);
  if (!other) AssignError(source);
  if (other == this) return;
  Take(other->Empty() ? 0 : store_.CopyIcon(other->handle_));
}

}  // namespace wakumo
