// Colour helpers shared by every control's paint: OLE colour translation,
// the two recurring channel mixes, and the colour of a shaded outline pixel
// by its direction from the centre.
#pragma once
#include <windows.h>
#include <ole2.h>
#include <olectl.h>

// OLE colour (RGB or system-colour index) to RGB. A value that
// OleTranslateColor refuses is taken as its low 24 bits, never left undefined.
COLORREF TranslateColor(OLE_COLOR colour);

// Channel access on 0x00BBGGRR values.
inline int RedOf(COLORREF c) { return (int)(c & 0xFF); }
inline int GreenOf(COLORREF c) { return (int)((c >> 8) & 0xFF); }
inline int BlueOf(COLORREF c) { return (int)((c >> 16) & 0xFF); }
// Builds an RGB value from channels already in 0..255.
inline COLORREF ChannelsToRgb(int r, int g, int b) {
    return (COLORREF)((unsigned)r | ((unsigned)g << 8) | ((unsigned)b << 16));
}

// The light tint: each channel (c + 765) / 4.
COLORREF LightTint(COLORREF c);
// The half: each channel c / 2.
COLORREF HalfColor(COLORREF c);
// Per channel from + (to - from) * num / den, truncated toward zero;
// 0 <= num <= den, den > 0.
COLORREF GradedColor(COLORREF from, COLORREF to, int num, int den);
// Per-channel weighted mix (wa * a + wb * b) / divisor, integer division;
// the weights are small non-negative integers and divisor is positive.
COLORREF MixColors(COLORREF a, int wa, COLORREF b, int wb, int divisor);

// Colour of an outline pixel lit from the upper left. `angle` is the pixel's
// direction from the centre in radians, atan2(dy, dx) with y growing down.
// Light at the upper left, dark at the lower right, cosine weighted.
COLORREF BlendColorByAngle(double angle, COLORREF light, COLORREF dark);
// The same through a two-segment tone curve: c1 at the upper left, c1 +
// level * (c2 - c1) at the knee, c2 at the lower right. A knee not above
// 1e-10 gives c1, a knee not below 1 (or not a number) gives c2.
COLORREF BlendColorByAngleCurve(double angle, COLORREF c1, COLORREF c2, float knee, float level);

// The button's forms of the two blends: the lighting angle is cut to whole
// degrees toward zero and its cosine looked up in a table of 361 entries,
// so two angles within one degree give the same colour.
COLORREF BlendColorByDegree(double angle, COLORREF light, COLORREF dark);
COLORREF BlendColorByDegreeCurve(double angle, COLORREF c1, COLORREF c2, float knee, float level);

// The cosine weight both blends start from: about 1 at the upper left
// (-3pi/4) and -1 at the lower right. The folding constants are those the
// controls have always used (2.356, 3.1415, 6.293), not exact multiples of pi.
double LightingCosine(double angle);

// A channel of the curved blend: base + the integer part of `delta`, capped
// to 0..255. Non-finite or huge deltas are settled before the conversion.
inline int CurveChannel(int base, double delta) {
    if (!(delta == delta)) delta = 0.0;
    if (delta > 512.0) delta = 512.0;
    if (delta < -512.0) delta = -512.0;
    int v = base + (int)delta;
    return v < 0 ? 0 : (v > 255 ? 255 : v);
}
