#pragma once
// Simulated file system and ANSI code page. Files live in memory under
// Windows-style paths (compared without regard to ASCII case, "\" or "/");
// a test scripts the failures a real disk has: a read-only folder or file, a
// file locked against reading or replacing, a disk that fills up part-way,
// and a process that dies in the middle of writing.
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ansi_code_page.h"
#include "platform/files.h"

namespace wakumo {

class SimFileSystem : public FileSystem {
 public:
  explicit SimFileSystem(std::string executable_path = "C:\\Tools\\wakumo.exe")
      : executable_path_(std::move(executable_path)) {}

  std::string ExecutablePath() override { return executable_path_; }
  FileRead ReadWholeFile(std::string_view path) override;
  std::optional<FileError> ReplaceFile(std::string_view path, std::string_view bytes) override;

  // Direct access for tests, bypassing every scripted failure.
  void PutFile(std::string_view path, std::string_view bytes);
  std::optional<std::string> FileBytes(std::string_view path) const;
  void RemoveFile(std::string_view path);
  // Paths of the files in a folder (as first written), in name order.
  std::vector<std::string> FilesIn(std::string_view folder) const;

  // Scripted conditions, in force until changed.
  void SetFolderReadOnly(std::string_view folder, bool read_only);
  void SetFileReadOnly(std::string_view path, bool read_only);
  // Another program holds the file open: reading and replacing it fail.
  void SetFileLocked(std::string_view path, bool locked);
  // Room for this many more bytes of new files; nothing means unlimited.
  void SetFreeSpace(std::optional<std::size_t> bytes) { free_space_ = bytes; }
  // The next write stops after this many bytes as if the process were killed:
  // the partial temporary stays behind and nothing is cleaned up. The call
  // reports kOther so that the test can go on and inspect the files.
  void InterruptNextWriteAfter(std::size_t bytes) { interrupt_after_ = bytes; }

  std::size_t ReplaceCount() const { return replaces_; }

 private:
  struct File {
    std::string path;
    std::string bytes;
    bool read_only = false;
    bool locked = false;
  };
  static std::string Key(std::string_view path);
  static std::string FolderKey(std::string_view path);
  FileError Error(FileErrorKind kind, std::string_view path, std::string detail) const;

  std::string executable_path_;
  std::map<std::string, File> files_;
  std::set<std::string> read_only_folders_;
  std::optional<std::size_t> free_space_;
  std::optional<std::size_t> interrupt_after_;
  std::size_t replaces_ = 0;
  std::uint32_t next_temp_ = 1;
};

// Code page 1252 (Western) or 932 (Japanese Shift-JIS). 1252 is complete; 932
// covers single bytes, the rows 0x81-0x84 and a chosen set of kanji. Unlisted
// double-byte characters read as "・" (U+30FB) and do not decode, as the
// system's undefined ones; characters the page lacks are written as "?".
class SimAnsiCodePage : public AnsiCodePage {
 public:
  explicit SimAnsiCodePage(std::uint32_t number = 1252);
  bool Decodes(std::string_view ansi) const override;
  std::string ToUtf8(std::string_view ansi) const override;
  std::string FromUtf8(std::string_view utf8) const override;

 private:
  // The character at ansi[i] and its length in bytes; nothing when the page has none there.
  std::optional<char16_t> CharacterAt(std::string_view ansi, std::size_t i, std::size_t& len) const;

};

}  // namespace wakumo
