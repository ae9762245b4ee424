#pragma once
// Geometry and handle types owned by the core. Conversions to platform types
// live in the adapters only.
#include <algorithm>
#include <cstdint>
#include <limits>
#include <ostream>

namespace wakumo {

// Sums of window sizes and margins stay far inside 32 bits for real windows;
// odd rectangles from other processes must not overflow the arithmetic.
constexpr std::int32_t SaturateToInt(std::int64_t v) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, std::numeric_limits<std::int32_t>::min(),
                                                            std::numeric_limits<std::int32_t>::max()));
}

// An opaque window of any process, as the window system hands it out; 0 is none.
using WindowHandle = std::uint64_t;

struct Point {
  std::int32_t x = 0;
  std::int32_t y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct Rect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
  // Saturated: any two corners give a size, even ones further apart than 32 bits hold.
  std::int32_t Width() const { return SaturateToInt(std::int64_t{right} - left); }
  std::int32_t Height() const { return SaturateToInt(std::int64_t{bottom} - top); }
  bool Contains(Point p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
  friend bool operator==(const Rect&, const Rect&) = default;
};

inline Rect OffsetRect(const Rect& r, Point d) { return {r.left + d.x, r.top + d.y, r.right + d.x, r.bottom + d.y}; }

// Stands for "no outline on the screen".
inline constexpr Rect kEmptyMarker{-1, -1, -2, -2};

inline void PrintTo(const Point& p, std::ostream* os) { *os << "(" << p.x << ", " << p.y << ")"; }
inline void PrintTo(const Rect& r, std::ostream* os) {
  *os << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}
inline std::ostream& operator<<(std::ostream& os, const Rect& r) { PrintTo(r, &os); return os; }
inline std::ostream& operator<<(std::ostream& os, const Point& p) { PrintTo(p, &os); return os; }

// 32-bit colour: 0x00BBGGRR, or a system colour index with bit 31 set.
using TColor = std::uint32_t;
inline constexpr TColor RGBColor(int r, int g, int b) {
  return static_cast<TColor>(r) | (static_cast<TColor>(g) << 8) | (static_cast<TColor>(b) << 16);
}
inline constexpr TColor kSystemColorFlag = 0x80000000u;
inline constexpr TColor clBtnFace = kSystemColorFlag | 15;
inline constexpr TColor clBtnShadow = kSystemColorFlag | 16;
inline constexpr TColor clBtnText = kSystemColorFlag | 18;
inline constexpr TColor clBtnHighlight = kSystemColorFlag | 20;
inline constexpr TColor cl3DDkShadow = kSystemColorFlag | 21;
inline constexpr TColor cl3DLight = kSystemColorFlag | 22;
inline constexpr TColor clWindow = kSystemColorFlag | 5;
inline constexpr TColor clWindowText = kSystemColorFlag | 8;
inline constexpr TColor clInfoText = kSystemColorFlag | 23;
inline constexpr TColor clInfoBk = kSystemColorFlag | 24;
inline constexpr TColor clLime = RGBColor(0, 255, 0);
inline constexpr TColor clWhite = RGBColor(255, 255, 255);
inline constexpr TColor clBlack = RGBColor(0, 0, 0);
inline constexpr TColor clSilver = RGBColor(192, 192, 192);
inline constexpr TColor clGray = RGBColor(128, 128, 128);
inline constexpr TColor clNavy = RGBColor(0, 0, 128);
inline constexpr TColor clBlue = RGBColor(0, 0, 255);
inline constexpr TColor clMaroon = RGBColor(128, 0, 0);
inline constexpr TColor clRed = RGBColor(255, 0, 0);
inline constexpr TColor clAqua = RGBColor(0, 255, 255);

}  // namespace wakumo
