// Region-based drawing shared by the controls: a filled elliptic ring, a
// tube-like gradient ring built from thin rings, and a raised or sunken 3D
// edge inside any region. Colours are RGB values, already translated.
// Each routine deletes what it creates and leaves the DC's selection as found.
#pragma once
#include <windows.h>

// Fills the ring between the ellipse of `rc` inset by `inset` and the one
// inset by inset + width with `colour`. An ellipse whose inset rectangle is
// empty or turned inside out counts as empty (no mirrored ellipse).
void FillEllipseRing(HDC hdc, const RECT& rc, int inset, int width, COLORREF colour);

// Shades a ring `width` wide along the inside of the ellipse of `rc` as a
// tube: edge colour at both edges, middle colour halfway across. At most
// 2 x 128 thin rings whatever the width; the outermost step stays unpainted.
void DrawGradientRing(HDC hdc, const RECT& rc, int width, COLORREF edgeColour, COLORREF midColour);

// Paints a 3D edge inside `region` (only read) in the current system colours:
// style 1 three pixels, style 2 two pixels (outer pixel 3D light / dark
// shadow, inner highlight / shadow), any other style one pixel. Raised: light
// at the top left; sunken: dark there.
void DrawRegionEdge3D(HDC hdc, HRGN region, bool sunken, int style);

// The four bevelled bands of a configurable border inside R: an outer band
// `outer` wide, light on the top and left and dark on the right and bottom,
// and within it an inner band `inner` wide the other way round. A band of
// width 0 or less is not drawn.
void PaintConfigurableBands(HDC hdc, const RECT& R, int outer, int inner, COLORREF light, COLORREF dark);
