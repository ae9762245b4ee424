#pragma once
// What the about box says, in one place. The version is also the one in the
// executable's version resource (resources/wakumo.rc).
namespace wakumo {

inline constexpr const char* kProductName = "Wakumo";
inline constexpr const char* kVersionText = "1.74";
inline constexpr const char* kNoticeText = "(C) Wakumo 開発者";
// PLACEHOLDER until the project has a page of its own: the reserved
// ".example" domain never leads anywhere. Replace it with the real address.
inline constexpr const char* kWebAddress = "https://wakumo.example/";

}  // namespace wakumo
