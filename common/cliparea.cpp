#include "common/cliparea.h"

#include <algorithm>
#include <cstdlib>

namespace {

// Distance kept from a shape's edge before a pixel counts as covered: a
// region's edge lies within a pixel of the exact curve.
constexpr double kMargin = 2.0;

// Twice the signed area of p[0..n) (positive when its corners turn one way,
// negative the other); 0 when the polygon is not convex or has no area, as
// its edges then do not bound it.
double ConvexTurn(const POINT* p, int n) {
    if (n < 3) return 0;
    double area = 0;
    int sign = 0;
    for (int i = 0; i < n; ++i) {
        const POINT a = p[i], b = p[(i + 1) % n], c = p[(i + 2) % n];
        const double turn = (double(b.x) - a.x) * (double(c.y) - b.y) - (double(b.y) - a.y) * (double(c.x) - b.x);
        const int s = turn > 0 ? 1 : turn < 0 ? -1 : 0;
        if (s == 0 || (sign != 0 && s != sign)) return 0;
        sign = s;
        area += double(a.x) * b.y - double(b.x) * a.y;
    }
    // Four corners or fewer that all turn one way go round once.
    return n <= 4 ? area : 0;
}

// Which side of the edge a -> b the point (x, y) lies on, times the
// polygon's turn: positive inside.
double Side(POINT a, POINT b, double x, double y, double turn) {
    return ((double(b.x) - a.x) * (y - a.y) - (double(b.y) - a.y) * (x - a.x)) * turn;
}

// The innermost metafile paint under way on this thread.
thread_local const MetafileBounds* t_metafile = nullptr;

}  // namespace

MetafileBounds::MetafileBounds(HDC dc, const RECT& bounds) : m_dc(dc), m_outer(t_metafile) {
    m_bounds = RECT{std::min(bounds.left, bounds.right), std::min(bounds.top, bounds.bottom),
                    std::max(bounds.left, bounds.right), std::max(bounds.top, bounds.bottom)};
    t_metafile = this;
}

MetafileBounds::~MetafileBounds() { t_metafile = m_outer; }

ClipArea ClipArea::Of(HDC dc) {
    ClipArea a;
    if (!dc) return a;
    if (GetDeviceCaps(dc, TECHNOLOGY) == DT_METAFILE) {
        for (const MetafileBounds* m = t_metafile; m; m = m->m_outer)
            if (m->m_dc == dc) {
                a.m_bounded = true;
                a.m_box = m->m_bounds;
                break;
            }
        return a;
    }
    RECT box;
    const int kind = GetClipBox(dc, &box);
    if (kind == ERROR) return a;
    a.m_bounded = true;
    if (kind == NULLREGION) SetRectEmpty(&box);
    a.m_box = box;
    return a;
}

bool ClipArea::Box(RECT* box) const {
    if (!m_bounded) return false;
    *box = m_box;
    return true;
}

bool ClipArea::Meets(long long left, long long top, long long right, long long bottom) const {
    if (!m_bounded) return true;
    if (IsRectEmpty(&m_box)) return false;
    return left < m_box.right && right > m_box.left && top < m_box.bottom && bottom > m_box.top;
}

bool ClipArea::CoveredBy(const RECT& box, int cornerW, int cornerH) const {
    if (!m_bounded) return false;
    if (IsRectEmpty(&m_box)) return true;
    const double l = m_box.left - kMargin, t = m_box.top - kMargin;
    const double r = m_box.right + kMargin, b = m_box.bottom + kMargin;
    const double L = box.left, T = box.top, R = box.right, B = box.bottom;
    if (L >= R || T >= B) return false;
    if (cornerW == 0 && cornerH == 0) {
        // The ellipse is convex: it holds the box when it holds its corners.
        const double cx = (L + R) / 2, cy = (T + B) / 2, ax = (R - L) / 2, ay = (B - T) / 2;
        const double xs[] = {l, r}, ys[] = {t, b};
        for (double x : xs)
            for (double y : ys) {
                const double u = (x - cx) / ax, v = (y - cy) / ay;
                if (u * u + v * v >= 1.0) return false;
            }
        return true;
    }
    // A round rectangle holds the cross outside its four corner boxes; a
    // rectangle lies in the cross only when it lies in one of its arms.
    const double w = R - L, h = B - T;
    double cw = std::llabs(static_cast<long long>(cornerW)), ch = std::llabs(static_cast<long long>(cornerH));
    if (cw > w) cw = w;
    if (ch > h) ch = h;
    const double dx = cw / 2 + 1, dy = ch / 2 + 1;
    const bool upright = l >= L + dx && r <= R - dx && t >= T && b <= B;
    const bool across = l >= L && r <= R && t >= T + dy && b <= B - dy;
    return upright || across;
}

bool ClipArea::MeetsEllipse(const RECT& box) const {
    const double L = std::min(box.left, box.right), R = std::max(box.left, box.right);
    const double T = std::min(box.top, box.bottom), B = std::max(box.top, box.bottom);
    if (!Meets(static_cast<long long>(L) - 1, static_cast<long long>(T) - 1, static_cast<long long>(R) + 1,
               static_cast<long long>(B) + 1))
        return false;
    if (!m_bounded) return true;
    const double ax = (R - L) / 2, ay = (B - T) / 2;
    if (ax < 1 || ay < 1) return true;
    // The point of the widened box nearest the centre, measured in radii:
    // beyond one, the whole box lies outside the ellipse.
    const double cx = (L + R) / 2, cy = (T + B) / 2;
    const double x = std::clamp(cx, m_box.left - kMargin, m_box.right + kMargin);
    const double y = std::clamp(cy, m_box.top - kMargin, m_box.bottom + kMargin);
    const double u = (x - cx) / ax, v = (y - cy) / ay;
    return u * u + v * v <= 1.0;
}

bool ClipArea::MeetsConvex(const POINT* p, int n) const {
    if (n < 1) return false;
    long long l = p[0].x, t = p[0].y, r = l, b = t;
    for (int i = 1; i < n; ++i) {
        l = std::min<long long>(l, p[i].x), r = std::max<long long>(r, p[i].x);
        t = std::min<long long>(t, p[i].y), b = std::max<long long>(b, p[i].y);
    }
    if (!Meets(l - 1, t - 1, r + 2, b + 2)) return false;
    const double turn = ConvexTurn(p, n);
    if (!m_bounded || turn == 0) return true;
    // An edge with the whole widened box outside it parts the two.
    const double xs[] = {m_box.left - kMargin, m_box.right + kMargin};
    const double ys[] = {m_box.top - kMargin, m_box.bottom + kMargin};
    for (int i = 0; i < n; ++i) {
        bool parts = true;
        for (double x : xs)
            for (double y : ys) parts = parts && Side(p[i], p[(i + 1) % n], x, y, turn) < 0;
        if (parts) return false;
    }
    return true;
}

bool ClipArea::CoveredByConvex(const POINT* p, int n) const {
    if (!m_bounded) return false;
    if (IsRectEmpty(&m_box)) return true;
    const double turn = ConvexTurn(p, n);
    if (turn == 0) return false;
    // Convex: it holds the widened box when it holds its corners.
    const double xs[] = {m_box.left - kMargin, m_box.right + kMargin};
    const double ys[] = {m_box.top - kMargin, m_box.bottom + kMargin};
    for (int i = 0; i < n; ++i)
        for (double x : xs)
            for (double y : ys)
                if (Side(p[i], p[(i + 1) % n], x, y, turn) <= 0) return false;
    return true;
}
