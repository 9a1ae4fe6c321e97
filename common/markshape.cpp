#include "common/markshape.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// An ellipse wider and taller than this is drawn as a polygon through points
// of its edge near what the DC shows: GDI's work on an ellipse grows with its
// size, and no screen shows a mark this large whole. Its pixels may differ
// from GDI's own ellipse by one along the edge.
constexpr double kLargeRadius = 1024;

struct Pt {
    double x, y;
};

// The part of `poly` on the side of an edge where `inside` holds, cut where
// `cross` says (one step of Sutherland and Hodgman's clipping).
template <class Inside, class Cross>
std::vector<Pt> Cut(const std::vector<Pt>& poly, Inside inside, Cross cross) {
    std::vector<Pt> out;
    for (size_t i = 0; i < poly.size(); ++i) {
        const Pt a = poly[i], b = poly[(i + 1) % poly.size()];
        const bool ina = inside(a), inb = inside(b);
        if (ina) out.push_back(a);
        if (ina != inb) out.push_back(cross(a, b));
    }
    return out;
}

std::vector<Pt> CutToBox(std::vector<Pt> poly, double l, double t, double r, double b) {
    auto atX = [](Pt a, Pt c, double x) { return Pt{x, a.y + (c.y - a.y) * (x - a.x) / (c.x - a.x)}; };
    auto atY = [](Pt a, Pt c, double y) { return Pt{a.x + (c.x - a.x) * (y - a.y) / (c.y - a.y), y}; };
    poly = Cut(poly, [&](Pt p) { return p.x >= l; }, [&](Pt a, Pt c) { return atX(a, c, l); });
    poly = Cut(poly, [&](Pt p) { return p.x <= r; }, [&](Pt a, Pt c) { return atX(a, c, r); });
    poly = Cut(poly, [&](Pt p) { return p.y >= t; }, [&](Pt a, Pt c) { return atY(a, c, t); });
    poly = Cut(poly, [&](Pt p) { return p.y <= b; }, [&](Pt a, Pt c) { return atY(a, c, b); });
    return poly;
}

POINT Round(Pt p) { return POINT{static_cast<LONG>(std::lround(p.x)), static_cast<LONG>(std::lround(p.y))}; }

// The large ellipse in box (L, T, R, B), normalised, as far as the clip box
// `seen` shows it: the edge through points 2 pixels apart over the part of
// it that faces `seen`, and the inside as that part's wedge cut to `seen`
// grown by 2. False when `seen` holds the centre (the caller takes it whole).
bool LargeEllipseNear(const RECT& seen, double L, double T, double R, double B, std::vector<POINT>& edge,
                      std::vector<POINT>& inside) {
    const double cx = (L + R) / 2, cy = (T + B) / 2, ax = (R - L) / 2, ay = (B - T) / 2;
    const double l = seen.left - 2.0, t = seen.top - 2.0, r = seen.right + 2.0, b = seen.bottom + 2.0;
    if (cx >= l && cx <= r && cy >= t && cy <= b) return false;
    // The angles (on the circle the ellipse is scaled from) under which the
    // box's corners lie, about the angle of its middle: less than half a turn.
    const double kPi = 3.14159265358979323846;
    const double mid = std::atan2(((t + b) / 2 - cy) / ay, ((l + r) / 2 - cx) / ax);
    double lo = 0, hi = 0;
    for (double x : {l, r})
        for (double y : {t, b}) {
            double a = std::atan2((y - cy) / ay, (x - cx) / ax) - mid;
            if (a > kPi) a -= 2 * kPi;
            if (a < -kPi) a += 2 * kPi;
            lo = std::min(lo, a), hi = std::max(hi, a);
        }
    const double length = (hi - lo) * std::max(ax, ay);
    const int n = static_cast<int>(std::min(std::max(length / 2, 8.0), 8192.0));
    std::vector<Pt> wedge;
    edge.clear();
    inside.clear();
    for (int i = 0; i <= n; ++i) {
        const double a = mid + lo + (hi - lo) * i / n;
        const Pt p{cx + ax * std::cos(a), cy + ay * std::sin(a)};
        edge.push_back(Round(p));
        wedge.push_back(p);
    }
    wedge.push_back(Pt{cx, cy});
    for (const Pt& p : CutToBox(wedge, l, t, r, b)) inside.push_back(Round(p));
    return true;
}

bool IsLarge(double L, double T, double R, double B) { return (R - L) / 2 > kLargeRadius && (B - T) / 2 > kLargeRadius; }

