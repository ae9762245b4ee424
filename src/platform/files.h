#pragma once
// The file-system port: the executable's own path and whole-file reads and
// replacements. Paths are UTF-8, full paths as the system gives them
// (back-slashes on Windows). Everything here runs on the user-interface thread.
#include <optional>
#include <string>
#include <string_view>

namespace wakumo {

enum class FileErrorKind {
  kAccessDenied,      // no permission, read-only folder or file, write-protected medium
  kDiskFull,          // not enough room for the whole text
  kSharingViolation,  // another program holds the file open or locked
  kOther,
};

// What went wrong, in terms a message can name.
struct FileError {
  FileErrorKind kind = FileErrorKind::kOther;
  std::string path;    // the file the operation was about (not a temporary)
  std::string detail;  // the system's own description, UTF-8, one line; may be empty
};

struct FileRead {
  // The file's bytes exactly as stored; nothing when the file is missing or
  // could not be read.
  std::optional<std::string> bytes;
  // Set only when the file (probably) exists but could not be read. A missing
  // file or folder is not an error.
  std::optional<FileError> error;
};

// Win32 adapter:
// - ExecutablePath(): GetModuleFileNameW(nullptr, ...), growing the buffer
//   while the result fills it, so long paths come whole.
// - ReadWholeFile(): CreateFileW(GENERIC_READ, FILE_SHARE_READ |
//   FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_EXISTING); ERROR_FILE_NOT_FOUND
//   and ERROR_PATH_NOT_FOUND give neither bytes nor error. ReadFile in a loop
//   until end of file; any failure gives the error and no bytes.
// - ReplaceFile(path, bytes), all or nothing:
//   1. Create a new file in the folder of `path` whose name no file has yet:
//      CreateFileW(GENERIC_WRITE, share 0, CREATE_NEW, FILE_ATTRIBUTE_NORMAL)
//      on "<target name>.<process id>.<n>.tmp", taking the next n while the
//      answer is ERROR_FILE_EXISTS (two copies closing at once never share a
//      temporary).
//   2. WriteFile every byte (loop over partial writes; a write that makes no
//      progress is a failure), FlushFileBuffers, CloseHandle (its failure is a
//      failure too).
//   3. MoveFileExW(temporary, path, MOVEFILE_REPLACE_EXISTING |
//      MOVEFILE_WRITE_THROUGH).
//   On a failure in any step: close the handle if open, DeleteFileW the
//   temporary (ignoring its result), and return the error of the step that
//   failed; the target is then exactly as it was. Kinds from GetLastError():
//   ERROR_ACCESS_DENIED, ERROR_WRITE_PROTECT -> kAccessDenied;
//   ERROR_DISK_FULL, ERROR_HANDLE_DISK_FULL -> kDiskFull;
//   ERROR_SHARING_VIOLATION, ERROR_LOCK_VIOLATION -> kSharingViolation;
//   anything else -> kOther. `detail` is FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM
//   | FORMAT_MESSAGE_IGNORE_INSERTS) of the code in the user's language,
//   trailing CR LF removed, as UTF-8. `path` is the target, never the temporary.
class FileSystem {
 public:
  virtual ~FileSystem() = default;
  virtual std::string ExecutablePath() = 0;
  virtual FileRead ReadWholeFile(std::string_view path) = 0;
  // Nothing on success: `path` then holds exactly `bytes`. On failure the old
  // file (or its absence) is left untouched and no temporary remains; only a
  // process killed half-way can leave one, and nothing ever reads it.
  virtual std::optional<FileError> ReplaceFile(std::string_view path, std::string_view bytes) = 0;
};

}  // namespace wakumo
