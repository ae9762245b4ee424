#pragma once
// The application object: its title, the message loop, message boxes, and
// the program's minimise and restore (the main form's).
#include <functional>
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
  WindowHandle Handle() const override;
  void SetOnMinimize(std::function<void()> h) override { on_minimize_ = std::move(h); }
  std::function<void()> OnMinimize() const override { return on_minimize_; }
  void SetOnRestore(std::function<void()> h) override { on_restore_ = std::move(h); }
  std::function<void()> OnRestore() const override { return on_restore_; }
  void ProcessMessages() override;
  // Runs once, when Run first finds the message queue empty.
  void SetOnFirstIdle(std::function<void()> h) { on_first_idle_ = std::move(h); }
  void Restore() override;

  // The main form was sized: minimised, or shown in any other state.
  void MainFormSized(bool minimized);
  std::string Hint() const override { return hint_.Text(); }
  void AddEvents(ApplicationEvents* events) override { hint_.Add(events); }
  void RemoveEvents(ApplicationEvents* events) override { hint_.Remove(events); }
  // From the controls under the mouse and the entries of open menus.
  void SetHint(const std::string& hint) { hint_.Set(hint); }

 private:
  void RunHandler(std::function<void()> handler);

  Win32Toolkit& tk_;
  std::string title_;
  std::function<void()> on_minimize_;
  std::function<void()> on_restore_;
  std::function<void()> on_first_idle_;
  bool minimized_ = false;
  ApplicationHint hint_;
};

}  // namespace wakumo
