#include "win32/win32_platform.h"

#include <algorithm>
#include <cwchar>
#include <utility>
#include <vector>

#include "win32/win32_dpi.h"
#include "win32/win32_text.h"

namespace wakumo {

// ---- Timers ------------------------------------------------------------------

Win32TimerService::Win32TimerService() : window_(this, &Win32TimerService::Handle) {}

Win32TimerService::~Win32TimerService() {
  if (!window_.Hwnd()) return;
  for (const auto& entry : timers_) KillTimer(window_.Hwnd(), entry.first);
}

TimerId Win32TimerService::StartTimer(std::int32_t interval_ms, TimerCallback callback) {
  if (!window_.Hwnd()) return 0;
  // SetTimer takes an unsigned interval: a negative one would run for weeks.
  const auto interval = static_cast<UINT>(std::max(interval_ms, kMinimumInterval));
  TimerId id = next_id_;
  while (id == 0 || timers_.count(id) != 0) ++id;
  if (SetTimer(window_.Hwnd(), id, interval, nullptr) == 0) return 0;
  timers_[id] = std::move(callback);
  next_id_ = id + 1;
  return id;
}

void Win32TimerService::StopTimer(TimerId id) {
  if (timers_.erase(id) == 0) return;
  KillTimer(window_.Hwnd(), id);
}

bool Win32TimerService::Handle(void* self, UINT message, WPARAM wparam, LPARAM, LRESULT& result) {
  if (message != WM_TIMER) return false;
  static_cast<Win32TimerService*>(self)->Tick(static_cast<TimerId>(wparam));
  result = 0;
  return true;
}

void Win32TimerService::Tick(TimerId id) {
  // A tick already queued when its timer was stopped finds nothing here: ids
  // are not reused until the counter wraps.
  auto it = timers_.find(id);
  if (it == timers_.end()) return;
  // The callback may stop this timer, destroying the stored function.
  TimerCallback callback = it->second;
  if (callback) callback();
}

// ---- Keyboard hook -----------------------------------------------------------

namespace {

struct HookEntry {
  const Win32KeyboardHookService* owner;
  HookId id;
  KeyboardHookProc proc;
  bool removed;
};

struct ThreadHooks {
  HHOOK hook = nullptr;
  std::vector<HookEntry> entries;
  int dispatching = 0;
  HookId next_id = 1;

  ~ThreadHooks() {
    if (hook) UnhookWindowsHookEx(hook);
  }

