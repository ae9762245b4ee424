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
// Fixed fraction digits and hexadecimal digits are padded to at most this
// many, so a huge Figure cannot make a text too long to hold.
constexpr std::int32_t kMaxPaddedDigits = 255;
// Typed and pasted decimal numbers stay below this: from here on the general
// form shows an exponent and no longer the digits that were typed.
constexpr long double kTypedMagnitude = 1e15L;
constexpr std::uint64_t kInt64Max = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());

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

bool IsDigit(char32_t c) { return c >= U'0' && c <= U'9'; }
bool IsHexDigit(char32_t c) { return IsDigit(c) || (c >= U'A' && c <= U'F') || (c >= U'a' && c <= U'f'); }
bool IsSign(char32_t c) { return c == U'+' || c == U'-'; }

// Decimal texts drop the thousands separators and control characters before
// they are read.
std::u32string Clean(std::u32string_view s, char32_t thousands) {
  std::u32string out;
  for (char32_t c : s) {
    if (c != thousands && c >= 0x20) out.push_back(c);
  }
  return out;
}

// Characters of the integer part other than signs and thousands separators.
std::int32_t IntegerDigits(std::u32string_view s, const NumberSeparators& seps) {
  std::int32_t count = 0;
  for (char32_t c : s.substr(0, s.find(seps.decimal))) count += !IsSign(c) && c != seps.thousands;
  return count;
}

// A cleaned decimal text: [sign] digits [separator digits] [E [sign] digits].
// The exponent only comes from the general form of numbers from 1E15 on.
struct DecimalText {
  char32_t sign = 0;
  std::u32string int_digits;
  bool separator = false;
  std::u32string frac_digits;
  bool exponent = false;
  bool exp_negative = false;
  std::u32string exp_digits;
};

std::optional<DecimalText> SplitDecimal(std::u32string_view s, char32_t separator) {
  DecimalText d;
  std::size_t i = 0;
  auto digits = [&](std::u32string& out) {
    while (i < s.size() && IsDigit(s[i])) out.push_back(s[i++]);
  };
  if (i < s.size() && IsSign(s[i])) d.sign = s[i++];
  digits(d.int_digits);
  if (i < s.size() && s[i] == separator) {
    d.separator = true;
    ++i;
    digits(d.frac_digits);
  }
  if (i < s.size() && (s[i] == U'E' || s[i] == U'e') && !(d.int_digits.empty() && d.frac_digits.empty())) {
    d.exponent = true;
    ++i;
    if (i < s.size() && IsSign(s[i])) d.exp_negative = s[i++] == U'-';
    digits(d.exp_digits);
    if (d.exp_digits.empty()) return std::nullopt;
  }
  if (i != s.size()) return std::nullopt;
  return d;
}

// Digits in `base` as long as the number stays within `limit`.
std::optional<std::uint64_t> DigitsValue(std::u32string_view digits, unsigned base, std::uint64_t limit) {
  std::uint64_t v = 0;
  for (char32_t c : digits) {
    unsigned d;
    if (IsDigit(c)) {
      d = c - U'0';
    } else if (c >= U'A' && c <= U'F') {
      d = c - U'A' + 10;
    } else {
      d = c - U'a' + 10;
    }
    if (v > (limit - d) / base) return std::nullopt;
    v = v * base + d;
  }
  return v;
}

// A cleaned decimal text: whole numbers read as 64-bit integers, others as
// extended values; nothing for a malformed text or one beyond those ranges.
std::optional<long double> ReadDecimal(std::u32string_view s, char32_t separator) {
  if (s.empty()) return 0.0L;
  const std::optional<DecimalText> d = SplitDecimal(s, separator);
  if (!d) return std::nullopt;
  const bool negative = d->sign == U'-';
  if (!d->separator && !d->exponent) {
    const std::optional<std::uint64_t> m = DigitsValue(d->int_digits, 10, negative ? kInt64Max + 1 : kInt64Max);
    if (!m) return std::nullopt;
    const long double v = static_cast<long double>(*m);
    return negative && *m != 0 ? -v : v;
  }
  std::string ascii = negative ? "-" : "";
  ascii += d->int_digits.empty() ? "0" : Utf32ToUtf8(d->int_digits);
  ascii += '.';
  ascii += Utf32ToUtf8(d->frac_digits);
  if (d->exponent) {
    ascii += d->exp_negative ? "e-" : "e";
    ascii += Utf32ToUtf8(d->exp_digits);
  }
  // The text is well formed here, so the lenient reader reads it exactly;
  // it only tells overflow (infinity) from underflow (zero) for us.
  const long double v = ExtractNumber(ascii, U'.').value;
  if (!std::isfinite(v)) return std::nullopt;
  return v;
}

