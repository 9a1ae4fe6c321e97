// Gradient fills made of solid GDI fills, without any gradient facility of
// the platform: a band shaded inward from a rectangle's edge, and a
// four-point polygon shaded in strips parallel to its first edge.
// Colours are RGB values, already translated. Each step creates and deletes
// its own regions and brush; the DC's selection is left as found.
#pragma once
#include <windows.h>

// Colour at distance t of a span L from `from` toward `to`: per channel the
// fraction `level` of the way in the first half (up to L / 2) and the rest in
// the second. Each channel is clamped to 0..255 (a level outside 0..1, or
// the far end of an odd span, would otherwise wrap a bright channel into a
// dark one); a level that is not a number leaves `from` as it is.
COLORREF GradientColorAt(COLORREF from, COLORREF to, float level, int t, int L);

// Shades a band `width` wide inward from the edge of `rect`: rings of step
// s = max(width / 128, 1) between the insets t and t + s for t = s, 2s, ...
// up to width, each filled with the colour at t from `outer` to `inner`.
// The rings are ellipses when cornerW and cornerH are both 0, else round
// rectangles with those corners. The first step (inset 0 to s) stays
// unpainted. Nothing for width < 1; an inset that turns the rectangle inside
// out counts as empty.
void FillGradientBand(HDC dc, const RECT& rect, int width, int cornerW, int cornerH, float level, COLORREF outer,
                      COLORREF inner);

// Shades the polygon (x1, y1) ... (x4, y4) in strips parallel to its first
// edge, from colour1 at that edge toward colour2 at the third point: strips
// along x when x1 == x2 (span |x3 - x1|), else along y (span |y3 - y1|), of
// step s = max(span / 128, 1), each clipped to the polygon and filled with
// the colour at its distance. The strip next to the first edge stays
// unpainted; nothing for an empty span.
void FillGradientQuad(HDC dc, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4, COLORREF colour1,
                      COLORREF colour2, float level);
