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

#include "controls/number_text.h"
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
  bool Comma() const { return mode_.comma; }
  void SetComma(bool on);
  // Fraction digits to round to (negative: none); in hexadecimal the least
  // number of digits shown.
  std::int32_t Figure() const { return mode_.figure; }
  void SetFigure(std::int32_t n);
  bool Fixed() const { return mode_.fixed; }
  void SetFixed(bool on);
  bool Limit() const { return limit_; }
  void SetLimit(bool on);
  TLimitOptions LimitOptions() const { return limit_options_; }
  void SetLimitOptions(TLimitOptions options);
  TNumberType NumberType() const { return mode_.type; }
  void SetNumberType(TNumberType t);
  THexCase HexCase() const { return mode_.hex_case; }
  void SetHexCase(THexCase c);
  // Bounds and Value ignore numbers that are not finite.
  long double Max() const { return max_; }
  void SetMax(long double v);
  std::int32_t MaxIntLength() const { return max_int_length_; }
  void SetMaxIntLength(std::int32_t n) { max_int_length_ = n; }
  long double Min() const { return min_; }
  void SetMin(long double v);
  TRoundMode RoundMode() const { return mode_.round_mode; }
  void SetRoundMode(TRoundMode m) { mode_.round_mode = m; }
  bool ValidMinus() const { return mode_.valid_minus; }
  void SetValidMinus(bool on);
  long double Value() const { return value_; }
  void SetValue(long double v);
  bool ZeroVisible() const { return mode_.zero_visible; }
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
  // The mode with the locale's separators as they are now.
  NumberFieldMode Mode() const;
  std::u32string Text32() const;
  void WriteText(const std::u32string& text);
  // The one rewrite of the text from Value: the change it makes is handled
  // as any other, so Value then reads back what is shown and OnChange runs.
  void ShowValue();
  // After a bound changed: the text is rewritten only when Value moved.
  void ShowIfLimitsMoveValue();
  // Typing and pasting may not grow the integer part beyond MaxIntLength
  // digits (a text already longer may keep its length).
  bool ExceedsMaxIntLength(const std::u32string& before, const std::u32string& after,
                           const NumberSeparators& seps) const;
  // Value limited, then the text that shows it; in hexadecimal Value becomes
  // the integer shown.
  std::u32string Format32(const NumberFieldMode& mode);
  void ApplyLimits();
  void SignKey(char32_t key);
  // Selection as indices into the text's characters.
  void Selection(const std::u32string& text, std::size_t& start, std::size_t& length) const;
  // The text as it would be with `ch` typed over the selection.
  std::u32string Typed(const std::u32string& text, char32_t ch) const;

  KeyboardState& keyboard_;
  Clipboard& clipboard_;
  LocaleInfo& locale_;

  TAlignment alignment_ = TAlignment::taRightJustify;
  // All but the separators, which are the locale's at each use.
  NumberFieldMode mode_;
  bool limit_ = false;
  TLimitOptions limit_options_{TLimitOption::loMax, TLimitOption::loMin};
  long double max_ = 0;
  std::int32_t max_int_length_ = 0;
  long double min_ = 0;
  long double value_ = 0;
  bool auto_select_ = true;

  // Set while the field rewrites its own text, so the change that causes is ignored.
  bool updating_ = false;
  // A key was accepted since the field got the focus.
  bool typed_ = false;
  // Where the caret belongs after a text replacement of our own (UTF-16 units).
  std::optional<int> pending_caret_;
};

}  // namespace wakumo
