#pragma once
// The application object: its title, the message loop, message boxes, and
// the program's minimise and restore (the main form's).
#include <functional>
#include <string>

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
  WindowHandle Handle() const override;
  void SetOnMinimize(std::function<void()> h) override { on_minimize_ = std::move(h); }
  std::function<void()> OnMinimize() const override { return on_minimize_; }
  void SetOnRestore(std::function<void()> h) override { on_restore_ = std::move(h); }
  std::function<void()> OnRestore() const override { return on_restore_; }
  void ProcessMessages() override;
  void Restore() override;

  // The main form was sized: minimised, or shown in any other state.
  void MainFormSized(bool minimized);

 private:
  void RunHandler(std::function<void()> handler);

  Win32Toolkit& tk_;
  std::string title_;
  std::function<void()> on_minimize_;
  std::function<void()> on_restore_;
  bool minimized_ = false;
};

}  // namespace wakumo