std::optional<long double> ReadHex(std::u32string_view s, bool valid_minus) {
  bool negative = false;
  if (valid_minus && !s.empty() && s.front() == U'-') {
    negative = true;
    s.remove_prefix(1);
  }
  if (s.empty() || !std::all_of(s.begin(), s.end(), IsHexDigit)) return std::nullopt;
  if (valid_minus) {
    const std::optional<std::uint64_t> m = DigitsValue(s, 16, negative ? kInt64Max + 1 : kInt64Max);
    if (!m) return std::nullopt;
    const long double v = static_cast<long double>(*m);
    return negative ? -v : v;
  }
  const std::optional<std::uint64_t> m = DigitsValue(s, 16, 0xFFFFFFFFu);
  if (!m) return std::nullopt;
  // Eight digits with the top bit set are a negative 32-bit number.
  return static_cast<long double>(static_cast<std::int32_t>(static_cast<std::uint32_t>(*m)));
}

std::int64_t ClampToInt64(long double v) {
  if (std::isnan(v)) return 0;
  if (v >= 9223372036854775808.0L) return std::numeric_limits<std::int64_t>::max();
  if (v <= -9223372036854775808.0L) return std::numeric_limits<std::int64_t>::min();
  return static_cast<std::int64_t>(v);
}

std::u32string General(long double v, const NumberSeparators& seps) { return Utf8ToUtf32(FormatGeneral(v, seps)); }

std::u32string GroupThousands(std::u32string_view digits, char32_t separator) {
  std::size_t lead = 0;
  while (lead + 1 < digits.size() && digits[lead] == U'0') ++lead;
  digits.remove_prefix(lead);
  if (digits.empty()) return U"0";
  std::u32string out;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out.push_back(separator);
    out.push_back(digits[i]);
  }
  return out;
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

std::u32string TNumberEdit::Text32() const { return Utf8ToUtf32(Text()); }

void TNumberEdit::WriteText(const std::u32string& text) { SetText(Utf32ToUtf8(text)); }

void TNumberEdit::Selection(const std::u32string& text, std::size_t& start, std::size_t& length) const {
  const int s = std::max(Peer().SelStart(), 0);
  const int l = std::max(Peer().SelLength(), 0);
  start = IndexAt(text, s);
  length = IndexAt(text, s + l) - start;
}

std::optional<long double> TNumberEdit::Parse32(const std::u32string& text, const NumberSeparators& seps) const {
  if (text.empty() || text == U"-" || text == U"+") return 0.0L;
  if (number_type_ == TNumberType::ntHex) return ReadHex(text, valid_minus_);
  return ReadDecimal(Clean(text, seps.thousands), seps.decimal);
}

bool TNumberEdit::Enterable(const std::u32string& text, const NumberSeparators& seps) const {
  const std::optional<long double> v = Parse32(text, seps);
  if (!v) return false;
  if (number_type_ == TNumberType::ntHex) return true;
  // The exponent is the field's own notation for large numbers, not an input.
  return std::fabs(*v) < kTypedMagnitude && text.find_first_of(U"Ee") == std::u32string::npos;
}

bool TNumberEdit::ExceedsMaxIntLength(const std::u32string& before, const std::u32string& after,
                                      const NumberSeparators& seps) const {
  if (number_type_ != TNumberType::ntDecimal || max_int_length_ <= 0) return false;
  const std::int32_t digits = IntegerDigits(after, seps);
  return digits > max_int_length_ && digits > IntegerDigits(before, seps);
}

