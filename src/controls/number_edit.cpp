#include "controls/number_edit.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string_view>
#include <utility>

#include "controls/number_text.h"
#include "core/text.h"

namespace wakumo {

namespace {

constexpr char32_t kBackspace = 8;
constexpr char32_t kTab = 9;
constexpr char32_t kReturn = 13;

// Carets and selections are counted in UTF-16 units; the arithmetic here
// works on whole characters.
int Units(std::u32string_view s, std::size_t end = std::u32string_view::npos) {
  end = std::min(end, s.size());
  int units = 0;
  for (std::size_t i = 0; i < end; ++i) units += static_cast<int>(Utf16Length(s[i]));
  return units;
}

std::size_t IndexAt(std::u32string_view s, int units) {
  std::size_t i = 0;
  for (int u = 0; i < s.size() && u < units; ++i) u += static_cast<int>(Utf16Length(s[i]));
  return i;
}

// Keeps the updating flag set for one rewrite of the field's own.
class Updating {
 public:
  explicit Updating(bool& flag) : flag_(flag), old_(std::exchange(flag, true)) {}
  ~Updating() { flag_ = old_; }
  Updating(const Updating&) = delete;
  Updating& operator=(const Updating&) = delete;

 private:
  bool& flag_;
  bool old_;
};

}  // namespace

TNumberEdit::TNumberEdit(UiToolkit& tk, TControl* parent, const std::string& name, KeyboardState& keyboard,
                         Clipboard& clipboard, LocaleInfo& locale)
    : TEdit(tk, parent, name), keyboard_(keyboard), clipboard_(clipboard), locale_(locale) {
  Peer().SetAlignment(alignment_);
  Peer().SetImeClosed(true);
  SetText("0");
}

// ---------------------------------------------------------------- text helpers

NumberFieldMode TNumberEdit::Mode() const {
  NumberFieldMode m = mode_;
  m.separators = locale_.Separators();
  return m;
}

std::u32string TNumberEdit::Text32() const { return Utf8ToUtf32(Text()); }

void TNumberEdit::WriteText(const std::u32string& text) { SetText(Utf32ToUtf8(text)); }

void TNumberEdit::ShowValue() { WriteText(Format32(Mode())); }

void TNumberEdit::ShowIfLimitsMoveValue() {
  // Only an enforced bound moves the number, each to its own side.
  const long double old = value_;
  ApplyLimits();
  if (value_ == old) return;
  ShowValue();
  Repaint();
}

void TNumberEdit::Selection(const std::u32string& text, std::size_t& start, std::size_t& length) const {
  const int s = std::max(Peer().SelStart(), 0);
  const int l = std::max(Peer().SelLength(), 0);
  start = IndexAt(text, s);
  length = IndexAt(text, s + l) - start;
}

std::u32string TNumberEdit::Typed(const std::u32string& text, char32_t ch) const {
  std::size_t start, length;
  Selection(text, start, length);
  std::u32string result = text;
  result.replace(start, length, 1, ch);
  return result;
}

bool TNumberEdit::ExceedsMaxIntLength(const std::u32string& before, const std::u32string& after,
                                      const NumberSeparators& seps) const {
  if (mode_.type != TNumberType::ntDecimal || max_int_length_ <= 0) return false;
  const std::int32_t digits = IntegerDigits(after, seps);
  return digits > max_int_length_ && digits > IntegerDigits(before, seps);
}

void TNumberEdit::ApplyLimits() {
  if (!limit_) return;
  if (limit_options_.Contains(TLimitOption::loMin) && value_ < min_) value_ = min_;
  if (limit_options_.Contains(TLimitOption::loMax) && value_ > max_) value_ = max_;
}

std::u32string TNumberEdit::Format32(const NumberFieldMode& mode) {
  ApplyLimits();
  const ShownNumber shown = FormatFieldText(value_, mode, Text32().starts_with(U'+'));
  value_ = shown.value;
  return shown.text;
}

// ---------------------------------------------------------------- public arithmetic

std::optional<long double> TNumberEdit::ParseText(const std::string& text) {
  return ReadFieldText(Utf8ToUtf32(text), Mode());
}

std::string TNumberEdit::RoundText(const std::string& text, int n) {
  return Utf32ToUtf8(RoundFieldText(Utf8ToUtf32(text), n, Mode()));
}

std::string TNumberEdit::FormatText() { return Utf32ToUtf8(Format32(Mode())); }

std::int32_t TNumberEdit::IntegerValue() {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(RoundedInteger(value_, Mode()),
                                                            std::numeric_limits<std::int32_t>::min(),
                                                            std::numeric_limits<std::int32_t>::max()));
}

