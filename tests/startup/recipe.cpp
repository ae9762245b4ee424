#include "recipe.h"

#include <cstdio>
#include <cwchar>

namespace startup {

std::string Utf8(const std::wstring& w) {
  if (w.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
  std::string s(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
  return s;
}

std::wstring Wide(const std::string& s) {
  if (s.empty()) return {};
  const int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
  std::wstring w(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), w.data(), n);
  return w;
}

namespace {

// Tabs and line breaks inside texts would break the lines.
std::wstring Flat(std::wstring t) {
  for (wchar_t& c : t)
    if (c == L'\t' || c == L'\r' || c == L'\n') c = L' ';
  return t;
}

}  // namespace

bool WriteRecipe(const std::wstring& path, const std::vector<WindowRecord>& windows) {
  FILE* f = _wfopen(path.c_str(), L"wb");
  if (!f) return false;
  for (const WindowRecord& w : windows) {
    std::fprintf(f, "%d\t%s\t%08lx\t%08lx\t%ld\t%ld\t%ld\t%ld\t%s\n", w.parent, Utf8(w.cls).c_str(),
                 static_cast<unsigned long>(w.style), static_cast<unsigned long>(w.ex_style), w.rect.left,
                 w.rect.top, w.rect.right, w.rect.bottom, Utf8(Flat(w.text)).c_str());
  }
  return std::fclose(f) == 0;
}

std::vector<WindowRecord> ReadRecipe(const std::wstring& path) {
  std::vector<WindowRecord> out;
  FILE* f = _wfopen(path.c_str(), L"rb");
  if (!f) return out;
  char line[4096];
  while (std::fgets(line, sizeof line, f)) {
    std::string fields[9];
    int n = 0;
    for (char* p = line; *p && *p != '\n' && n < 9; ++p) {
      if (*p == '\t') {
        ++n;
      } else {
        fields[n] += *p;
      }
    }
    if (n < 8) continue;
    WindowRecord w;
    w.parent = std::atoi(fields[0].c_str());
    w.cls = Wide(fields[1]);
    w.style = static_cast<DWORD>(std::strtoul(fields[2].c_str(), nullptr, 16));
    w.ex_style = static_cast<DWORD>(std::strtoul(fields[3].c_str(), nullptr, 16));
    w.rect = {std::atol(fields[4].c_str()), std::atol(fields[5].c_str()), std::atol(fields[6].c_str()),
              std::atol(fields[7].c_str())};
    w.text = Wide(fields[8]);
    out.push_back(w);
  }
  std::fclose(f);
  return out;
}

}  // namespace startup