std::u32string TNumberEdit::Round32(const std::u32string& text, int n, const NumberSeparators& seps) const {
  const std::u32string cleaned = Clean(text, seps.thousands);
  const std::optional<DecimalText> d = SplitDecimal(cleaned, seps.decimal);
  if (!d) return cleaned;
  if (d->exponent) {
    // Only the general form of large numbers carries an exponent, and those
    // have no fraction digits to drop; an edited one is rounded positionally.
    const std::optional<long double> v = ReadDecimal(cleaned, seps.decimal);
    if (!v) return cleaned;
    const std::u32string positional = General(*v, seps);
    if (positional.find(U'E') != std::u32string::npos) return cleaned;
    return Round32(positional, n, seps);
  }
  if (!d->separator || d->frac_digits.empty() || n < 0) return cleaned;
  const std::size_t keep = static_cast<std::size_t>(n);
  if (d->frac_digits.size() <= keep) return cleaned;

  bool carry = false;
  switch (round_mode_) {
    case TRoundMode::rmDown:
      break;
    case TRoundMode::rmRound:
      carry = d->frac_digits[keep] >= U'5';
      break;
    case TRoundMode::rmUp:
      carry = d->frac_digits.find_first_not_of(U'0', keep) != std::u32string::npos;
      break;
  }
  std::u32string kept = d->frac_digits.substr(0, keep);
  std::u32string int_digits = d->int_digits;
  if (carry) {
    std::size_t i = kept.size();
    while (i > 0 && kept[i - 1] == U'9') kept[--i] = U'0';
    if (i > 0) {
      ++kept[i - 1];
    } else {
      // Into the integer part, growing its magnitude: -0 gives -1, 9 gives 10.
      std::size_t j = int_digits.size();
      while (j > 0 && int_digits[j - 1] == U'9') int_digits[--j] = U'0';
      if (j > 0) {
        ++int_digits[j - 1];
      } else {
        int_digits.insert(int_digits.begin(), U'1');
      }
    }
  }
  std::u32string out;
  if (d->sign) out.push_back(d->sign);
  out += int_digits;
  out.push_back(seps.decimal);
  out += kept;
  return out;
}

std::int64_t TNumberEdit::RoundedInteger(const NumberSeparators& seps) const {
  const std::u32string rounded = Round32(General(value_, seps), 0, seps);
  return ClampToInt64(ReadDecimal(rounded, seps.decimal).value_or(value_));
}

std::u32string TNumberEdit::HexText(std::int64_t i, bool with_sign) const {
  bool negative = false;
  std::uint64_t magnitude;
  if (with_sign) {
    negative = i < 0;
    magnitude = negative ? static_cast<std::uint64_t>(-(i + 1)) + 1 : static_cast<std::uint64_t>(i);
  } else {
    // Negative numbers show their 32-bit pattern: -1 is FFFFFFFF.
    magnitude = static_cast<std::uint32_t>(static_cast<std::int32_t>(i));
  }
  std::u32string digits;
  do {
    digits.insert(digits.begin(), U"0123456789ABCDEF"[magnitude % 16]);
    magnitude /= 16;
  } while (magnitude != 0);
  const std::size_t least = static_cast<std::size_t>(std::clamp(figure_, 1, kMaxPaddedDigits));
  if (digits.size() < least) digits.insert(0, least - digits.size(), U'0');
  if (negative) digits.insert(digits.begin(), U'-');
  return digits;
}

void TNumberEdit::ApplyLimits() {
  if (!limit_) return;
  if (limit_options_.Contains(TLimitOption::loMin) && value_ < min_) value_ = min_;
  if (limit_options_.Contains(TLimitOption::loMax) && value_ > max_) value_ = max_;
}

std::u32string TNumberEdit::Format32(const NumberSeparators& seps) {
  ApplyLimits();
  std::u32string s;
  if (number_type_ == TNumberType::ntHex) {
    std::int64_t i = RoundedInteger(seps);
    if (!valid_minus_) i = std::clamp<std::int64_t>(i, std::numeric_limits<std::int32_t>::min(),
                                                    std::numeric_limits<std::int32_t>::max());
    value_ = static_cast<long double>(i);
    s = HexText(i, valid_minus_);
    if (hex_case_ == THexCase::hcLower) {
      for (char32_t& c : s) {
        if (c >= U'A' && c <= U'F') c = c - U'A' + U'a';
      }
    }
  } else {
    const bool plus = Text32().starts_with(U'+');
    const std::u32string rounded = Round32(General(value_, seps), figure_, seps);
    // sign, integer digits, fraction (with its separator), exponent
    std::size_t i = 0;
    std::u32string sign;
    if (i < rounded.size() && IsSign(rounded[i])) sign.push_back(rounded[i++]);
    const std::size_t int_start = i;
    while (i < rounded.size() && IsDigit(rounded[i])) ++i;
    std::u32string int_part = rounded.substr(int_start, i - int_start);
    const std::size_t exp = rounded.find(U'E', i);
    std::u32string frac = rounded.substr(i, exp == std::u32string::npos ? std::u32string::npos : exp - i);
    const std::u32string exponent = exp == std::u32string::npos ? std::u32string() : rounded.substr(exp);

    if (comma_) int_part = GroupThousands(int_part, seps.thousands);
    // A mantissa's digits are no fraction digits of the number: Fixed leaves them.
    if (fixed_ && figure_ >= 0 && exponent.empty()) {
      const std::size_t figure = static_cast<std::size_t>(std::min(figure_, kMaxPaddedDigits));
      if (frac.empty()) {
        if (figure >= 1) frac = seps.decimal + std::u32string(figure, U'0');
      } else if (figure == 0) {
        frac.clear();
      } else {
        // Rounding already happened: pad or cut.
        std::u32string digits = frac.substr(1);
        digits.resize(figure, U'0');
        frac = seps.decimal + digits;
      }
    }
    s = sign + int_part + frac + exponent;
    // A "+" the user typed stays, but never in front of a minus.
    if (plus && !s.starts_with(U'-')) s.insert(s.begin(), U'+');
    if (!s.empty() && s.back() == seps.decimal) s.pop_back();
  }
  if (!zero_visible_) {
    const std::optional<long double> shown = Parse32(s, seps);
    if (shown && *shown == 0) s.clear();
  }
  return s;
}

