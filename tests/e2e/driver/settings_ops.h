// What the settings cases share: a Wakumo of their own started on a prepared
// settings file and closed again, the file's bytes compared, and Wakumo's
// menus, list editor and shortcut box found and read from outside.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "context.h"

namespace e2e {

std::string Bytes(std::initializer_list<unsigned char> bytes);
// The lines as the settings file has them: each one ends in CR LF.
std::string FileText(std::initializer_list<std::string> lines);
// What a start without a settings file writes at close: the eight built-in
// size presets and the default options, with `win_pos` as WinPos's value.
std::vector<std::string> DefaultSizeLines();
std::string DefaultFileText(const std::string& win_pos = "0");
// Bytes shown so that line ends and non-ASCII bytes are visible.
std::string Escaped(const std::string& bytes, size_t from, size_t to);
// Fails with the first difference when the two differ.
void ExpectFileBytes(const std::string& got, const std::string& want, const std::string& what);
std::string ReadSettingsFile(const Context& c);
// Nothing but the exe and its settings: a save leaves no temporary behind.
void ExpectOnlyExeAndSettings(const Context& c);

// Starts Wakumo in a fresh folder, with `settings` as its settings file or none.
void StartWakumo(Context& c, const std::wstring& tag, std::optional<std::string> settings);
// Asks Wakumo to close and waits for it to end with exit code 0.
void CloseWakumo(Context& c);

// Visible top-level windows of Wakumo's process by class: the first, or all.
HWND VisibleTopLevel(const Context& c, const wchar_t* cls);
std::vector<HWND> VisibleTopLevels(const Context& c, const wchar_t* cls);
HWND WaitForTopLevel(const Context& c, const wchar_t* cls, const std::string& what);
void WaitUntilHidden(const Context& c, HWND window, const std::string& what);

inline constexpr wchar_t kMenuClass[] = L"#32768";

std::string CaptionsText(const std::vector<std::wstring>& captions);
// Checks the entries of the open menu where the window system lets another
// process read them; says so in the log where it does not.
void ExpectMenuCaptions(HWND menu_window, const std::vector<std::wstring>& want, const std::string& what);
// Chooses the entry with the keyboard: `choosable` counts the entries that
// can be chosen, separators left out. Waits for the menu to close.
void ChooseWithKeys(const Context& c, HWND menu_window, int choosable, const std::string& what);
HWND OpenSizeMenu(const Context& c, const std::string& what);
// A point of the main window's client area that no control covers.
POINT FreeSpotOfMainWindow(const Context& c);

// Polls until the grid's rows, as "key=value" lines, are `want`.
void ExpectGridText(HWND grid, const std::wstring& want, const std::string& what);
HWND DialogControl(const std::map<std::wstring, HWND>& controls, const wchar_t* name);

// Puts the dialog away with Cancel when a case leaves it open.
class DialogGuard {
 public:
  DialogGuard(const Context& c, HWND dialog, HWND cancel) : c_(c), dialog_(dialog), cancel_(cancel) {}
  DialogGuard(const DialogGuard&) = delete;
  DialogGuard& operator=(const DialogGuard&) = delete;
  ~DialogGuard();

 private:
  const Context& c_;
  HWND dialog_, cancel_;
};

// The entries of a combo box as its list holds them.
std::vector<std::wstring> ComboEntries(HWND combo);

}  // namespace e2e
