#include "win32/win32_files.h"

#include <algorithm>
#include <string>

#include "win32/win32_text.h"

namespace wakumo {

namespace {

// Closes the handle when the scope ends, unless Close() did already.
class FileHandle {
 public:
  explicit FileHandle(HANDLE h) : h_(h) {}
  ~FileHandle() {
    if (Valid()) CloseHandle(h_);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  bool Valid() const { return h_ != INVALID_HANDLE_VALUE && h_ != nullptr; }
  HANDLE Get() const { return h_; }
  bool Close() {
    const bool ok = CloseHandle(h_) != FALSE;
    h_ = INVALID_HANDLE_VALUE;
    return ok;
  }

 private:
  HANDLE h_;
};

// The code of a call that failed; never 0, which would read as success.
DWORD LastErrorOr(DWORD fallback) {
  const DWORD code = GetLastError();
  return code != ERROR_SUCCESS ? code : fallback;
}

FileErrorKind KindOf(DWORD code) {
  switch (code) {
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
      return FileErrorKind::kAccessDenied;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return FileErrorKind::kDiskFull;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return FileErrorKind::kSharingViolation;
    default:
      return FileErrorKind::kOther;
  }
}

std::string SystemMessage(DWORD code) {
  wchar_t* text = nullptr;
  const DWORD n = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS |
                                     FORMAT_MESSAGE_ALLOCATE_BUFFER,
                                 nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  if (n == 0 || !text) return {};
  std::wstring message(text, n);
  LocalFree(text);
  // Some messages span lines; the caller shows one.
  while (!message.empty() && (message.back() == L'\r' || message.back() == L'\n' || message.back() == L' ')) {
    message.pop_back();
  }
  for (wchar_t& c : message) {
    if (c == L'\r' || c == L'\n') c = L' ';
  }
  return Narrow(message);
}

// Largest piece handed to one ReadFile or WriteFile.
constexpr DWORD kChunk = 1u << 24;

}  // namespace

FileError FileErrorFromCode(DWORD code, std::string_view path) {
  return FileError{KindOf(code), std::string(path), SystemMessage(code)};
}

std::wstring LongPath(std::string_view path) {
  std::wstring wide = Wide(path);
  // CreateFileW's limit is MAX_PATH including the NUL; the margin leaves room
  // for the suffix of a temporary beside the file.
  if (wide.size() + 32 < MAX_PATH || wide.starts_with(L"\\\\?\\")) return wide;
  const DWORD needed = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  if (needed == 0) return wide;
  std::wstring full(needed, L'\0');
  const DWORD n = GetFullPathNameW(wide.c_str(), needed, full.data(), nullptr);
  if (n == 0 || n >= needed) return wide;
  full.resize(n);
  if (full.starts_with(L"\\\\.\\")) return full;  // a device path
  if (full.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + full.substr(2);
  if (full.size() >= 3 && full[1] == L':' && full[2] == L'\\') return L"\\\\?\\" + full;
  return wide;
}

std::string Win32FileSystem::ExecutablePath() {
  // A full buffer means a cut path: the result neither tells the length nor,
  // on older systems, ends with a NUL.
  std::wstring buf(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
    if (n == 0) return {};
    if (n < buf.size()) return Narrow(std::wstring_view(buf.data(), n));
    // Paths stop at 32767 characters; a bigger answer would be nonsense.
    if (buf.size() > 65536) return {};
    buf.assign(buf.size() * 2, L'\0');
  }
}

FileRead Win32FileSystem::ReadWholeFile(std::string_view path) {
  FileHandle file(CreateFileW(LongPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) {
    const DWORD code = LastErrorOr(ERROR_OPEN_FAILED);
    if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND) return {};
    return {std::nullopt, FileErrorFromCode(code, path)};
  }
  std::string bytes;
  LARGE_INTEGER size{};
  if (GetFileSizeEx(file.Get(), &size) && size.QuadPart > 0 &&
      static_cast<unsigned long long>(size.QuadPart) < bytes.max_size()) {
    bytes.reserve(static_cast<std::size_t>(size.QuadPart));
  }
  // Until end of file, not just the size asked before: the file may grow.
  std::string chunk(std::min<std::size_t>(kChunk, std::max<std::size_t>(bytes.capacity(), 4096) + 1), '\0');
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(file.Get(), chunk.data(), static_cast<DWORD>(chunk.size()), &got, nullptr)) {
      return {std::nullopt, FileErrorFromCode(LastErrorOr(ERROR_READ_FAULT), path)};
    }
    if (got == 0) break;
    bytes.append(chunk.data(), got);
  }
  return {std::move(bytes), std::nullopt};
}

std::optional<FileError> Win32FileSystem::ReplaceFile(std::string_view path, std::string_view bytes) {
  const std::wstring target = LongPath(path);

  // Windows refuses to move onto a read-only file, but not every system that
  // runs us does (Wine replaces it); asking first keeps such a file intact
  // everywhere.
  const DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
    return FileErrorFromCode(ERROR_ACCESS_DENIED, path);
  }

  // A name nobody has: the process id keeps two copies apart, the counter
  // steps over leftovers of a killed run.
  const std::wstring prefix = target + L"." + std::to_wstring(GetCurrentProcessId()) + L".";
  std::wstring temporary;
  HANDLE created = INVALID_HANDLE_VALUE;
  DWORD code = ERROR_SUCCESS;
  for (unsigned n = 0; n < 10000; ++n) {
    temporary = prefix + std::to_wstring(n) + L".tmp";
    created = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (created != INVALID_HANDLE_VALUE) break;
    code = LastErrorOr(ERROR_OPEN_FAILED);
    if (code != ERROR_FILE_EXISTS && code != ERROR_ALREADY_EXISTS) break;
  }
  // Nothing was created, so there is nothing to delete.
  if (created == INVALID_HANDLE_VALUE) return FileErrorFromCode(code, path);

  FileHandle file(created);
  auto fail = [&](DWORD error) {
    if (file.Valid()) file.Close();
    DeleteFileW(temporary.c_str());
    return FileErrorFromCode(error, path);
  };

  std::size_t done = 0;
  while (done < bytes.size()) {
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, kChunk));
    DWORD wrote = 0;
    if (!WriteFile(file.Get(), bytes.data() + done, want, &wrote, nullptr)) return fail(LastErrorOr(ERROR_WRITE_FAULT));
    if (wrote == 0) return fail(ERROR_WRITE_FAULT);
    done += wrote;
  }
  if (!FlushFileBuffers(file.Get())) return fail(LastErrorOr(ERROR_WRITE_FAULT));
  if (!file.Close()) return fail(LastErrorOr(ERROR_WRITE_FAULT));
  if (!MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return fail(LastErrorOr(ERROR_WRITE_FAULT));
  }
  return std::nullopt;
}

}  // namespace wakumo