// ---------------------------------------------------------------- public arithmetic

std::optional<long double> TNumberEdit::ParseText(const std::string& text) {
  return Parse32(Utf8ToUtf32(text), locale_.Separators());
}

std::string TNumberEdit::RoundText(const std::string& text, int n) {
  return Utf32ToUtf8(Round32(Utf8ToUtf32(text), n, locale_.Separators()));
}

std::string TNumberEdit::FormatText() { return Utf32ToUtf8(Format32(locale_.Separators())); }

std::int32_t TNumberEdit::IntegerValue() {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(RoundedInteger(locale_.Separators()),
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
  } else if (number_type_ == TNumberType::ntHex) {
    accepted = control_key || IsHexDigit(ch) || (ch == U'-' && valid_minus_) || (ch == U'+' && text.starts_with(U'-'));
  } else {
    accepted = control_key || IsSign(ch) || IsDigit(ch) || ch == seps.decimal;
  }
  // Control characters insert nothing, so the shortcuts keep working with
  // the integer part full; signs and the separator add no digit to it.
  if (accepted && ch >= 0x20 && ch != 0x7F && !IsSign(ch) && ch != seps.decimal) {
    std::size_t start, length;
    Selection(text, start, length);
    std::u32string result = text;
    result.replace(start, length, 1, ch);
    if (ExceedsMaxIntLength(text, result, seps)) accepted = false;
  }
  return accepted;
}

// ---------------------------------------------------------------- events

