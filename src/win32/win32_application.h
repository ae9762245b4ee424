#pragma once
// The application object: its title, the message loop and message boxes.
#include <string>

#include "ui/application_hint.h"
#include "ui/peer.h"

namespace wakumo {

class Win32Toolkit;

class Win32ApplicationPeer : public ApplicationPeer {
 public:
  explicit Win32ApplicationPeer(Win32Toolkit& tk) : tk_(tk) {}
  void SetTitle(const std::string& title) override { title_ = title; }
  std::string Title() const override { return title_; }
  void Run() override;
  void Terminate() override;
  void ShowMessage(const std::string& text) override;
  std::string Hint() const override { return hint_.Text(); }
  void AddEvents(ApplicationEvents* events) override { hint_.Add(events); }
  void RemoveEvents(ApplicationEvents* events) override { hint_.Remove(events); }
  // From the controls under the mouse and the entries of open menus.
  void SetHint(const std::string& hint) { hint_.Set(hint); }

 private:
  Win32Toolkit& tk_;
  std::string title_;
  ApplicationHint hint_;
};

}  // namespace wakumo
