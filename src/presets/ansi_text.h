#pragma once
// Small rules on the settings file's raw bytes. They work in any ANSI code
// page: every byte they look for (blanks, control characters, ",", the quote,
// digits, signs) lies below 0x40 except the ASCII letters, and letters are only
// folded outside double-byte characters.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ansi_code_page.h"

namespace wakumo {

// Blanks and control characters, as the file's trimming rules mean them.
constexpr bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= 0x20; }

std::string_view TrimBlanks(std::string_view s);

// ASCII letters compared without case; double-byte characters must match
// byte for byte, so a trail byte is never folded.
bool EqualsIgnoreCase(std::string_view a, std::string_view b, const LeadByteSet& lead);

// The whole text as a decimal integer with an optional sign, within 32 bits;
// nothing otherwise (no blanks allowed, no hexadecimal).
std::optional<std::int32_t> ParseDecimal(std::string_view s);

// Trimmed, then ParseDecimal; 0 when that gives nothing.
std::int32_t DecimalOrZero(std::string_view s);

// Every byte below 0x80: the same characters in UTF-8 and in every ANSI code page.
bool IsAscii(std::string_view s);

// A name from the settings file as the widgets show it: the code page's
// characters, except that each byte the page makes no character of (a lead
// byte without its trail byte, a pair or a byte the page leaves undefined)
// shows as its value in hexadecimal, as in "Caf〈E9〉". The user sees that
// the file holds a byte there and which one, where the page's own stand-in
// ("・" on 932) would pass for a real character.
std::string ShownText(std::string_view ansi, const AnsiCodePage& code_page);

// A comma list: a field ends at a comma or a blank, blanks between fields are
// skipped, a field may be enclosed in double quotes (a doubled quote inside
// stands for one; an unclosed quote runs to the end), and an empty field
// between two commas, or after a final comma, is an empty field. Empty or
// blank text has no fields.
std::vector<std::string> SplitCommaList(std::string_view s);

}  // namespace wakumo
