#pragma once
// The application's hint text with its listeners, as both adapters keep it:
// each change is heard once, a repeat not at all.
#include <algorithm>
#include <string>
#include <vector>

#include "ui/peer.h"

namespace wakumo {

class ApplicationHint {
 public:
  const std::string& Text() const { return text_; }
  void Add(ApplicationEvents* events) {
    if (events && std::find(events_.begin(), events_.end(), events) == events_.end()) events_.push_back(events);
  }
  void Remove(ApplicationEvents* events) { events_.erase(std::remove(events_.begin(), events_.end(), events), events_.end()); }
  void Set(const std::string& text) {
    if (text == text_) return;
    text_ = text;
    // A listener may go away while hearing of it.
    const std::vector<ApplicationEvents*> listeners = events_;
    for (ApplicationEvents* e : listeners) {
      if (std::find(events_.begin(), events_.end(), e) != events_.end()) e->PeerHint();
    }
  }

 private:
  std::string text_;
  std::vector<ApplicationEvents*> events_;
};

}  // namespace wakumo
