#pragma once
// The file-system port on kernel32.
#include <optional>
#include <string>
#include <string_view>

#include "platform/files.h"
#include "win32/win32_api.h"

namespace wakumo {

class Win32FileSystem : public FileSystem {
 public:
  std::string ExecutablePath() override;
  FileRead ReadWholeFile(std::string_view path) override;
  std::optional<FileError> ReplaceFile(std::string_view path, std::string_view bytes) override;
};

// The error of `code` about `path`, with the kind and the system's text.
FileError FileErrorFromCode(DWORD code, std::string_view path);

// A path CreateFileW and MoveFileExW accept at any length: near MAX_PATH an
// absolute path gets the "\\?\" prefix (after the system has resolved "..",
// "." and "/" in it, which the prefix would turn off).
std::wstring LongPath(std::string_view path);

}  // namespace wakumo
