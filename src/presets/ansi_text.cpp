#include "presets/ansi_text.h"

#include <limits>

#include "core/text.h"

namespace wakumo {

std::string_view TrimBlanks(std::string_view s) {
  std::size_t b = 0, e = s.size();
  while (b < e && IsBlankOrControl(s[b])) ++b;
  while (e > b && IsBlankOrControl(s[e - 1])) --e;
  return s.substr(b, e - b);
}

namespace {
constexpr char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
}  // namespace

bool EqualsIgnoreCase(std::string_view a, std::string_view b, const LeadByteSet& lead) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size();) {
    const std::size_t len = lead.CharLength(a, i);
    if (len == 2) {
      if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
    } else if (FoldAscii(a[i]) != FoldAscii(b[i])) {
      return false;
    }
    i += len;
  }
  return true;
}

std::optional<std::int32_t> ParseDecimal(std::string_view s) {
  std::size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
  if (i == s.size()) return std::nullopt;
  // Accumulate as a negative number so that the most negative value fits.
  constexpr std::int64_t kMin = std::numeric_limits<std::int32_t>::min();
  std::int64_t v = 0;
  for (; i < s.size(); ++i) {
    if (s[i] < '0' || s[i] > '9') return std::nullopt;
    v = v * 10 - (s[i] - '0');
    if (v < kMin) return std::nullopt;
  }
  if (!negative) {
    if (v == kMin) return std::nullopt;
    v = -v;
  }
  return static_cast<std::int32_t>(v);
}

std::int32_t DecimalOrZero(std::string_view s) { return ParseDecimal(TrimBlanks(s)).value_or(0); }

namespace {

constexpr std::uint32_t kUtf8CodePage = 65001;

// Bytes of the character at s[i]: the lead byte rule of a double-byte page,
// or the length a UTF-8 lead byte announces, as far as continuation bytes follow.
std::size_t CharLengthAt(std::string_view s, std::size_t i, const AnsiCodePage& cp) {
  if (cp.Number() != kUtf8CodePage) return cp.LeadBytes().CharLength(s, i);
  const auto b = static_cast<unsigned char>(s[i]);
  const std::size_t announced = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
  std::size_t len = 1;
  while (len < announced && i + len < s.size() && (static_cast<unsigned char>(s[i + len]) & 0xC0) == 0x80) ++len;
  return len;
}

void AppendByteMark(std::string& out, unsigned char b) { out += "〈" + HexByte(b) + "〉"; }

}  // namespace

bool IsAscii(std::string_view s) {
  for (char c : s)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

std::string ShownText(std::string_view ansi, const AnsiCodePage& code_page) {
  if (IsAscii(ansi)) return std::string(ansi);
  if (code_page.Decodes(ansi)) return code_page.ToUtf8(ansi);
  std::string out;
  // The characters between undecodable ones are converted apart from them:
  // converted together, a stray lead byte may swallow the byte after it (Wine
  // reads 81 20 as one "・").
  std::size_t run = 0;
  for (std::size_t i = 0; i < ansi.size();) {
    const std::size_t len = CharLengthAt(ansi, i, code_page);
    const std::string_view ch = ansi.substr(i, len);
    if (!code_page.Decodes(ch)) {
      out += code_page.ToUtf8(ansi.substr(run, i - run));
      for (char b : ch) AppendByteMark(out, static_cast<unsigned char>(b));
      run = i + len;
    }
    i += len;
  }
  out += code_page.ToUtf8(ansi.substr(run));
  return out;
}

std::vector<std::string> SplitCommaList(std::string_view s) {
  std::vector<std::string> fields;
  std::size_t p = 0;
  const std::size_t n = s.size();
  auto skip_blanks = [&] {
    while (p < n && IsBlankOrControl(s[p])) ++p;
  };
  skip_blanks();
  while (p < n) {
    std::string field;
    if (s[p] == '"') {
      ++p;
      while (p < n) {
        if (s[p] == '"') {
          if (p + 1 < n && s[p + 1] == '"') {
            field.push_back('"');
            p += 2;
            continue;
          }
          ++p;
          break;
        }
        field.push_back(s[p++]);
      }
    } else {
      const std::size_t start = p;
      while (p < n && !IsBlankOrControl(s[p]) && s[p] != ',') ++p;
      field.assign(s.substr(start, p - start));
    }
    fields.push_back(std::move(field));
    skip_blanks();
    if (p < n && s[p] == ',') {
      if (p + 1 == n) fields.emplace_back();
      ++p;
      skip_blanks();
    }
  }
  return fields;
}

}  // namespace wakumo
