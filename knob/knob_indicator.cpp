// The knob's pointer in its eighteen styles, the slide track of the sliding
// styles and the marker that rides on the bar styles.
#include "knob_paint.h"
#include <cmath>
#include "common/gdi.h"

namespace knobpaint {

namespace {

const double kPi = 3.14159265358979323846;
inline double Rad(double deg) { return deg * kPi / 180.0; }

PointD Add(PointD a, PointD b) { return PointD{a.x + b.x, a.y + b.y}; }
PointD Sub(PointD a, PointD b) { return PointD{a.x - b.x, a.y - b.y}; }
// rho along the direction theta (degrees).
PointD Polar(double theta, double rho) { return PointD{rho * std::cos(Rad(theta)), rho * std::sin(Rad(theta))}; }

HRGN PolygonRegion(const PointD* pts, int n) {
    POINT p[10];
    for (int i = 0; i < n; ++i) p[i] = ToPoint(pts[i]);
    return CreatePolygonRgn(p, n, WINDING);
}

void Fill(HDC dc, HRGN rgn, COLORREF colour) {
    gdi::Brush brush(CreateSolidBrush(colour));
    FillRgn(dc, rgn, brush.get());
}

void FrameBlack(HDC dc, HRGN rgn) {
    gdi::Brush black(CreateSolidBrush(RGB(0, 0, 0)));
    FrameRgn(dc, rgn, black.get(), 1, 1);
}

bool IsSlideStyle(int type) {
    return type == IS_Slide_Circle || type == IS_Slide_RoundButton || type == IS_Slide_Bubble ||
           type == IS_Slide_Hover;
}

// The marker on a bar pointer: a square on the marker centre, a strip from
// the marker's outer end to the centre, or a disc.
void PaintMarker(const Surface& s, PointD C, double W, double H, double a, const PointerSpec& p, COLORREF colour) {
    const int size = p.size;
    int m = size > 12 ? size - 8 : 4;
    HRGN rgn = nullptr;
    const double ca = std::cos(Rad(a)), sa = std::sin(Rad(a));
    const PointD M0 = Add(C, PointD{ca * (W - 2 * size - 1) / 2, sa * (H - 2 * size - 1) / 2});
    if (p.markerType >= MS_Squre && p.markerType <= MS_Sunken_Rect) {
        if (m > 10) m = 10;
        if (p.markerType >= MS_Rect && m > 8) m = 8;
        const PointD E1 = Add(C, PointD{ca * (W - 2 * size - 1 + m) / 2, sa * (H - 2 * size - 1 + m) / 2});
        const PointD v = Polar(a + 90, m / 2.0);
        if (p.markerType <= MS_Sunken_Squre) {
            const PointD E2 = Add(C, PointD{ca * (W - 2 * size - 1 - m) / 2, sa * (H - 2 * size - 1 - m) / 2});
            const PointD pts[] = {Add(E1, v), Sub(E1, v), Sub(E2, v), Add(E2, v)};
            rgn = PolygonRegion(pts, 4);
        } else {
            const PointD pts[] = {Add(E1, v), Sub(E1, v), Sub(C, v), Add(C, v)};
            rgn = PolygonRegion(pts, 4);
        }
    } else if (p.markerType >= MS_Circle && p.markerType <= MS_Sunken_Circle) {
        if (m > 16) m = 16;
        const int k = m / 2;
        const POINT c0 = ToPoint(M0);
        rgn = p.centredDiscMarker ? CreateEllipticRgn(c0.x - k, c0.y - k, c0.x + k + 1, c0.y + k + 1)
                                  : CreateEllipticRgn(c0.x - k + 1, c0.y - k, c0.x + k + 1, c0.y + k);
    } else {
        return;
    }
    gdi::Region marker(rgn);
    Fill(s.dc, marker.get(), colour);
    switch (p.markerType) {
    case MS_Squre:
    case MS_Rect:
    case MS_Circle:
        FrameBlack(s.dc, marker.get());
        break;
    case MS_Raised_Squre:
    case MS_Raised_Rect:
    case MS_Raised_Circle:
        DrawRegionEdge3D(s.dc, marker.get(), false, 3);
        break;
    default:
        DrawRegionEdge3D(s.dc, marker.get(), true, 3);
        break;
    }
}

}  // namespace

double PointerAngle(double value, double minVal, double maxVal, bool inverse, const DialArc& arc, double previous) {
    if (!(minVal < maxVal)) return previous;
    const double span = ScaleSpan(arc.startAngle, arc.endAngle);
    double a = inverse ? arc.endAngle - (value - minVal) * span / (maxVal - minVal)
                       : arc.startAngle + span * (value - minVal) / (maxVal - minVal);
    if (!std::isfinite(a)) return previous;
    if (a > 360) a -= 360;
    else if (a < 0) a += 360;
    return a;
}

void PaintSliderTrack(const Surface& s, const RECT& I, const PointerSpec& p, const PointerColors& c,
                      const DialArc& arc) {
    if (!IsSlideStyle(p.type)) return;
    const int W = I.right - I.left, H = I.bottom - I.top;
    const int cx = (I.left + I.right) / 2, cy = (I.top + I.bottom) / 2;
    const int rx = (p.sliderWidth - p.size + W) / 2, ry = (p.sliderWidth - p.size + H) / 2;
    if (p.sliderType == SS_GRADIENT) {
        DrawShadedRing(s.pixels, cx, cy, rx, ry, p.sliderWidth, HalfColor(c.slider), LightTint(c.slider), 8, arc);
    } else if (p.sliderType == SS_FLAT || !p.unknownSlideTypeBlank) {
        DrawShadedRing(s.pixels, cx, cy, rx, ry, p.sliderWidth, c.slider, c.slider, 8, arc);
        DrawShadedRing(s.pixels, cx, cy, rx, ry, p.sliderWidth, HalfColor(c.slider), LightTint(c.slider), 7, arc);
    }
}

PointerGeometry PaintPointer(const Surface& s, const RECT& I, double angle, const PointerSpec& p,
                             const PointerColors& c, const DialArc& arc) {
    PointerGeometry g;
    g.angle = angle;
    const double W = I.right - I.left, H = I.bottom - I.top;
    g.centre = POINT{(I.left + I.right) / 2, (I.top + I.bottom) / 2};
    const PointD C{static_cast<double>(g.centre.x), static_cast<double>(g.centre.y)};
    const int size = p.size, h = size / 2;
    const double a = angle;
    const double ca = std::cos(Rad(a)), sa = std::sin(Rad(a));
    const PointD T = Add(C, PointD{ca * (W - size - 1) / 2, sa * (H - size - 1) / 2});
    const POINT Ti = ToPoint(T);
    const float s15 = static_cast<float>(1.5 * size), s2 = static_cast<float>(2.0 * size);
    auto q = [&](double theta, double rho) { return Add(C, Polar(theta, rho)); };

    switch (p.type) {
    case IS_Rect_Flat:
    case IS_Rect_3D: {
        const PointD B = Add(C, PointD{ca * (W - h - 1) / 2, sa * (H - h - 1) / 2});
        const PointD B2{2 * C.x - B.x, 2 * C.y - B.y};
        const PointD u = Polar(a + 90, size / 2.0);
        const PointD pts[] = {Add(B, u), Sub(B, u), Sub(B2, u), Add(B2, u)};
        g.hitRegion = PolygonRegion(pts, 4);
        Fill(s.dc, g.hitRegion, c.indicator);
        if (p.type == IS_Rect_Flat) FrameBlack(s.dc, g.hitRegion);
        else DrawRegionEdge3D(s.dc, g.hitRegion, false, 1);
        if (size >= 6 && p.markerVisible) PaintMarker(s, C, W, H, a, p, c.marker);
        break;
    }
    case IS_Circle:
    case IS_Slide_Circle:
    case IS_RoundButton:
    case IS_Slide_RoundButton: {
        {
            gdi::Pen pen(CreatePen(PS_SOLID, 1, RGB(0, 0, 0)));
            gdi::Brush brush(CreateSolidBrush(c.indicator));
            gdi::Select selPen(s.dc, pen.get()), selBrush(s.dc, brush.get());
            Ellipse(s.dc, Ti.x - h, Ti.y - h, Ti.x + h + 1, Ti.y + h + 1);
        }
        if (p.type == IS_RoundButton || p.type == IS_Slide_RoundButton)
            DrawShadedRing(s.pixels, Ti.x, Ti.y, h, h, 0, LightTint(c.indicator), HalfColor(c.indicator), 1, arc);
        g.hitRegion = CreateEllipticRgn(Ti.x - h, Ti.y - h, Ti.x + h + 1, Ti.y + h + 1);
        break;
    }
    case IS_Bubble:
    case IS_Slide_Bubble:
    case IS_Hover:
    case IS_Slide_Hover: {
        const bool bubble = p.type == IS_Bubble || p.type == IS_Slide_Bubble;
        const COLORREF lit = bubble ? LightTint(c.indicator) : HalfColor(c.indicator);
        const COLORREF shade = bubble ? HalfColor(c.indicator) : LightTint(c.indicator);
        DrawShadedRing(s.pixels, Ti.x, Ti.y, h, h, 0, lit, shade, 4, arc);
        g.hitRegion = CreateEllipticRgn(Ti.x - h, Ti.y - h, Ti.x + h + 1, Ti.y + h + 1);
        break;
    }
    case IS_Needle:
    case IS_Sunken_Needle:
    case IS_Bold_Needle:
    case IS_Sunken_Bold_Needle:
    case IS_Arrow_Needle:
    case IS_Sunken_Arrow_Needle:
    case IS_Arrow:
    case IS_Sunken_Arrow: {
        const bool sunken = p.type >= IS_Sunken_Needle;
        const int shape = sunken ? p.type - 4 : p.type;
        HRGN body = nullptr;
        PointD tip1, tip2;  // the hit triangle's other corners
        if (shape == IS_Needle || shape == IS_Bold_Needle) {
            tip1 = q(a - 45, s15);
            tip2 = q(a + 45, s15);
        } else {
            tip1 = Add(T, Polar(a - 150, s2));
            tip2 = Add(T, Polar(a + 150, s2));
        }
        if (shape == IS_Needle) {
            const PointD pts[] = {T,
                                  tip1,
                                  q(a - 135, s15),
                                  q(a - 150, s15),
                                  Add(q(a - 150, s15), Polar(a - 180, size)),
                                  q(a - 180, s2),
                                  Add(q(a + 150, s15), Polar(a + 180, size)),
                                  q(a + 150, s15),
                                  q(a + 135, s15),
                                  tip2};
            body = PolygonRegion(pts, 10);
        } else if (shape == IS_Bold_Needle) {
            const PointD tri[] = {T, tip1, tip2};
            body = PolygonRegion(tri, 3);
            gdi::Region hub(CreateEllipticRgn(Trunc(C.x - s15), Trunc(C.y - s15), Trunc(C.x + s15), Trunc(C.y + s15)));
            CombineRgn(body, body, hub.get(), RGN_OR);
        } else {
            const PointD M{(tip1.x + tip2.x) / 2, (tip1.y + tip2.y) / 2};
            const PointD nMinus = Polar(a - 90, size / 2.0), nPlus = Polar(a + 90, size / 2.0);
            if (shape == IS_Arrow) {
                const PointD pts[] = {T, tip1, Add(M, nMinus), Add(C, nMinus), C, Add(C, nPlus), Add(M, nPlus), tip2};
                body = PolygonRegion(pts, 8);
            } else {
                const PointD pts[] = {T,
                                      tip1,
                                      Add(M, nMinus),
                                      q(a - 135, s2),
                                      q(a - 180, size / 2.0),
                                      q(a + 135, s2),
                                      Add(M, nPlus),
                                      tip2};
                body = PolygonRegion(pts, 8);
            }
        }
        gdi::Region bodyHolder(body);
        Fill(s.dc, body, c.indicator);
        DrawRegionEdge3D(s.dc, body, sunken, 3);
        if (shape == IS_Bold_Needle)
            DrawShadedRing(s.pixels, g.centre.x - 1, g.centre.y, 3, 3, 0, c.hubLight, c.hubDark, 4, arc);
        const PointD tri[] = {T, tip1, tip2};
        g.hitRegion = PolygonRegion(tri, 3);
        break;
    }
    default:
        break;  // no pointer, nothing to hit
    }
    return g;
}

}  // namespace knobpaint
