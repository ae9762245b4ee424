// The windows a program makes at start-up, as another process sees them: a
// census of the running wakumo.exe that the reference program makes again,
// so that both make the same number of windows of the same kinds.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace startup {

struct WindowRecord {
  int parent = -1;  // index of the parent record; -1 for a top-level window
  std::wstring cls;
  DWORD style = 0;
  DWORD ex_style = 0;
  RECT rect{};      // screen for top-level windows, parent client otherwise
  std::wstring text;
};

// One line per window, tab-separated; UTF-16 text in the file's UTF-8.
bool WriteRecipe(const std::wstring& path, const std::vector<WindowRecord>& windows);
std::vector<WindowRecord> ReadRecipe(const std::wstring& path);

std::string Utf8(const std::wstring& w);
std::wstring Wide(const std::string& s);

}  // namespace startup
