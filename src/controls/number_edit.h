#pragma once
// A single-line edit that holds a number. It keeps the number beside the text,
// lets through only keystrokes and pasted text that make a number, and
// rewrites the text from the number after every change (rounding, thousands
// grouping, fixed fraction digits, hexadecimal), optionally holding the
// number within bounds.
//
// The number and the text always agree: a text that cannot be read as a
// number (set by a program, or left by cut or undo) leaves the number as it
// was, and the rewrite shows that number again; typing or pasting that would
// give such a text is refused, as is a decimal number of 1E15 or more, from
// where the general form shows an exponent instead of the typed digits.
// The numbers are always finite.
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>

#include "platform/platform.h"
#include "ui/edit.h"

namespace wakumo {

using TAlignment = TextAlign;

enum class TLimitOption : std::uint8_t { loMax = 1, loMin = 2 };

// A set of TLimitOption.
struct TLimitOptions {
  constexpr TLimitOptions() = default;
  constexpr TLimitOptions(std::initializer_list<TLimitOption> options) {
    for (TLimitOption o : options) bits |= static_cast<std::uint8_t>(o);
  }
  constexpr bool Contains(TLimitOption o) const { return (bits & static_cast<std::uint8_t>(o)) != 0; }
  friend bool operator==(const TLimitOptions&, const TLimitOptions&) = default;
  std::uint8_t bits = 0;
};

enum class TNumberType { ntDecimal, ntHex };
enum class THexCase { hcUpper, hcLower };
enum class TRoundMode { rmDown, rmRound, rmUp };

// The key may be changed; 0 drops it.
using TKeyPressEvent = std::function<void(char32_t& key)>;

class TNumberEdit : public TEdit {
 public:
  // The ports are used for the Ctrl key, pasting and the locale's separators;
  // they must outlive the field.
  TNumberEdit(UiToolkit& tk, TControl* parent, const std::string& name, KeyboardState& keyboard,
              Clipboard& clipboard, LocaleInfo& locale);

  // Published properties, in the order a stored form sets them.
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment a);
  bool Comma() const { return comma_; }
  void SetComma(bool on);
  // Fraction digits to round to (negative: none); in hexadecimal the least
  // number of digits shown.
  std::int32_t Figure() const { return figure_; }
  void SetFigure(std::int32_t n);
  bool Fixed() const { return fixed_; }
  void SetFixed(bool on);
  bool Limit() const { return limit_; }
  void SetLimit(bool on);
  TLimitOptions LimitOptions() const { return limit_options_; }
  void SetLimitOptions(TLimitOptions options);
  TNumberType NumberType() const { return number_type_; }
  void SetNumberType(TNumberType t);
  THexCase HexCase() const { return hex_case_; }
  void SetHexCase(THexCase c);
  // Bounds and Value ignore numbers that are not finite.
  long double Max() const { return max_; }
  void SetMax(long double v);
  std::int32_t MaxIntLength() const { return max_int_length_; }
  void SetMaxIntLength(std::int32_t n) { max_int_length_ = n; }
  long double Min() const { return min_; }
  void SetMin(long double v);
  TRoundMode RoundMode() const { return round_mode_; }
  void SetRoundMode(TRoundMode m) { round_mode_ = m; }
  bool ValidMinus() const { return valid_minus_; }
  void SetValidMinus(bool on);
  long double Value() const { return value_; }
  void SetValue(long double v);
  bool ZeroVisible() const { return zero_visible_; }
  void SetZeroVisible(bool on);

  // Republished from the edit.
  bool AutoSelect() const { return auto_select_; }
  void SetAutoSelect(bool on) { auto_select_ = on; }

  // OnChange (after the field's own rewrite, never for it) and OnEnter come
  // from TEdit.
  TNotifyEvent OnExit;
  TKeyPressEvent OnKeyPress;

  // The field's own arithmetic, with the current mode and separators.
  // The number a text stands for; nothing when it is not a number of the
  // current mode or lies beyond the range its conversion reads: a whole
  // decimal or hexadecimal number with ValidMinus must fit 64 bits signed,
  // hexadecimal without ValidMinus 32 bits, any other decimal a finite
  // extended value.
  std::optional<long double> ParseText(const std::string& text);
  // A decimal text rounded to n fraction digits by RoundMode.
  std::string RoundText(const std::string& text, int n);
  // The text that shows Value; applies the limits to Value first, and in
  // hexadecimal makes Value the integer shown.
  std::string FormatText();
  // Value rounded by RoundMode and held to 32 bits signed.
  std::int32_t IntegerValue();
  bool IsKeyAccepted(char32_t ch);

 protected:
  void PeerChange() override;
  bool PeerKeyPress(char32_t& ch) override;
  bool PeerPaste() override;
  void PeerEnter() override;
  void PeerExit() override;

 private:
  std::u32string Text32() const;
  void WriteText(const std::u32string& text);
  std::optional<long double> Parse32(const std::u32string& text, const NumberSeparators& seps) const;
  // Whether typing or pasting may lead to this text: it must read, and in
  // decimal stay below 1E15 without an exponent.
  bool Enterable(const std::u32string& text, const NumberSeparators& seps) const;
  // Typing and pasting may not grow the integer part beyond MaxIntLength
  // digits (a text already longer may keep its length).
  bool ExceedsMaxIntLength(const std::u32string& before, const std::u32string& after,
                           const NumberSeparators& seps) const;
  std::u32string Round32(const std::u32string& text, int n, const NumberSeparators& seps) const;
  std::u32string Format32(const NumberSeparators& seps);
  std::int64_t RoundedInteger(const NumberSeparators& seps) const;
  std::u32string HexText(std::int64_t i, bool with_sign) const;
  void ApplyLimits();
  void SignKey(char32_t key);
  // Selection as indices into the text's characters.
  void Selection(const std::u32string& text, std::size_t& start, std::size_t& length) const;

  KeyboardState& keyboard_;
  Clipboard& clipboard_;
  LocaleInfo& locale_;

  TAlignment alignment_ = TAlignment::taRightJustify;
  bool comma_ = false;
  std::int32_t figure_ = -1;
  bool fixed_ = false;
  bool limit_ = false;
  TLimitOptions limit_options_{TLimitOption::loMax, TLimitOption::loMin};
  TNumberType number_type_ = TNumberType::ntDecimal;
  THexCase hex_case_ = THexCase::hcUpper;
  long double max_ = 0;
  std::int32_t max_int_length_ = 0;
  long double min_ = 0;
  TRoundMode round_mode_ = TRoundMode::rmDown;
  bool valid_minus_ = false;
  long double value_ = 0;
  bool zero_visible_ = true;
  bool auto_select_ = true;

  // Set while the field rewrites its own text, so the change that causes is ignored.
  bool updating_ = false;
  // A key was accepted since the field got the focus.
  bool typed_ = false;
  // Where the caret belongs after a text replacement of our own (UTF-16 units).
  std::optional<int> pending_caret_;
};

}  // namespace wakumo
