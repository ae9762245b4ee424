// Wakumo's main window operated the way a user does (clicks and keys through
// Input), and read back through messages that need no memory of its process.
#pragma once

#include <windows.h>

#include <string>

#include "context.h"

namespace e2e {

std::wstring FieldText(const Context& c, const wchar_t* field);
// Polls until the field shows `want`; fails with what it shows.
void ExpectFieldText(const Context& c, const wchar_t* field, const std::string& want,
                     const std::string& what);
// The field's selection as EM_GETSEL answers it (start, end).
std::pair<int, int> FieldSelection(HWND field);
// The window that has the keyboard focus on Wakumo's thread.
HWND FocusOf(const Context& c);

void ClickControl(const Context& c, const wchar_t* name);
// Clicks the field, waits for the focus, selects all its text and types
// `text`; waits until the field shows `text`.
void TypeInto(const Context& c, const wchar_t* field, const std::string& text);

bool IsChecked(HWND check_box);
// Clicks the check box when it is not already `on`; waits for the state.
void SetChecked(const Context& c, const wchar_t* name, bool on);
void ExpectChecked(const Context& c, const wchar_t* name, bool on, const std::string& what);
void ExpectEnabled(const Context& c, const wchar_t* name, bool on, const std::string& what);

// The selected entry of the named combo box; -1 for none.
int ComboIndex(const Context& c, const wchar_t* name);
int AutoPosIndex(const Context& c);
// Opens the drop-down with a click and clicks the entry.
void ChooseComboEntry(const Context& c, const wchar_t* name, int index);
void ChooseAutoPos(const Context& c, int index);

// Polls until GetWindowRect of `window` is `want`.
void ExpectWindowRect(HWND window, const RECT& want, const std::string& what);
RECT MakeRect(LONG left, LONG top, LONG width, LONG height);

}  // namespace e2e
