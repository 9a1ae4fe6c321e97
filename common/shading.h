// The knob family's lit rims: one-pixel ellipse outlines whose every pixel
// is coloured by its direction to the light (upper left), and the eight ring
// and bevel styles built from them. Pixels go through a gdi::PixelTarget:
// SetPixelV on any DC (metafiles included), or direct writes into a 32-bit
// DIB section with the same result. Outlines, and the parts of them, that
// cannot land within the target's Bounds are passed over: of a disc of a
// huge radius centred far off the target, only the outlines that cross the
// target are walked.
#pragma once
#include <windows.h>

#include "common/gdi.h"

// The arc that arc-only outlines keep, from a control's StartAngle and
// EndAngle (degrees clockwise on the screen from the positive x axis).
struct ArcLimits {
    double start;  // radians; above pi reduced once by 2pi
    double end;

    static ArcLimits FromDegrees(int startAngle, int endAngle);
    // start <= a <= end, or, when start >= end, a >= start or a <= end (the
    // arc over the +-pi seam); so equal limits keep the whole outline.
    bool Contains(double angle) const {
        return start < end ? (start <= angle && angle <= end) : (angle >= start || angle <= end);
    }
};

// What a control passes from its own properties to the ring styles.
struct RingShading {
    short startAngle;    // arc of styles 7 and 8, degrees
    short endAngle;
    float gradientRate;  // knee of the disc shading (style 4); 0.5 gives the plain cosine blend
    // The smart button's forms: blends in whole degrees (BlendColorByDegree
    // and its curve), straight lines of 2r + 3 pixels in both blends, and
    // style 6 without its black frame.
    bool wholeDegrees = false;
    bool framedFlatRing = true;
};

// Ring and bevel styles of DrawShadedRing; W is the width, c1 the lit colour.
enum ShadedRingStyle {
    RING_BEVEL = 1,      // two outlines on the rim (c1 to c2, then 3:1 mixes); width unused
    RING_EDGES = 2,      // two-outline bevels on the outer edge and, reversed, the inner edge
    RING_TUBE = 3,       // W + 1 outlines graded from c1/c2 to c2/c1
    RING_DISC = 4,       // the whole disc, outlines graded halfway; curved when gradientRate != 0.5
    RING_GRADIENT = 5,   // W + 1 curved outlines from half to one and a half brightness
    RING_FLAT = 6,       // flat ring, c1 above the lower-left/upper-right diagonal, c2 below, black frame
    RING_EDGES_ARC = 7,  // RING_EDGES on the arc from startAngle to endAngle only
    RING_TUBE_ARC = 8,   // RING_TUBE on the arc only
};

// Radii above this draw nothing: they keep the outline arithmetic exact in
// 64 bits and are far beyond any window.
constexpr int kMaxShadedRadius = 32767;

// One-pixel outline of the ellipse centred on (cx, cy) with radii (rx, ry),
// each pixel BlendColorByAngle(its angle, c1, c2). rx = 0 or ry = 0 gives a
// straight line of 2r + 3 pixels in c1. With `arc`, only pixels whose angle
// lies in the arc are set.
void DrawShadedEllipse(const gdi::PixelTarget& target, int cx, int cy, int rx, int ry, COLORREF c1, COLORREF c2,
                       const ArcLimits* arc = nullptr);

// The same with BlendColorByAngleCurve(angle, c1, c2, knee, level); the
// straight line for a zero radius has 2r + 1 pixels.
void DrawShadedEllipseCurve(const gdi::PixelTarget& target, int cx, int cy, int rx, int ry, COLORREF c1, COLORREF c2,
                            float knee, float level, const ArcLimits* arc = nullptr);

// Ring of `width` along the inside of the ellipse (cx, cy, rx, ry) in one of
// the ShadedRingStyle styles; any other style draws nothing. Styles 2, 3, 5,
// 6, 7, 8 need 0 < width < rx - 2 and width < ry - 2; style 4 needs both
// radii at least 2. Style 6 draws with regions on target.dc().
void DrawShadedRing(const gdi::PixelTarget& target, int cx, int cy, int rx, int ry, int width, COLORREF c1,
                    COLORREF c2, int style, const RingShading& shading);

// Sets every pixel (x, y) of the rectangle, right and bottom included, that
// lies in `region` (logical coordinates; every pixel when null) to a colour
// growing with the square of its distance from `focus`: c1 at the focus,
// reaching c2 at the far corner, (right, bottom) or, with `mirror`,
// (left, top). Per channel, with D = c2 - c1: the x part ax = (x - fx)^2 D /
// (corner x - fx)^2 and the y part (y - fy)^2 (D - trunc(ax)) / (corner y -
// fy)^2, each multiplied before it is divided and then truncated, so that
// the corner's sides reach c2 exactly; a focus on or past the corner's side
// drops that part. Channels are clamped to 0..255. Distances are squared in
// 64 bits.
void FillQuadraticGradient(const gdi::PixelTarget& target, const RECT& rect, HRGN region, POINT focus, COLORREF c1,
                           COLORREF c2, bool mirror);