  // Drops removed entries and the system hook once nobody needs it. Put off
  // while a procedure runs: it may be the one being removed.
  void Purge() {
    if (dispatching > 0) return;
    std::erase_if(entries, [](const HookEntry& e) { return e.removed; });
    if (entries.empty() && hook) {
      UnhookWindowsHookEx(hook);
      hook = nullptr;
    }
  }
};

ThreadHooks& Hooks() {
  // The hook is a thread hook: each thread keeps its own.
  thread_local ThreadHooks hooks;
  return hooks;
}

// A key message's long parameter: repeat count in bits 0-15, scan code in
// 16-23, bit 30 set when the key was already down, bit 31 while it goes up.
KeyEvent DecodeKey(WPARAM wparam, LPARAM lparam) {
  const auto data = static_cast<std::uint32_t>(lparam);
  KeyEvent key;
  key.virtual_key = static_cast<int>(wparam);
  key.repeat = static_cast<int>(data & 0xFFFFu);
  key.was_down = (data & 0x40000000u) != 0;
  key.pressed = (data & 0x80000000u) == 0;
  return key;
}

LRESULT CALLBACK KeyboardProc(int code, WPARAM wparam, LPARAM lparam) {
  ThreadHooks& th = Hooks();
  bool swallow = false;
  // HC_NOREMOVE is a peek that leaves the key queued: it comes again.
  if (code == HC_ACTION) {
    const KeyEvent key = DecodeKey(wparam, lparam);
    ++th.dispatching;
    // Newest first, as in a chain of hooks. Entries added meanwhile are
    // appended and wait for the next key; the procedure is copied because it
    // may remove itself or add others (moving the vector).
    for (std::size_t i = th.entries.size(); i-- > 0;) {
      if (th.entries[i].removed) continue;
      const KeyboardHookProc proc = th.entries[i].proc;
      if (proc && proc(key)) swallow = true;
    }
    --th.dispatching;
  }
  const LRESULT next = CallNextHookEx(th.hook, code, wparam, lparam);
  th.Purge();
  return swallow ? 1 : next;
}

}  // namespace

Win32KeyboardHookService::~Win32KeyboardHookService() {
  ThreadHooks& th = Hooks();
  for (HookEntry& e : th.entries) {
    if (e.owner == this) {
      e.removed = true;
      e.proc = nullptr;
    }
  }
  th.Purge();
}

HookId Win32KeyboardHookService::InstallKeyboardHook(KeyboardHookProc proc) {
  if (!proc) return 0;
  ThreadHooks& th = Hooks();
  if (!th.hook) {
    th.hook = SetWindowsHookExW(WH_KEYBOARD, &KeyboardProc, nullptr, GetCurrentThreadId());
    if (!th.hook) return 0;
  }
  HookId id = th.next_id;
  auto used = [&th](HookId candidate) {
    return std::any_of(th.entries.begin(), th.entries.end(), [candidate](const HookEntry& e) { return e.id == candidate; });
  };
  while (id == 0 || used(id)) ++id;
  th.next_id = id + 1;
  th.entries.push_back(HookEntry{this, id, std::move(proc), false});
  return id;
}

void Win32KeyboardHookService::RemoveKeyboardHook(HookId id) {
  ThreadHooks& th = Hooks();
  for (HookEntry& e : th.entries) {
    if (e.id == id && e.owner == this && !e.removed) {
      e.removed = true;
      e.proc = nullptr;
    }
  }
  th.Purge();
}

// ---- System parameters -------------------------------------------------------

std::optional<std::uint32_t> Win32SystemParameters::KeyboardDelay() {
  int delay = 0;
  if (!SystemParametersInfoW(SPI_GETKEYBOARDDELAY, 0, &delay, 0)) return std::nullopt;
  return static_cast<std::uint32_t>(std::clamp(delay, 0, 3));
}

std::optional<std::uint32_t> Win32SystemParameters::KeyboardSpeed() {
  DWORD speed = 0;
  if (!SystemParametersInfoW(SPI_GETKEYBOARDSPEED, 0, &speed, 0)) return std::nullopt;
  return std::min<std::uint32_t>(speed, 31);
}

// ---- Clipboard ---------------------------------------------------------------

Win32Clipboard::Win32Clipboard() : window_(this, nullptr) {}

bool Win32Clipboard::Open() {
  // Another program may hold the clipboard for a moment (a clipboard viewer
  // reading what we just put there); a few short retries ride that out.
  for (int attempt = 0; attempt < 5; ++attempt) {
    if (OpenClipboard(window_.Hwnd())) return true;
    Sleep(10);
  }
  return false;
}

std::optional<std::string> Win32Clipboard::GetText() {
  // The system offers CF_UNICODETEXT for CF_TEXT and CF_OEMTEXT data as well.
  if (!IsClipboardFormatAvailable(CF_UNICODETEXT) || !Open()) return std::nullopt;
  std::optional<std::string> text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
      // Another program's data need not end with a NUL inside its block.
      const std::size_t capacity = GlobalSize(data) / sizeof(wchar_t);
      text = Narrow(std::wstring_view(chars, wcsnlen(chars, capacity)));
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

bool Win32Clipboard::SetText(std::string_view text) {
  const std::wstring wide = Wide(text);
  const std::size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (!block) return false;
  auto* chars = static_cast<wchar_t*>(GlobalLock(block));
  if (!chars) {
    GlobalFree(block);
    return false;
  }
  std::copy(wide.begin(), wide.end(), chars);
  chars[wide.size()] = L'\0';
  GlobalUnlock(block);
  if (!Open()) {
    GlobalFree(block);
    return false;
  }
  // Once SetClipboardData succeeds the block belongs to the system.
  const bool ok = EmptyClipboard() && SetClipboardData(CF_UNICODETEXT, block) != nullptr;
  if (!ok) GlobalFree(block);
  CloseClipboard();
  return ok;
}

// ---- Locale ------------------------------------------------------------------

namespace {

std::wstring LocaleString(LCTYPE type) {
  // Number symbols are at most three characters; the buffer has room to spare.
  wchar_t buf[16];
  const int n = GetLocaleInfoW(LOCALE_USER_DEFAULT, type, buf, 16);
  return n > 1 ? std::wstring(buf, static_cast<std::size_t>(n - 1)) : std::wstring();
}

// The symbol's first character, or nothing when it has none a number could
// use: control characters and digits would break every number typed.
std::optional<char32_t> FirstSymbol(std::wstring_view s) {
  if (s.empty()) return std::nullopt;
  const char32_t c =
      DecodeUtf16At(std::u16string_view(reinterpret_cast<const char16_t*>(s.data()), s.size()), 0).code_point;
  if (IsSurrogate(c)) return std::nullopt;
  if (c < 0x20 || c == 0x7F || (c >= U'0' && c <= U'9')) return std::nullopt;
  return c;
}

}  // namespace

NumberSeparators SeparatorsFrom(std::wstring_view decimal, std::wstring_view thousands) {
  NumberSeparators s;
  s.decimal = FirstSymbol(decimal).value_or(U'.');
  s.thousands = FirstSymbol(thousands).value_or(s.decimal == U',' ? U'.' : U',');
  if (s.decimal == s.thousands) return NumberSeparators{};
  return s;
}

NumberSeparators Win32LocaleInfo::Separators() {
  return SeparatorsFrom(LocaleString(LOCALE_SDECIMAL), LocaleString(LOCALE_STHOUSAND));
}

// ---- Metrics -----------------------------------------------------------------

int ScrollBarWidthDesignPixels() {
  const int width = SystemMetricForDpi(SM_CXVSCROLL, kDesignDpi);
  return width > 0 ? width : 17;
}

}  // namespace wakumo
