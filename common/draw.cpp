#include "common/draw.h"

#include <climits>

#include "common/cliparea.h"
#include "common/color.h"
#include "common/gdi.h"
#include "common/markshape.h"

namespace {

int ClampToInt(long long v) { return v < INT_MIN ? INT_MIN : (v > INT_MAX ? INT_MAX : (int)v); }

// rc inset by d on every side. False when that leaves nothing: GDI would
// otherwise turn an inverted rectangle round and draw a mirrored ellipse.
bool InsetBox(const RECT& rc, long long d, RECT* out) {
    long long l = rc.left + d, t = rc.top + d, r = rc.right - d, b = rc.bottom - d;
    if (l >= r || t >= b) return false;
    *out = RECT{ClampToInt(l), ClampToInt(t), ClampToInt(r), ClampToInt(b)};
    return true;
}

// The ring of FillEllipseRing, passed over when it cannot change a pixel
// the DC shows: outside the outer ellipse's box, or within an inner ellipse
// that covers all the DC shows.
void FillEllipseRingSeen(HDC hdc, const ClipArea& clip, const RECT& rc, int inset, int width, COLORREF colour) {
    RECT outerBox;
    if (!hdc || !InsetBox(rc, inset, &outerBox) || !clip.MeetsEllipse(outerBox)) return;
    RECT innerBox;
    const bool hole = InsetBox(rc, (long long)inset + width, &innerBox);
    if (hole && clip.CoveredBy(innerBox, 0, 0)) return;
    gdi::Brush brush = gdi::SolidBrush(colour);
    gdi::Select selected(hdc, brush);
    // Rings of an ellipse far larger than the DC shows are built near what it
    // shows: GDI's work on an elliptic region grows with its size.
    gdi::Region outer(EllipseRegionSeen(outerBox, clip));
    gdi::Region ring = gdi::EmptyRegion();
    if (hole) {
        gdi::Region inner(EllipseRegionSeen(innerBox, clip));
        CombineRgn(ring, outer, inner, RGN_DIFF);
    } else {
        CombineRgn(ring, outer, nullptr, RGN_COPY);
    }
    FillRgn(hdc, ring, brush);
}

}  // namespace

void FillEllipseRing(HDC hdc, const RECT& rc, int inset, int width, COLORREF colour) {
    FillEllipseRingSeen(hdc, ClipArea::Of(hdc), rc, inset, width, colour);
}

void DrawGradientRing(HDC hdc, const RECT& rc, int width, COLORREF edgeColour, COLORREF midColour) {
    int h = width / 2;
    int s = h / 128;
    if (s < 1) s = 1;
    int n = h / s;  // none for a width below 2 or negative
    const ClipArea clip = ClipArea::Of(hdc);
    for (int k = 1; k <= n; ++k)
        FillEllipseRingSeen(hdc, clip, rc, k * s, s, GradedColor(edgeColour, midColour, k * s, h));
    for (int k = 1; k <= n; ++k)
        FillEllipseRingSeen(hdc, clip, rc, h + k * s, s, GradedColor(midColour, edgeColour, k * s, h));
}

void DrawRegionEdge3D(HDC hdc, HRGN region, bool sunken, int style) {
    if (!hdc || !region) return;
    gdi::Region band = gdi::EmptyRegion();
    // The part of the region that a copy moved by (d, d) does not cover: the
    // top-left edge d thick for d > 0, the bottom-right edge for d < 0.
    auto paint = [&](int d, int sysColour) {
        if (CombineRgn(band, region, nullptr, RGN_COPY) == ERROR) return;
        OffsetRgn(band, d, d);
        CombineRgn(band, region, band, RGN_DIFF);
        gdi::Brush brush = gdi::SolidBrush(GetSysColor(sysColour));
        FillRgn(hdc, band, brush);
    };
    if (style == 1) {
        if (!sunken) {
            paint(3, COLOR_BTNHIGHLIGHT);
            paint(-3, COLOR_BTNSHADOW);
        } else {
            paint(3, COLOR_3DDKSHADOW);
            paint(-3, COLOR_3DLIGHT);
        }
    } else if (style == 2) {
        if (!sunken) {
            paint(2, COLOR_BTNHIGHLIGHT);
            paint(1, COLOR_3DLIGHT);
            paint(-2, COLOR_BTNSHADOW);
            paint(-1, COLOR_3DDKSHADOW);
        } else {
            paint(2, COLOR_3DDKSHADOW);
            paint(1, COLOR_BTNSHADOW);
            paint(-2, COLOR_3DLIGHT);
            paint(-1, COLOR_BTNHIGHLIGHT);
        }
    } else {
        if (!sunken) {
            paint(1, COLOR_BTNHIGHLIGHT);
            paint(-1, COLOR_3DDKSHADOW);
        } else {
            paint(1, COLOR_3DDKSHADOW);
            paint(-1, COLOR_BTNHIGHLIGHT);
        }
    }
}

// ---------------------------------------------------------------- configurable bands

namespace {

// The band between the rectangle inset by `from` and the one inset by `to`
// as four trapezoids: top, left, right, bottom.
void FillBevel(HDC hdc, const RECT& R, int from, int to, COLORREF topLeft, COLORREF bottomRight) {
    const int L = R.left, T = R.top, Rt = R.right, B = R.bottom;
    const int a = from, b = to;
    const POINT top[] = {{Rt - a, T + a}, {L + a, T + a}, {L + b, T + b}, {Rt - b, T + b}};
    const POINT left[] = {{L + a, T + a}, {L + a, B - a}, {L + b, B - b}, {L + b, T + b}};
    const POINT right[] = {{Rt - a, T + a}, {Rt - a, B - a}, {Rt - b, B - b}, {Rt - b, T + b}};
    const POINT bottom[] = {{Rt - a, B - a}, {L + a, B - a}, {L + b, B - b}, {Rt - b, B - b}};
    const struct {
        const POINT* points;
        COLORREF colour;
    } sides[] = {{top, topLeft}, {left, topLeft}, {right, bottomRight}, {bottom, bottomRight}};
    for (const auto& side : sides) {
        gdi::Pen pen(CreatePen(PS_SOLID, 1, side.colour));
        gdi::Brush brush(CreateSolidBrush(side.colour));
        gdi::Select selPen(hdc, pen.get()), selBrush(hdc, brush.get());
        Polygon(hdc, side.points, 4);
    }
}

}  // namespace

void PaintConfigurableBands(HDC hdc, const RECT& R, int outer, int inner, COLORREF light, COLORREF dark) {
    if (outer > 0) FillBevel(hdc, R, 0, outer, light, dark);
    if (inner > 0) FillBevel(hdc, R, outer, outer + inner, dark, light);
}
