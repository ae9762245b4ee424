#pragma once
// Hidden windows that exist only to receive messages (the notification
// area's callbacks, the taskbar's broadcasts, timers), and the messages
// themselves. Handles are opaque; message numbers and parameters keep the
// window system's values so that what is passed through stays meaningful.
// Everything here is called on the user-interface thread.
#include <cstdint>
#include <functional>
#include <string>

#include "core/geometry.h"

namespace wakumo {

inline constexpr std::uint32_t WM_DESTROY_ = 0x0002;
inline constexpr std::uint32_t WM_QUERYENDSESSION_ = 0x0011;
inline constexpr std::uint32_t WM_TIMER_ = 0x0113;
inline constexpr std::uint32_t WM_MOUSEMOVE_ = 0x0200;
inline constexpr std::uint32_t WM_LBUTTONDOWN_ = 0x0201;
inline constexpr std::uint32_t WM_LBUTTONUP_ = 0x0202;
inline constexpr std::uint32_t WM_LBUTTONDBLCLK_ = 0x0203;
inline constexpr std::uint32_t WM_RBUTTONDOWN_ = 0x0204;
inline constexpr std::uint32_t WM_RBUTTONUP_ = 0x0205;
inline constexpr std::uint32_t WM_RBUTTONDBLCLK_ = 0x0206;
inline constexpr std::uint32_t WM_MBUTTONDOWN_ = 0x0207;
inline constexpr std::uint32_t WM_MBUTTONUP_ = 0x0208;
inline constexpr std::uint32_t WM_MBUTTONDBLCLK_ = 0x0209;
inline constexpr std::uint32_t WM_USER_ = 0x0400;

// One message as a window's handlers see it. The parameters are as wide as
// the platform's (64 bits on 64-bit Windows), so a message handed back for
// default processing arrives unchanged; the result starts at 0.
struct MessageRecord {
  std::uint32_t msg = 0;
  std::uint64_t wparam = 0;
  std::int64_t lparam = 0;
  std::int64_t result = 0;
};

// The one procedure of a window class: every message of every window of the
// class, the ones sent while a window is being made included. It returns
// the message's result.
using MessageWindowProc =
    std::function<std::int64_t(WindowHandle w, std::uint32_t msg, std::uint64_t wparam, std::int64_t lparam)>;

class MessageWindows {
 public:
  virtual ~MessageWindows() = default;

  // Registers a class of hidden windows with its procedure and the class
  // icon (a resource name). False when it cannot be registered.
  virtual bool RegisterClass(const std::string& class_name, const std::string& icon_resource,
                             MessageWindowProc proc) = 0;
  // After the last window of the class is gone. Unknown classes are ignored.
  virtual void UnregisterClass(const std::string& class_name) = 0;
  // A hidden top-level tool window of a registered class (not a message-only
  // window: those never get the taskbar's broadcasts). 0 when it cannot be
  // made. The procedure sees the messages of its creation before this
  // returns.
  virtual WindowHandle CreateWindow(const std::string& class_name) = 0;
  // The messages of its destruction reach the procedure before this returns.
  // Unknown handles are ignored.
  virtual void DestroyWindow(WindowHandle w) = 0;
  // The system's own answer to a message nobody handles.
  virtual std::int64_t DefWindowProc(WindowHandle w, std::uint32_t msg, std::uint64_t wparam,
                                     std::int64_t lparam) = 0;
  // The same number for the same name, in every process; 0 on failure.
  virtual std::uint32_t RegisterWindowMessage(const std::string& name) = 0;
  // Synchronous: the window's procedure has run when this returns. Any
  // window, of this program or another.
  virtual std::int64_t SendMessage(WindowHandle w, std::uint32_t msg, std::uint64_t wparam, std::int64_t lparam) = 0;
  // Queued: the procedure runs from the message loop later. False when the
  // message could not be queued (a vanished window).
  virtual bool PostMessage(WindowHandle w, std::uint32_t msg, std::uint64_t wparam, std::int64_t lparam) = 0;
  // A timer on the window: WM_TIMER_ with wparam = id reaches its procedure
  // every interval until KillTimer. Starting an id that runs restarts it.
  // False when no timer could be made (no such window).
  virtual bool SetTimer(WindowHandle w, std::uint64_t id, std::uint32_t interval_ms) = 0;
  virtual void KillTimer(WindowHandle w, std::uint64_t id) = 0;
};

}  // namespace wakumo
