// What the settings cases share: settings files' bytes made and compared, and
// the list editor and shortcut box read from outside (menus and starting a
// Wakumo of a case's own are in popups.h).
#pragma once

#include <windows.h>

#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "context.h"
#include "popups.h"

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
// A file's whole bytes; none when it cannot be opened.
std::optional<std::string> ReadBytes(const std::wstring& path);
// Nothing but the exe and its settings: a save leaves no temporary behind.
void ExpectOnlyExeAndSettings(const Context& c);

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
