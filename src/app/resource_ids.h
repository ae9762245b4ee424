// Names of wakumo.exe's resources: wakumo.rc names them with these macros,
// and the code asks for them by the strings made from them, so that the two
// cannot drift apart.
#pragma once

#define WAKUMO_RES_SIGHT_CURSOR MYCURSOR
#define WAKUMO_RES_HAND_CURSOR HANDPOINT
#define WAKUMO_RES_MAIN_ICON MAINICON
#define WAKUMO_RES_SIGHT_PICTURE SIGHT
#define WAKUMO_RES_GET_GLYPH GETGLYPH
#define WAKUMO_RES_WLIST_GLYPH WLISTGLYPH
#define WAKUMO_RES_WS_GLYPH WSGLYPH
#define WAKUMO_RES_LIST_GLYPH LISTGLYPH
// Small pictures of the maximise-size menu: both directions, vertical only,
// horizontal only.
#define WAKUMO_RES_MAX_BOTH_PICTURE MAXBOTH
#define WAKUMO_RES_MAX_VERT_PICTURE MAXVERT
#define WAKUMO_RES_MAX_HORZ_PICTURE MAXHORZ

#ifndef RC_INVOKED
#define WAKUMO_RES_NAME_TEXT(id) #id
#define WAKUMO_RES_NAME(id) WAKUMO_RES_NAME_TEXT(id)

namespace wakumo {

inline constexpr const char* kSightCursorResource = WAKUMO_RES_NAME(WAKUMO_RES_SIGHT_CURSOR);
inline constexpr const char* kHandCursorResource = WAKUMO_RES_NAME(WAKUMO_RES_HAND_CURSOR);
inline constexpr const char* kMainIconResource = WAKUMO_RES_NAME(WAKUMO_RES_MAIN_ICON);
inline constexpr const char* kSightPictureResource = WAKUMO_RES_NAME(WAKUMO_RES_SIGHT_PICTURE);
inline constexpr const char* kGetGlyphResource = WAKUMO_RES_NAME(WAKUMO_RES_GET_GLYPH);
inline constexpr const char* kWListGlyphResource = WAKUMO_RES_NAME(WAKUMO_RES_WLIST_GLYPH);
inline constexpr const char* kWsGlyphResource = WAKUMO_RES_NAME(WAKUMO_RES_WS_GLYPH);
inline constexpr const char* kListGlyphResource = WAKUMO_RES_NAME(WAKUMO_RES_LIST_GLYPH);
inline constexpr const char* kMaxBothPictureResource = WAKUMO_RES_NAME(WAKUMO_RES_MAX_BOTH_PICTURE);
inline constexpr const char* kMaxVertPictureResource = WAKUMO_RES_NAME(WAKUMO_RES_MAX_VERT_PICTURE);
inline constexpr const char* kMaxHorzPictureResource = WAKUMO_RES_NAME(WAKUMO_RES_MAX_HORZ_PICTURE);

}  // namespace wakumo
#endif