bool DrawLargeEllipse(HDC dc, const RECT& seen, double L, double T, double R, double B) {
    std::vector<POINT> edge, inside;
    if (!LargeEllipseNear(seen, L, T, R, B, edge, inside)) return false;
    if (inside.size() >= 3) {
        const HGDIOBJ pen = SelectObject(dc, GetStockObject(NULL_PEN));
        ::Polygon(dc, inside.data(), static_cast<int>(inside.size()));
        SelectObject(dc, pen);
    }
    Polyline(dc, edge.data(), static_cast<int>(edge.size()));
    return true;
}

}  // namespace

ClipArea MarkClip(HDC dc) {
    XFORM x;
    const bool pixels = dc && GetMapMode(dc) == MM_TEXT && GetROP2(dc) == R2_COPYPEN &&
                        (GetGraphicsMode(dc) != GM_ADVANCED ||
                         (GetWorldTransform(dc, &x) && x.eM11 == 1 && x.eM22 == 1 && x.eM12 == 0 && x.eM21 == 0));
    return pixels ? ClipArea::Of(dc) : ClipArea();
}

MarkShape MarkShape::Ellipse(int left, int top, int right, int bottom) {
    MarkShape m;
    m.m_kind = kEllipse;
    m.m_box = RECT{left, top, right, bottom};
    return m;
}

MarkShape MarkShape::Rectangle(int left, int top, int right, int bottom) {
    MarkShape m;
    m.m_kind = kRectangle;
    m.m_box = RECT{left, top, right, bottom};
    // GDI draws a rectangle given either corner order the same way.
    m.m_corners[0] = POINT{std::min(left, right), std::min(top, bottom)};
    m.m_corners[2] = POINT{std::max(left, right), std::max(top, bottom)};
    m.m_corners[1] = POINT{m.m_corners[2].x, m.m_corners[0].y};
    m.m_corners[3] = POINT{m.m_corners[0].x, m.m_corners[2].y};
    m.m_count = 4;
    return m;
}

MarkShape MarkShape::Polygon(const POINT* corners, int n) {
    MarkShape m;
    if (n < 1 || n > 4) return m;
    m.m_kind = kPolygon;
    std::copy(corners, corners + n, m.m_corners);
    m.m_count = n;
    return m;
}

bool MarkShape::Meets(const ClipArea& clip) const {
    switch (m_kind) {
    case kEllipse: return clip.MeetsEllipse(m_box);
    case kRectangle:
    case kPolygon: return clip.MeetsConvex(m_corners, m_count);
    default: return false;
    }
}

bool MarkShape::Covers(const ClipArea& clip) const {
    switch (m_kind) {
    case kEllipse: {
        const RECT box{std::min(m_box.left, m_box.right), std::min(m_box.top, m_box.bottom),
                       std::max(m_box.left, m_box.right), std::max(m_box.top, m_box.bottom)};
        return clip.CoveredBy(box, 0, 0);
    }
    case kRectangle:
    case kPolygon: return clip.CoveredByConvex(m_corners, m_count);
    default: return false;
    }
}

void MarkShape::Draw(HDC dc, const ClipArea& clip) const {
    if (!Meets(clip)) return;
    RECT box;
    if (Covers(clip) && clip.Box(&box)) {
        FillRect(dc, &box, static_cast<HBRUSH>(GetCurrentObject(dc, OBJ_BRUSH)));
        return;
    }
    switch (m_kind) {
    case kEllipse: {
        const double L = std::min(m_box.left, m_box.right), R = std::max(m_box.left, m_box.right);
        const double T = std::min(m_box.top, m_box.bottom), B = std::max(m_box.top, m_box.bottom);
        if (clip.Box(&box) && IsLarge(L, T, R, B) && DrawLargeEllipse(dc, box, L, T, R, B))
            break;
        ::Ellipse(dc, m_box.left, m_box.top, m_box.right, m_box.bottom);
        break;
    }
    case kRectangle: ::Rectangle(dc, m_box.left, m_box.top, m_box.right, m_box.bottom); break;
    case kPolygon: ::Polygon(dc, m_corners, m_count); break;
    default: break;
    }
}

HRGN EllipseRegionSeen(const RECT& box, const ClipArea& clip) {
    const double L = std::min(box.left, box.right), R = std::max(box.left, box.right);
    const double T = std::min(box.top, box.bottom), B = std::max(box.top, box.bottom);
    RECT seen;
    std::vector<POINT> edge, inside;
    if (clip.Box(&seen) && IsLarge(L, T, R, B) && LargeEllipseNear(seen, L, T, R, B, edge, inside))
        return inside.size() >= 3 ? CreatePolygonRgn(inside.data(), static_cast<int>(inside.size()), WINDING)
                                  : CreateRectRgn(0, 0, 0, 0);
    return CreateEllipticRgnIndirect(&box);
}
