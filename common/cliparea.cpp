#include "common/cliparea.h"

#include <cstdlib>

namespace {

// Distance kept from a shape's edge before a pixel counts as covered: a
// region's edge lies within a pixel of the exact curve.
constexpr double kMargin = 2.0;

}  // namespace

ClipArea ClipArea::Of(HDC dc) {
    ClipArea a;
    if (!dc || GetDeviceCaps(dc, TECHNOLOGY) == DT_METAFILE) return a;
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