bool TNumberEdit::PeerKeyPress(char32_t& ch) {
  if (!IsKeyAccepted(ch)) return false;
  if (IsSign(ch)) {
    SignKey(ch);
    return false;
  }
  const NumberSeparators seps = locale_.Separators();
  const std::u32string text = Text32();
  if (ch == seps.decimal && text.find(seps.decimal) != std::u32string::npos) return false;
  if (OnKeyPress) {
    OnKeyPress(ch);
    if (ch == 0) return false;
  }
  if (ch >= 0x20 && ch != 0x7F) {
    // A character that would leave a text we cannot read (a digit in front of
    // the sign, a number beyond its conversion's range) is refused.
    std::size_t start, length;
    Selection(text, start, length);
    std::u32string result = text;
    result.replace(start, length, 1, ch);
    if (!Enterable(result, seps)) return false;
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
  if (key == U'+' && number_type_ == TNumberType::ntHex && minus) {
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
  const NumberSeparators seps = locale_.Separators();
  const bool deleted = start == 0 && length >= 1;
  if (!Parse32(text, seps) || (deleted && !Enterable(text, seps)) || ExceedsMaxIntLength(before, text, seps)) return;
  const int caret_units = Units(text, static_cast<std::size_t>(caret));
  WriteText(text);
  Peer().SetSel(std::min(caret_units, Units(Text32())), 0);
}

void TNumberEdit::PeerChange() {
  if (updating_) return;
  const NumberSeparators seps = locale_.Separators();
  const std::u32string text = Text32();
  // A text we cannot read keeps the number; the rewrite shows it again.
  if (const std::optional<long double> v = Parse32(text, seps)) {
    value_ = *v;
    if (number_type_ == TNumberType::ntDecimal) {
      if (const std::optional<long double> r = ReadDecimal(Round32(text, figure_, seps), seps.decimal)) value_ = *r;
    }
  }
  const std::optional<int> pending = std::exchange(pending_caret_, std::nullopt);
  if (Peer().HasParentWindow()) {
    Updating guard(updating_);
    int caret = pending.value_or(Peer().SelStart());
    const int old_length = Units(text);
    const std::u32string formatted = Format32(seps);
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
  const NumberSeparators seps = locale_.Separators();
  const bool hex = number_type_ == TNumberType::ntHex;
  std::u32string work = Text32();
  std::size_t start, length;
  Selection(work, start, length);
  work.erase(start, length);
  std::size_t at = start;  // 0-based insertion point
  // Nothing lands in front of a sign.
  if (std::any_of(work.begin() + static_cast<std::ptrdiff_t>(at), work.end(), IsSign)) return true;

  bool has_sign = std::any_of(work.begin(), work.end(), IsSign);
  bool has_point = work.find(seps.decimal) != std::u32string::npos;
  bool first = true;
  for (char32_t c : Utf8ToUtf32(*clip)) {
    const bool is_first = std::exchange(first, false);
    const bool allowed = hex ? IsHexDigit(c) : IsSign(c) || IsDigit(c) || c == seps.decimal;
    if (!allowed) continue;
    if (IsSign(c)) {
      if (!is_first || at != 0 || has_sign) continue;
      has_sign = true;
    }
    if (c == seps.decimal) {
      if (has_point) continue;
      has_point = true;
    }
    if (!hex && max_int_length_ > 0 && IsDigit(c)) {
      // The integer digit limit holds for pasted digits as for typed ones.
      const std::size_t point = std::min(work.find(seps.decimal), work.size());
      if (at <= point) {
        const auto count = std::count_if(work.begin(), work.begin() + static_cast<std::ptrdiff_t>(point),
                                         [&](char32_t k) { return !IsSign(k) && k != seps.thousands; });
        if (count >= max_int_length_) continue;
      }
    }
    work.insert(work.begin() + static_cast<std::ptrdiff_t>(at), c);
    ++at;
  }
  if (!Enterable(work, seps) || ExceedsMaxIntLength(Text32(), work, seps)) return true;
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
  const NumberSeparators seps = locale_.Separators();
  {
    Updating guard(updating_);
    const std::u32string text = Text32();
    if (const std::optional<long double> v = Parse32(text, seps)) value_ = *v;
    // The limits apply now, also to a number typed past them.
    const std::u32string formatted = Format32(seps);
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
  comma_ = on;
  {
    Updating guard(updating_);
    WriteText(Format32(locale_.Separators()));
  }
  Repaint();
}

void TNumberEdit::SetFigure(std::int32_t n) {
  figure_ = n;
  WriteText(Format32(locale_.Separators()));
  Repaint();
}

void TNumberEdit::SetFixed(bool on) {
  fixed_ = on;
  WriteText(Format32(locale_.Separators()));
  Repaint();
}

void TNumberEdit::SetLimit(bool on) {
  limit_ = on;
  if (!on) return;
  ApplyLimits();
  WriteText(Format32(locale_.Separators()));
  Repaint();
}

void TNumberEdit::SetLimitOptions(TLimitOptions options) {
  limit_options_ = options;
  if (!limit_) return;
  ApplyLimits();
  WriteText(Format32(locale_.Separators()));
  Repaint();
}

void TNumberEdit::SetNumberType(TNumberType t) {
  if (t == number_type_) return;
  number_type_ = t;
  const NumberSeparators seps = locale_.Separators();
  if (t == TNumberType::ntDecimal) {
    WriteText(General(value_, seps));
  } else if (valid_minus_) {
    // With a sign the whole 64-bit number shows; -1 stays -1.
    WriteText(HexText(RoundedInteger(seps), true));
  } else {
    WriteText(HexText(IntegerValue(), false));
  }
  Repaint();
}

void TNumberEdit::SetHexCase(THexCase c) {
  hex_case_ = c;
  WriteText(Format32(locale_.Separators()));
  Repaint();
}

void TNumberEdit::SetMax(long double v) {
  if (!std::isfinite(v)) return;
  max_ = v;
  if (min_ > max_) min_ = max_;
  // Only an enforced bound moves the number, each to its own side.
  const long double old = value_;
  ApplyLimits();
  if (value_ != old) {
    WriteText(Format32(locale_.Separators()));
    Repaint();
  }
}

void TNumberEdit::SetMin(long double v) {
  if (!std::isfinite(v)) return;
  min_ = v;
  if (min_ > max_) max_ = min_;
  const long double old = value_;
  ApplyLimits();
  if (value_ != old) {
    WriteText(Format32(locale_.Separators()));
    Repaint();
  }
}

void TNumberEdit::SetValidMinus(bool on) {
  valid_minus_ = on;
  if (number_type_ == TNumberType::ntHex) WriteText(Format32(locale_.Separators()));
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
  WriteText(Format32(locale_.Separators()));
}

void TNumberEdit::SetZeroVisible(bool on) {
  if (on == zero_visible_) return;
  zero_visible_ = on;
  const NumberSeparators seps = locale_.Separators();
  const std::optional<long double> shown = Parse32(Text32(), seps);
  if (shown && *shown == 0) WriteText(Format32(seps));
}

}  // namespace wakumo
