// Wakumo's other top-level windows (menus, dialogs) as another process finds
// them, and starting and closing a Wakumo of a case's own.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "context.h"

namespace e2e {

inline constexpr wchar_t kMenuClass[] = L"#32768";
inline constexpr int kCloseDeadlineMs = 15000;

// Starts Wakumo in a fresh folder (see LaunchSetup); the case fails if it does not come up.
void StartWakumo(Context& c, const std::wstring& tag, std::optional<std::string> settings,
                 std::vector<std::wstring> beside = {});
// Posts WM_CLOSE and waits for a clean end.
void CloseWakumo(Context& c);

// Visible top-level windows of Wakumo's process with this class: the first
// (or null), or all.
HWND VisibleTopLevel(const Context& c, const wchar_t* cls);
std::vector<HWND> VisibleTopLevels(const Context& c, const wchar_t* cls);
HWND WaitForTopLevel(const Context& c, const wchar_t* cls, const std::string& what);
void WaitUntilHidden(const Context& c, HWND window, const std::string& what);

// The captions of an open menu, separators as empty texts; none when the
// menu cannot be read from this process (Wine keeps menus per process).
std::optional<std::vector<std::wstring>> MenuCaptions(HWND menu_window);
std::string CaptionsText(const std::vector<std::wstring>& captions);
// Checks the entries of the open menu where the window system lets another
// process read them; says so in the log where it does not.
void ExpectMenuCaptions(HWND menu_window, const std::vector<std::wstring>& want, const std::string& what);
// Chooses the entry with the keyboard: `choosable` counts the entries that
// can be chosen, separators left out. Waits for the menu to close.
void ChooseWithKeys(const Context& c, HWND menu_window, int choosable, const std::string& what);
HWND OpenSizeMenu(const Context& c, const std::string& what);
// Opens the main window's context menu with a right click where no control is.
HWND OpenContextMenu(const Context& c, const std::string& what);
// A point of the main window's client area that no control covers.
POINT FreeSpotOfMainWindow(const Context& c);

inline constexpr wchar_t kVersion[] = L"1.74";
inline constexpr wchar_t kAboutClass[] = L"TAboutBox";
// Waits for the about box and checks what every opening shows: the caption,
// the version, its place centred on the screen, the main window waiting for
// it, and the box above a main window that stays on top.
HWND ExpectAboutBox(const Context& c, const std::string& how);
// The about box's control of that name; the case fails without it.
HWND BoxControl(HWND box, const wchar_t* name);
// Waits until the box is gone and the main window takes input again.
void ExpectClosed(const Context& c, HWND box, const std::string& how);

}  // namespace e2e
