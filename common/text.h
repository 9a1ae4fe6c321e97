// Numbers and texts of the controls' paints: the guarded conversion to GDI
// coordinates, scale values as text, the 8-bit text of names, and text drawn
// into a box on screen or at a computed anchor into a metafile.
#pragma once
#include <windows.h>
#include <ole2.h>
#include <string>
#include "common/paint.h"

// Truncates toward zero like a C cast, but never with a NaN, an infinity or a
// value past what GDI can take (those become 0 or the nearest limit, ±2^27).
int Trunc(double v);

// How scale values become text.
struct ScaleTextFormat {
    int precision = 1;        // decimals: 0 to 4, anything else prints one
    bool percentage = false;  // print the position in the range as a percentage
    double minVal = 0;
    double maxVal = 100;
};

// The label text for v. Cleared first, so a percentage of an empty range
// gives "". Uses the C runtime's _snprintf (msvcrt), whose rounding of ties
// ("%.0f" of 2.5 is "3") is the platform's own.
std::string FormatScaleValue(const ScaleTextFormat& fmt, float v);

// The text in the ANSI code page, converted whole (its own length, so no
// multi-byte text is cut short); a null or empty text gives "".
std::string AnsiText(const wchar_t* text, int length);
inline std::string AnsiText(BSTR text) {
    return AnsiText(text, text ? static_cast<int>(SysStringLen(text)) : 0);
}

// Text at a metafile anchor: sets its own alignment (taAlign) first and
// draws with TextOutA. A metafile DC answers SetTextAlign with 1, not the
// previous alignment, so nothing is "restored" from it: the caller's saved
// DC state brings the alignment back.
void AnchorText(HDC dc, const std::string& text, UINT taAlign, POINT anchor);

// The anchor that puts the baseline of a text centred on y in a metafile:
// half the font's point size below it (a metafile records DT_VCENTER
// placements wrongly, so they are computed here).
inline POINT BaselineAnchor(const Surface& s, int x, int y) { return POINT{x, y + s.fontPoints / 2}; }

// Text drawn into `box` with DrawTextA (dtAlign) on screen, or at `anchor`
// with taAlign into a metafile. Empty text draws nothing.
void BoxText(const Surface& s, const std::string& text, const RECT& box, UINT dtAlign, UINT taAlign, POINT anchor);