bool TNumberEdit::IsKeyAccepted(char32_t ch) {
  const NumberSeparators seps = locale_.Separators();
  const std::u32string text = Text32();
  const bool control_key = ch == kBackspace || ch == kTab || ch == kReturn;
  bool accepted;
  if ((keyboard_.GetKeyState(VK_CONTROL_) & 0x8000) != 0) {
    // Clipboard and undo shortcuts arrive as characters too.
    accepted = true;
  } else if (mode_.type == TNumberType::ntHex) {
    accepted = control_key || IsHexDigitChar(ch) || (ch == U'-' && mode_.valid_minus) ||
               (ch == U'+' && text.starts_with(U'-'));
  } else {
    accepted = control_key || IsSignChar(ch) || IsDecimalDigit(ch) || ch == seps.decimal;
  }
  // Control characters insert nothing, so the shortcuts keep working with
  // the integer part full; signs and the separator add no digit to it.
  if (accepted && ch >= 0x20 && ch != 0x7F && !IsSignChar(ch) && ch != seps.decimal) {
    if (ExceedsMaxIntLength(text, Typed(text, ch), seps)) accepted = false;
  }
  return accepted;
}

// ---------------------------------------------------------------- events

bool TNumberEdit::PeerKeyPress(char32_t& ch) {
  if (!IsKeyAccepted(ch)) return false;
  if (IsSignChar(ch)) {
    SignKey(ch);
    return false;
  }
  const NumberFieldMode m = Mode();
  const std::u32string text = Text32();
  if (ch == m.separators.decimal && text.find(m.separators.decimal) != std::u32string::npos) return false;
  if (OnKeyPress) {
    OnKeyPress(ch);
    if (ch == 0) return false;
  }
  if (ch >= 0x20 && ch != 0x7F) {
    // A character that would leave a text we cannot read (a digit in front of
    // the sign, a number beyond its conversion's range) is refused.
    if (!IsEnterableFieldText(Typed(text, ch), m)) return false;
  }
  typed_ = true;
  return true;
}

void TNumberEdit::SignKey(char32_t key) {
  const std::u32string before = Text32();
  std::u32string text = before;
  std::size_t start, length;
  Selection(text, start, length);
  std::ptrdiff_t caret = static_cast<std::ptrdiff_t>(start);
  if (start == 0 && length >= 1) text.erase(0, length);
  const bool minus = text.starts_with(U'-');
  const bool plus = text.starts_with(U'+');
  if (key == U'+' && mode_.type == TNumberType::ntHex && minus) {
    text.erase(0, 1);
  } else if (!minus && !plus) {
    text.insert(text.begin(), key);
    ++caret;
  } else if ((key == U'-' && plus) || (key == U'+' && minus)) {
    text[0] = key;
  } else {
    text.erase(0, 1);
    --caret;
  }
  caret = std::max<std::ptrdiff_t>(caret, 0);
  // Turning the most negative 64-bit number positive would leave its range;
  // a selection deleted across the separator would join digits as typing
  // may not.
  const NumberFieldMode m = Mode();
  const bool deleted = start == 0 && length >= 1;
  if (!ReadFieldText(text, m) || (deleted && !IsEnterableFieldText(text, m)) ||
      ExceedsMaxIntLength(before, text, m.separators)) {
    return;
  }
  const int caret_units = Units(text, static_cast<std::size_t>(caret));
  WriteText(text);
  Peer().SetSel(std::min(caret_units, Units(Text32())), 0);
}

void TNumberEdit::PeerChange() {
  if (updating_) return;
  const NumberFieldMode m = Mode();
  const std::u32string text = Text32();
  // A text we cannot read keeps the number; the rewrite shows it again.
  if (const std::optional<long double> v = ReadFieldText(text, m)) {
    value_ = *v;
    if (m.type == TNumberType::ntDecimal) {
      if (const std::optional<long double> r = ReadRoundedDecimal(text, m)) value_ = *r;
    }
  }
  const std::optional<int> pending = std::exchange(pending_caret_, std::nullopt);
  if (Peer().HasParentWindow()) {
    Updating guard(updating_);
    int caret = pending.value_or(Peer().SelStart());
    const int old_length = Units(text);
    const std::u32string formatted = Format32(m);
    const int new_length = Units(formatted);
    if (formatted != text) WriteText(formatted);
    // The caret keeps its place as the text grows or shrinks by a character.
    if (new_length > old_length) {
      ++caret;
    } else if (new_length < old_length) {
      --caret;
    }
    if (formatted != text || pending) Peer().SetSel(std::clamp(caret, 0, new_length), 0);
  } else if (pending) {
    Peer().SetSel(std::min(*pending, Units(text)), 0);
  }
  if (OnChange) OnChange();
}

