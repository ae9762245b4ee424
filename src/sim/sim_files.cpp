#include "sim/sim_files.h"

#include <algorithm>
#include <array>

#include "core/text.h"
#include "sim/sim_cp932_table.h"

namespace wakumo {

// ---- SimFileSystem ----

std::string SimFileSystem::Key(std::string_view path) {
  std::string k(path);
  for (char& c : k) {
    if (c == '/') c = '\\';
    else if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return k;
}

std::string SimFileSystem::FolderKey(std::string_view path) {
  std::string k = Key(path);
  const std::size_t slash = k.rfind('\\');
  k.resize(slash == std::string::npos ? 0 : slash);
  return k;
}

FileError SimFileSystem::Error(FileErrorKind kind, std::string_view path, std::string detail) const {
  return FileError{kind, std::string(path), std::move(detail)};
}

FileRead SimFileSystem::ReadWholeFile(std::string_view path) {
  auto it = files_.find(Key(path));
  if (it == files_.end()) return {};
  if (it->second.locked) return {std::nullopt, Error(FileErrorKind::kSharingViolation, path, "")};
  return {it->second.bytes, std::nullopt};
}

std::optional<FileError> SimFileSystem::ReplaceFile(std::string_view path, std::string_view bytes) {
  const std::string key = Key(path);
  if (read_only_folders_.count(FolderKey(path))) return Error(FileErrorKind::kAccessDenied, path, "");

  std::string temp_path;
  do {
    temp_path = std::string(path) + "." + std::to_string(next_temp_++) + ".tmp";
  } while (files_.count(Key(temp_path)));

  if (interrupt_after_) {
    const std::size_t n = std::min(*interrupt_after_, bytes.size());
    interrupt_after_.reset();
    files_[Key(temp_path)] = File{temp_path, std::string(bytes.substr(0, n))};
    return Error(FileErrorKind::kOther, path, "interrupted");
  }
  // The old file keeps its room until the new text is complete, so the whole
  // text must fit beside it. A failed write removes the partial temporary.
  if (free_space_ && bytes.size() > *free_space_) return Error(FileErrorKind::kDiskFull, path, "");

  auto target = files_.find(key);
  if (target != files_.end()) {
    if (target->second.locked) return Error(FileErrorKind::kSharingViolation, path, "");
    if (target->second.read_only) return Error(FileErrorKind::kAccessDenied, path, "");
  }
  const std::size_t old_size = target != files_.end() ? target->second.bytes.size() : 0;
  if (free_space_) *free_space_ = *free_space_ - bytes.size() + old_size;
  if (target == files_.end()) files_[key] = File{std::string(path), std::string(bytes)};
  else target->second.bytes.assign(bytes);
  ++replaces_;
  return std::nullopt;
}

void SimFileSystem::PutFile(std::string_view path, std::string_view bytes) {
  File& f = files_[Key(path)];
  if (f.path.empty()) f.path = std::string(path);
  f.bytes.assign(bytes);
}

std::optional<std::string> SimFileSystem::FileBytes(std::string_view path) const {
  auto it = files_.find(Key(path));
  if (it == files_.end()) return std::nullopt;
  return it->second.bytes;
}

void SimFileSystem::RemoveFile(std::string_view path) { files_.erase(Key(path)); }

std::vector<std::string> SimFileSystem::FilesIn(std::string_view folder) const {
  std::vector<std::string> out;
  const std::string want = Key(folder);
  for (const auto& [key, file] : files_) {
    if (FolderKey(key) == want) out.push_back(file.path);
  }
  return out;
}

void SimFileSystem::SetFolderReadOnly(std::string_view folder, bool read_only) {
  if (read_only) read_only_folders_.insert(Key(folder));
  else read_only_folders_.erase(Key(folder));
}

void SimFileSystem::SetFileReadOnly(std::string_view path, bool read_only) {
  if (auto it = files_.find(Key(path)); it != files_.end()) it->second.read_only = read_only;
}

void SimFileSystem::SetFileLocked(std::string_view path, bool locked) {
  if (auto it = files_.find(Key(path)); it != files_.end()) it->second.locked = locked;
}

// ---- SimAnsiCodePage ----

namespace {

constexpr char16_t kNoCharacter = u'\u30FB';  // what 932 reads undefined bytes as

// 0x80-0x9F of 1252; the five unassigned bytes map to the C1 controls of the
// same value, as the system's table does.
constexpr std::array<char16_t, 32> k1252High{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

std::optional<std::uint8_t> To1252(char16_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<std::uint8_t>(c);
  for (std::size_t i = 0; i < k1252High.size(); ++i) {
    if (k1252High[i] == c) return static_cast<std::uint8_t>(0x80 + i);
  }
  return std::nullopt;
}

// Nothing for a lead byte without its trail byte.
std::optional<char16_t> From932Single(std::uint8_t b) {
  if (b < 0x80) return b;
  if (b == 0x80) return 0x0080;
  if (b == 0xA0) return 0xF8F0;
  if (b >= 0xA1 && b <= 0xDF) return static_cast<char16_t>(0xFF61 + (b - 0xA1));
  if (b >= 0xFD) return static_cast<char16_t>(0xF8F1 + (b - 0xFD));
  return std::nullopt;
}

bool IsPrivateUse(char16_t c) { return c >= 0xE000 && c < 0xF900; }

std::optional<std::uint8_t> To932Single(char16_t c) {
  if (c < 0x80) return static_cast<std::uint8_t>(c);
  if (c == 0x0080) return 0x80;
  if (c == 0xF8F0) return 0xA0;
  if (c >= 0xFF61 && c <= 0xFF9F) return static_cast<std::uint8_t>(0xA1 + (c - 0xFF61));
  if (c >= 0xF8F1 && c <= 0xF8F3) return static_cast<std::uint8_t>(0xFD + (c - 0xF8F1));
  return std::nullopt;
}

std::optional<char16_t> From932Double(std::uint16_t code) {
  const auto pairs = Cp932DoubleBytePairs();
  auto it = std::lower_bound(pairs.begin(), pairs.end(), code,
                             [](const Cp932Pair& p, std::uint16_t c) { return p.sjis < c; });
  if (it == pairs.end() || it->sjis != code) return std::nullopt;
  return it->unicode;
}

std::optional<std::uint16_t> To932Double(char16_t c) {
  static const std::vector<Cp932Pair> by_unicode = [] {
    const auto pairs = Cp932DoubleBytePairs();
    std::vector<Cp932Pair> v(pairs.begin(), pairs.end());
    std::stable_sort(v.begin(), v.end(), [](const Cp932Pair& a, const Cp932Pair& b) { return a.unicode < b.unicode; });
    return v;
  }();
  auto it = std::lower_bound(by_unicode.begin(), by_unicode.end(), c,
                             [](const Cp932Pair& p, char16_t u) { return p.unicode < u; });
  if (it == by_unicode.end() || it->unicode != c) return std::nullopt;
  return it->sjis;
}

}  // namespace

SimAnsiCodePage::SimAnsiCodePage(std::uint32_t number) {
  number_ = number == 932 ? 932 : 1252;
  if (number_ == 932) {
    lead_.Add(0x81, 0x9F);
    lead_.Add(0xE0, 0xFC);
  }
}

std::optional<char16_t> SimAnsiCodePage::CharacterAt(std::string_view ansi, std::size_t i, std::size_t& len) const {
  const auto b = static_cast<std::uint8_t>(ansi[i]);
  if (number_ == 1252) {
    len = 1;
    return b >= 0x80 && b < 0xA0 ? k1252High[b - 0x80] : b;
  }
  len = lead_.CharLength(ansi, i);
  return len == 2 ? From932Double(static_cast<std::uint16_t>(b << 8 | static_cast<std::uint8_t>(ansi[i + 1])))
                  : From932Single(b);
}

bool SimAnsiCodePage::Decodes(std::string_view ansi) const {
  for (std::size_t i = 0, len = 0; i < ansi.size(); i += len) {
    const std::optional<char16_t> c = CharacterAt(ansi, i, len);
    // As the system's strict reading, which takes no single byte for a private-use character.
    if (!c || (len == 1 && IsPrivateUse(*c))) return false;
  }
  return true;
}

std::string SimAnsiCodePage::ToUtf8(std::string_view ansi) const {
  std::u16string wide;
  wide.reserve(ansi.size());
  for (std::size_t i = 0, len = 0; i < ansi.size(); i += len) {
    wide.push_back(CharacterAt(ansi, i, len).value_or(kNoCharacter));
  }
  return Utf16ToUtf8(wide);
}

std::string SimAnsiCodePage::FromUtf8(std::string_view utf8) const {
  const std::u16string wide = Utf8ToUtf16(utf8);
  std::string out;
  out.reserve(wide.size() * 2);
  for (std::size_t i = 0; i < wide.size(); ++i) {
    const char16_t c = wide[i];
    if (DecodeUtf16At(wide, i).length == 2) {
      ++i;  // one character outside the BMP, one "?"
      out.push_back('?');
      continue;
    }
    if (number_ == 1252) {
      out.push_back(static_cast<char>(To1252(c).value_or('?')));
      continue;
    }
    if (auto single = To932Single(c)) {
      out.push_back(static_cast<char>(*single));
    } else if (auto pair = To932Double(c)) {
      out.push_back(static_cast<char>(*pair >> 8));
      out.push_back(static_cast<char>(*pair & 0xFF));
    } else {
      out.push_back('?');
    }
  }
  return out;
}

}  // namespace wakumo
