// Types, pastes, moves the caret and the focus at random in a number edit of
// a random mode, and checks after every step that the text reads as a number
// that agrees with Value, that its shape follows the mode (hexadecimal
// digits and case, fixed fraction digits, thousands groups) and that the
// limits hold.
//
// Input: five bytes of mode, then operations of one or two bytes each.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "controls/number_edit.h"
#include "controls/number_text.h"
#include "core/text.h"
#include "sim/sim_desktop.h"
#include "sim/sim_platform.h"
#include "sim/sim_ui.h"
#include "ui/form.h"

namespace {

using namespace wakumo;

constexpr NumberSeparators kSeparators[] = {
    {U'.', U','}, {U',', U'.'}, {U'\u066B', U'\u066C'}, {U'.', U'\u00A0'}};

struct Bytes {
  const std::uint8_t* p;
  std::size_t n;
  bool Empty() const { return n == 0; }
  std::uint8_t Next() {
    if (n == 0) return 0;
    --n;
    return *p++;
  }
};

struct Mode {
  bool hex, valid_minus, comma, fixed, zero_visible, limit;
  THexCase hex_case;
  int figure, max_int_length;
  TLimitOptions options;
  long double min, max;
};

[[noreturn]] void Fail(const char* what, const TNumberEdit& edit) {
  std::fprintf(stderr, "%s: text \"%s\" value %.21Lg\n", what, edit.Text().c_str(), edit.Value());
  std::abort();
}

// Digits weigh most; the rest are what a keyboard or a clipboard may bring.
char32_t PickChar(std::uint8_t b, const NumberSeparators& seps) {
  static constexpr char32_t kOthers[] = {U'+', U'-', U'.', U',', U'a', U'F', U'g', U'E', U' ', U'x',
                                         8,    9,    13,   0x16, 0x03, 0x7F, 0xA0, 0x1F600};
  constexpr std::size_t kCount = sizeof kOthers / sizeof kOthers[0];
  if (b < 120) return U'0' + b % 10;
  b -= 120;
  if (b % (kCount + 2) == kCount) return seps.decimal;
  if (b % (kCount + 2) == kCount + 1) return seps.thousands;
  return kOthers[b % (kCount + 2)];
}

bool IsHexDigit(char32_t c, THexCase hex_case) {
  if (c >= U'0' && c <= U'9') return true;
  return hex_case == THexCase::hcUpper ? (c >= U'A' && c <= U'F') : (c >= U'a' && c <= U'f');
}

void CheckShape(const TNumberEdit& edit, const Mode& m, const NumberSeparators& seps) {
  const std::u32string t = Utf8ToUtf32(edit.Text());
  if (t.empty()) {
    if (m.zero_visible) Fail("empty text with ZeroVisible", edit);
    return;
  }
  std::size_t i = t.front() == U'-' || t.front() == U'+' ? 1 : 0;
  if (m.hex) {
    if (i == 1 && !(m.valid_minus && t.front() == U'-')) Fail("sign in hexadecimal", edit);
    const std::size_t digits = t.size() - i;
    if (digits < static_cast<std::size_t>(std::max(m.figure, 1))) Fail("too few hexadecimal digits", edit);
    for (; i < t.size(); ++i) {
      if (!IsHexDigit(t[i], m.hex_case)) Fail("not a hexadecimal digit of the case", edit);
    }
    return;
  }
  if (t.find(U'E') != std::u32string::npos) return;  // large numbers in general form
  // Integer part: thousands groups exactly when Comma.
  std::size_t group = 0, groups = 0;
  for (; i < t.size() && t[i] != seps.decimal; ++i) {
    if (t[i] == seps.thousands) {
      if (!m.comma || group == 0 || (groups > 0 && group != 3) || group > 3) Fail("thousands grouping", edit);
      group = 0;
      ++groups;
    } else if (t[i] >= U'0' && t[i] <= U'9') {
      ++group;
    } else {
      Fail("stray character", edit);
    }
  }
  if (group == 0 || (groups > 0 && group != 3) || (m.comma && groups == 0 && group > 3)) Fail("thousands grouping", edit);
  const std::size_t fraction = i < t.size() ? t.size() - i - 1 : 0;
  if (i + 1 == t.size()) Fail("trailing separator", edit);
  if (m.fixed && m.figure >= 0 && static_cast<int>(fraction) != m.figure) Fail("fixed fraction digits", edit);
  if (m.figure >= 0 && static_cast<int>(fraction) > m.figure) Fail("fraction digits beyond Figure", edit);
}

int IntegerDigits(const TNumberEdit& edit, const NumberSeparators& seps) {
  int digits = 0;
  for (char32_t c : Utf8ToUtf32(edit.Text())) {
    if (c == seps.decimal || c == U'E') break;
    if (c >= U'0' && c <= U'9') ++digits;
  }
  return digits;
}

// Typing and pasting respect MaxIntLength and stay below 1E15 (deleting, say
// a separator, may join digits). A rounding carry may add one digit.
struct Before {
  int digits;
  long double value;
  bool general_form;  // 1E15 and more: outside what the field is built for
};

void CheckEntered(const TNumberEdit& edit, const Mode& m, const NumberSeparators& seps, const Before& before) {
  if (m.hex || before.general_form) return;
  if (m.max_int_length > 0 && !m.limit &&
      IntegerDigits(edit, seps) > std::max(before.digits, m.max_int_length) + 1) {
    Fail("typed integer digits beyond MaxIntLength", edit);
  }
  if (std::fabs(edit.Value()) > 1e15L && std::fabs(before.value) < 1e15L) Fail("typed beyond 1E15", edit);
}

void Check(TNumberEdit& edit, const SimEditPeer& peer, const Mode& m, const NumberSeparators& seps,
           bool program_changed) {
  const long double v = edit.Value();
  if (!std::isfinite(v)) Fail("value not finite", edit);
  const std::optional<long double> read = edit.ParseText(edit.Text());
  if (!read) Fail("text does not read", edit);
  // The general form keeps 15 significant digits.
  if (!(std::fabs(*read - v) <= std::fabs(v) * 1e-14L)) Fail("text and value disagree", edit);
  if (m.limit && m.options.Contains(TLimitOption::loMin) && v < m.min) Fail("below Min", edit);
  if (m.limit && m.options.Contains(TLimitOption::loMax) && v > m.max) Fail("above Max", edit);
  const int units = static_cast<int>(Utf8ToUtf16(edit.Text()).size());
  if (peer.SelStart() < 0 || peer.SelStart() + peer.SelLength() > units) Fail("selection outside the text", edit);
  if (!program_changed) CheckShape(edit, m, seps);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Bytes in{data, size};
  const std::uint8_t flags = in.Next(), b1 = in.Next(), b2 = in.Next(), b3 = in.Next(), b4 = in.Next();
  const NumberSeparators seps = kSeparators[b2 % 4];
  Mode m{};
  m.hex = flags & 1;
  m.valid_minus = flags & 2;
  m.comma = flags & 4;
  m.fixed = flags & 8;
  m.zero_visible = !(flags & 16);
  m.limit = flags & 32;
  m.hex_case = flags & 64 ? THexCase::hcLower : THexCase::hcUpper;
  m.figure = b1 % 6 - 1;
  m.options.bits = (b2 >> 2) & 3;
  m.max_int_length = (b2 >> 4) % 5;
  m.min = static_cast<std::int8_t>(b3);
  m.max = m.min + b4;

  SimDesktop desktop;
  SimToolkit tk(desktop);
  SimPlatform platform;
  platform.locale.SetSeparators(seps);
  tk.UseClipboard(&platform.clipboard);
  TForm form(tk, "Form1");
  TEdit other(tk, &form, "Other");
  TNumberEdit edit(tk, &form, "Ed", platform.keyboard, platform.clipboard, platform.locale);
  SimEditPeer& peer = tk.Get<SimEditPeer>("Ed");

  // As a stored form sets them.
  edit.SetComma(m.comma);
  edit.SetFigure(m.figure);
  edit.SetFixed(m.fixed);
  edit.SetLimit(m.limit);
  edit.SetLimitOptions(m.options);
  edit.SetNumberType(m.hex ? TNumberType::ntHex : TNumberType::ntDecimal);
  edit.SetHexCase(m.hex_case);
  edit.SetMax(m.max);
  edit.SetMaxIntLength(m.max_int_length);
  edit.SetMin(m.min);
  edit.SetRoundMode(static_cast<TRoundMode>(b1 / 6 % 3));
  edit.SetValidMinus(m.valid_minus);
  edit.SetZeroVisible(m.zero_visible);
  edit.SetAutoSelect(!(flags & 128));
  tk.SetFocusTo("Ed");
  bool program_changed = false;
  Check(edit, peer, m, seps, program_changed);

  // FUZZ_TRACE=1 replays an input step by step.
  static const bool trace = std::getenv("FUZZ_TRACE") != nullptr;
  bool ctrl = false;
  while (!in.Empty()) {
    const std::uint8_t op = in.Next();
    const Before before{IntegerDigits(edit, seps), edit.Value(), edit.Text().find('E') != std::string::npos};
    switch (op % 16) {
      default: {
        const char32_t c = PickChar(in.Next(), seps);
        tk.TypeChar("Ed", c);
        if (c != 8) CheckEntered(edit, m, seps, before);
        break;
      }
      case 9:
        tk.TypeChar("Ed", 8);
        break;
      case 10: {
        std::string clip;
        const int length = in.Next() % 12;
        for (int i = 0; i < length; ++i) {
          const std::uint8_t b = in.Next();
          if (op & 0x80) {
            clip.push_back(static_cast<char>(b));  // raw bytes, broken UTF-8 included
          } else {
            AppendUtf8(clip, PickChar(b, seps));
          }
        }
        platform.clipboard.SetText(clip);
        tk.Paste("Ed");
        CheckEntered(edit, m, seps, before);
        break;
      }
      case 11: {
        const int units = static_cast<int>(Utf8ToUtf16(edit.Text()).size());
        const int start = in.Next() % (units + 3) - 1;
        peer.SetSel(start, in.Next() % 5 - 1);
        break;
      }
      case 12:
        ctrl = !ctrl;
        platform.keyboard.SetKeyDown(VK_CONTROL_, ctrl);
        break;
      case 13:
        tk.SetFocusTo(peer.Focused() ? "Other" : "Ed");
        break;
      case 14:
        platform.clipboard.Clear();
        tk.Paste("Ed");
        break;
      case 15: {
        // The program steps in now and then.
        static constexpr long double kValues[] = {0, 1, -1, 0.5L, -1234.5678L, 999.999L, 1e20L, -1e16L,
                                                  1099511627776.0L, 1e-20L};
        const std::uint8_t b = in.Next();
        if (b & 0x80) {
          edit.SetNumberType(edit.NumberType() == TNumberType::ntHex ? TNumberType::ntDecimal : TNumberType::ntHex);
          m.hex = edit.NumberType() == TNumberType::ntHex;
        } else {
          edit.SetValue(kValues[b % 10]);
        }
        program_changed = true;
        break;
      }
    }
    if (trace) {
      std::fprintf(stderr, "op %3u -> \"%s\" value %.21Lg caret %d+%d\n", op, edit.Text().c_str(), edit.Value(),
                   peer.SelStart(), peer.SelLength());
    }
    Check(edit, peer, m, seps, program_changed);
  }
  return 0;
}