bool TNumberEdit::PeerPaste() {
  const std::optional<std::string> clip = clipboard_.GetText();
  if (!clip) return true;
  const NumberFieldMode m = Mode();
  const NumberSeparators& seps = m.separators;
  const bool hex = m.type == TNumberType::ntHex;
  std::u32string work = Text32();
  std::size_t start, length;
  Selection(work, start, length);
  work.erase(start, length);
  std::size_t at = start;  // 0-based insertion point
  // Nothing lands in front of a sign.
  if (std::any_of(work.begin() + static_cast<std::ptrdiff_t>(at), work.end(), IsSignChar)) return true;

  bool has_sign = std::any_of(work.begin(), work.end(), IsSignChar);
  bool has_point = work.find(seps.decimal) != std::u32string::npos;
  bool first = true;
  for (char32_t c : Utf8ToUtf32(*clip)) {
    const bool is_first = std::exchange(first, false);
    const bool allowed = hex ? IsHexDigitChar(c) : IsSignChar(c) || IsDecimalDigit(c) || c == seps.decimal;
    if (!allowed) continue;
    if (IsSignChar(c)) {
      if (!is_first || at != 0 || has_sign) continue;
      has_sign = true;
    }
    if (c == seps.decimal) {
      if (has_point) continue;
      has_point = true;
    }
    if (!hex && max_int_length_ > 0 && IsDecimalDigit(c)) {
      // The integer digit limit holds for pasted digits as for typed ones.
      if (at <= std::min(work.find(seps.decimal), work.size()) && IntegerDigits(work, seps) >= max_int_length_) {
        continue;
      }
    }
    work.insert(work.begin() + static_cast<std::ptrdiff_t>(at), c);
    ++at;
  }
  if (!IsEnterableFieldText(work, m) || ExceedsMaxIntLength(Text32(), work, seps)) return true;
  pending_caret_ = Units(work, at);
  WriteText(work);
  pending_caret_.reset();
  return true;
}

void TNumberEdit::PeerEnter() {
  const int length = Units(Text32());
  if (auto_select_) {
    Peer().SetSel(0, length);
  } else {
    Peer().SetSel(length, 0);
  }
  TEdit::PeerEnter();
  typed_ = false;
}

void TNumberEdit::PeerExit() {
  const NumberFieldMode m = Mode();
  {
    Updating guard(updating_);
    const std::u32string text = Text32();
    if (const std::optional<long double> v = ReadFieldText(text, m)) value_ = *v;
    // The limits apply now, also to a number typed past them.
    const std::u32string formatted = Format32(m);
    if (formatted != text) WriteText(formatted);
    Peer().SetModified(typed_);
  }
  if (OnExit) OnExit();
}

// ---------------------------------------------------------------- setters

void TNumberEdit::SetAlignment(TAlignment a) {
  if (a == alignment_) return;
  alignment_ = a;
  Peer().SetAlignment(a);
}

void TNumberEdit::SetComma(bool on) {
  mode_.comma = on;
  {
    // Only the grouping changes: the number stays and no change is raised.
    Updating guard(updating_);
    ShowValue();
  }
  Repaint();
}

void TNumberEdit::SetFigure(std::int32_t n) {
  mode_.figure = n;
  ShowValue();
  Repaint();
}

void TNumberEdit::SetFixed(bool on) {
  mode_.fixed = on;
  ShowValue();
  Repaint();
}

void TNumberEdit::SetLimit(bool on) {
  limit_ = on;
  if (!on) return;
  ShowValue();
  Repaint();
}

void TNumberEdit::SetLimitOptions(TLimitOptions options) {
  limit_options_ = options;
  if (!limit_) return;
  ShowValue();
  Repaint();
}

void TNumberEdit::SetNumberType(TNumberType t) {
  if (t == mode_.type) return;
  mode_.type = t;
  const NumberFieldMode m = Mode();
  if (t == TNumberType::ntDecimal) {
    WriteText(GeneralText(value_, m.separators));
  } else if (m.valid_minus) {
    // With a sign the whole 64-bit number shows; -1 stays -1.
    WriteText(HexFieldText(RoundedInteger(value_, m), true, m.figure));
  } else {
    WriteText(HexFieldText(IntegerValue(), false, m.figure));
  }
  Repaint();
}

void TNumberEdit::SetHexCase(THexCase c) {
  mode_.hex_case = c;
  ShowValue();
  Repaint();
}

void TNumberEdit::SetMax(long double v) {
  if (!std::isfinite(v)) return;
  max_ = v;
  if (min_ > max_) min_ = max_;
  ShowIfLimitsMoveValue();
}

void TNumberEdit::SetMin(long double v) {
  if (!std::isfinite(v)) return;
  min_ = v;
  if (min_ > max_) max_ = min_;
  ShowIfLimitsMoveValue();
}

void TNumberEdit::SetValidMinus(bool on) {
  mode_.valid_minus = on;
  if (mode_.type == TNumberType::ntHex) ShowValue();
}

void TNumberEdit::SetValue(long double v) {
  if (!std::isfinite(v)) return;
  if (limit_) {
    if (limit_options_.Contains(TLimitOption::loMin) && v < min_) {
      v = min_;
    } else if (limit_options_.Contains(TLimitOption::loMax) && v > max_) {
      v = max_;
    }
  }
  value_ = v;
  ShowValue();
}

void TNumberEdit::SetZeroVisible(bool on) {
  if (on == mode_.zero_visible) return;
  mode_.zero_visible = on;
  const std::optional<long double> shown = ReadFieldText(Text32(), Mode());
  if (shown && *shown == 0) ShowValue();
}

}  // namespace wakumo
