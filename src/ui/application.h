#pragma once
#include <functional>
#include <string>
#include <utility>

#include "ui/control.h"
#include "ui/peer.h"

namespace wakumo {

class TApplication {
 public:
  explicit TApplication(UiToolkit& tk) : peer_(tk.Application()) {}
  void SetTitle(const std::string& t) { peer_.SetTitle(t); }
  std::string Title() const { return peer_.Title(); }
  void Run() { peer_.Run(); }
  void Terminate() { peer_.Terminate(); }
  void ShowMessage(const std::string& text) { peer_.ShowMessage(text); }
  WindowHandle Handle() const { return peer_.Handle(); }
  void SetOnMinimize(std::function<void()> h) { peer_.SetOnMinimize(std::move(h)); }
  std::function<void()> OnMinimize() const { return peer_.OnMinimize(); }
  void SetOnRestore(std::function<void()> h) { peer_.SetOnRestore(std::move(h)); }
  std::function<void()> OnRestore() const { return peer_.OnRestore(); }
  void ProcessMessages() { peer_.ProcessMessages(); }
  void Restore() { peer_.Restore(); }
  // What the user points at or highlights now (ApplicationPeer::Hint).
  std::string Hint() const { return peer_.Hint(); }

 private:
  ApplicationPeer& peer_;
};

// The application's events for one listener; several may listen at once.
class TApplicationEvents : protected ApplicationEvents {
 public:
  explicit TApplicationEvents(UiToolkit& tk) : peer_(tk.Application()) { peer_.AddEvents(this); }
  ~TApplicationEvents() override { peer_.RemoveEvents(this); }
  TApplicationEvents(const TApplicationEvents&) = delete;
  TApplicationEvents& operator=(const TApplicationEvents&) = delete;

  // The application's hint text changed.
  TNotifyEvent OnHint;

 protected:
  void PeerHint() override { if (OnHint) OnHint(); }

 private:
  ApplicationPeer& peer_;
};

class TScreen {
 public:
  explicit TScreen(UiToolkit& tk) : peer_(tk.Screen()) {}
  void RegisterCursor(int id, const std::string& resource) { peer_.RegisterCursor(id, resource); }
  void SetCursor(int id) { peer_.SetCursor(id); }
  int Cursor() const { return peer_.Cursor(); }

 private:
  ScreenPeer& peer_;
};

}  // namespace wakumo
