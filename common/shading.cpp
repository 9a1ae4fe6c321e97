#include "common/shading.h"

#include <algorithm>
#include <cmath>
#include <climits>
#include <cstdlib>
#include <vector>

#include "common/color.h"

namespace {

// The controls' own pi for the mirrored pixel angles and the arc limits.
constexpr double kPi = 3.141592654;
constexpr double kTwoPi = 6.283185308;
// Centres beyond GDI's 27-bit coordinate space draw nothing (and keep the
// pixel coordinates clear of integer overflow).
constexpr int kMaxCentre = 1 << 27;

// The four pixels mirrored from walk point (x, y) have the angles
// m, pi - m, m - pi and -m, with m = atan2(y, x).
inline void QuadAngles(int x, int y, double theta[4]) {
    double m = std::atan2((double)y, (double)x);
    theta[0] = m;
    theta[1] = kPi - m;
    theta[2] = m - kPi;
    theta[3] = -m;
}

// Fast lighting cosines. LightingCosine(theta) for the four angles above is
// cos(+-m + K) for constants K (which fold applies is fixed by the quadrant,
// except for the first pixel near m = 0.7855), so it follows from
// cos m = x / r and sin m = y / r without atan2 and cos. The results differ
// from the exact ones by a few 1e-15; a pixel whose channel value lies too
// close to an integer for that to be safe is recomputed exactly, so the
// colours are exactly those of BlendColorByAngle(theta).
struct FastCosines {
    double cosA, sinA;      // A = 2.356: pixels 0 (unfolded) and 3
    double cosK1, sinK1;    // pixel 0 folded: A - 6.293
    double cosK2, sinK2;    // pixel 1: 6.293 - pi - A
    double cosK3, sinK3;    // pixel 2: pi - A
    double foldSlope;       // tan(3.1415 - A): pixel 0 folds when y / x is above it
};

FastCosines MakeFastCosines() {
    const double a = 2.356;
    FastCosines k;
    k.cosA = std::cos(a);
    k.sinA = std::sin(a);
    k.cosK1 = std::cos(a - 6.293);
    k.sinK1 = std::sin(a - 6.293);
    k.cosK2 = std::cos(6.293 - kPi - a);
    k.sinK2 = std::sin(6.293 - kPi - a);
    k.cosK3 = std::cos(kPi - a);
    k.sinK3 = std::sin(kPi - a);
    k.foldSlope = std::tan(3.1415 - a);
    return k;
}

const FastCosines kFast = MakeFastCosines();

// Fills c with the lighting cosines of the four mirrored pixels of (x, y);
// returns a bit mask of the pixels that need the exact computation.
inline unsigned QuadCosines(int x, int y, double c[4]) {
    if (x == 0 && y == 0) return 0xF;
    const double dx = x, dy = y;
    const double inv = 1.0 / std::sqrt(dx * dx + dy * dy);
    const double u = dx * inv, v = dy * inv;
    unsigned exact = 0;
    const double bound = dx * kFast.foldSlope;
    if (dy > bound * (1.0 + 1e-9))
        c[0] = u * kFast.cosK1 - v * kFast.sinK1;
    else if (dy < bound * (1.0 - 1e-9))
        c[0] = u * kFast.cosA - v * kFast.sinA;
    else
        exact = 1;
    c[1] = u * kFast.cosK2 - v * kFast.sinK2;
    c[2] = u * kFast.cosK3 + v * kFast.sinK3;
    c[3] = u * kFast.cosA + v * kFast.sinA;
    return exact;
}

// A fast channel value is trusted only this far from an integer; the error
// bound of the fast cosine times the steepest slope allowed is far below it.
constexpr double kIntegerMargin = 1e-7;

inline bool SafeTruncate(double v, int* out) {
    int i = (int)v;
    double f = v - i;
    if (f < 0) f = -f;
    if (f < kIntegerMargin || f > 1.0 - kIntegerMargin) return false;
    *out = i;
    return true;
}

// Plain cosine blend from light (c1) to dark (c2). With w = (c + 1) / 2 the
// channel (1 - w) * dark + w * light is linear in c: base + c * slope.
struct PlainShade {
    static constexpr bool kByAngle = false;
    COLORREF light, dark;
    double base[3], slope[3];

    PlainShade(COLORREF lightColour, COLORREF darkColour) : light(lightColour), dark(darkColour) {
        const int l[3] = {RedOf(light), GreenOf(light), BlueOf(light)};
        const int d[3] = {RedOf(dark), GreenOf(dark), BlueOf(dark)};
        for (int i = 0; i < 3; ++i) base[i] = 0.5 * (l[i] + d[i]), slope[i] = 0.5 * (l[i] - d[i]);
    }
    COLORREF Exact(double theta) const { return BlendColorByAngle(theta, light, dark); }
    bool FromCosine(double c, COLORREF* out) const {
        int ch[3];
        for (int i = 0; i < 3; ++i)
            if (!SafeTruncate(base[i] + c * slope[i], &ch[i])) return false;
        *out = ChannelsToRgb(ch[0], ch[1], ch[2]);
        return true;
    }
};

// Curved blend from c1 to c2 with knee and level. With g = (1 - c) / 2 each
// segment of the curve is linear in c as well: below the knee
// delta * g * level / knee, above it level * delta + (g - knee) * delta *
// (1 - level) / (1 - knee).
struct CurveShade {
    static constexpr bool kByAngle = false;
    COLORREF c1, c2;
    float knee, level;
    int a[3];
    double upperBase[3], upperSlope[3], lowerBase[3], lowerSlope[3];
    double kneeCosine = 0;  // c at g = knee
    bool constant = false;  // knee outside (1e-10, 1): one colour everywhere
    COLORREF constantColour = 0;
    bool fast = false;      // the fast path is safe for these parameters

    CurveShade(COLORREF from, COLORREF to, float kneeValue, float levelValue)
        : c1(from), c2(to), knee(kneeValue), level(levelValue) {
        const double k = kneeValue, lv = levelValue;
        a[0] = RedOf(c1), a[1] = GreenOf(c1), a[2] = BlueOf(c1);
        const int delta[3] = {RedOf(c2) - a[0], GreenOf(c2) - a[1], BlueOf(c2) - a[2]};
        if (k <= 1e-10) {
            constant = true, constantColour = c1 & 0xFFFFFF;
        } else if (!(k < 1.0)) {
            constant = true, constantColour = c2 & 0xFFFFFF;
        } else if (std::isfinite(lv) && std::fabs(lv) <= 1e3) {
            const double up = (1.0 - lv) / (1.0 - k), low = lv / k;
            // Steepest change of a channel per unit of g: a cosine error of
            // 1e-13 must stay far inside the integer margin.
            fast = 255.0 * std::fmax(std::fabs(up), std::fabs(low)) < 2e5;
            kneeCosine = 1.0 - 2.0 * k;
            for (int i = 0; i < 3; ++i) {
                const double d = delta[i];
                upperBase[i] = d * (lv - k * up + 0.5 * up), upperSlope[i] = -0.5 * up * d;
                lowerBase[i] = 0.5 * low * d, lowerSlope[i] = -0.5 * low * d;
            }
        }
    }
    COLORREF Exact(double theta) const { return BlendColorByAngleCurve(theta, c1, c2, knee, level); }
    bool FromCosine(double c, COLORREF* out) const {
        if (constant) {
            *out = constantColour;
            return true;
        }
        if (!fast) return false;
        const double fromKnee = kneeCosine - c;  // positive above the knee (g > knee)
        if (std::fabs(fromKnee) < 1e-9) return false;
        const double* base = fromKnee > 0 ? upperBase : lowerBase;
        const double* slope = fromKnee > 0 ? upperSlope : lowerSlope;
        int ch[3];
        for (int i = 0; i < 3; ++i) {
            const double f = base[i] + c * slope[i];
            int whole;
            if (!SafeTruncate(f, &whole)) return false;
            const int v = a[i] + whole;  // as CurveChannel(a[i], f), f being bounded here
            ch[i] = v < 0 ? 0 : (v > 255 ? 255 : v);
        }
        *out = ChannelsToRgb(ch[0], ch[1], ch[2]);
        return true;
    }
};

// The button's blends: the colour follows from the pixel's angle in whole
// degrees, so there is no cosine shortcut.
struct PlainDegreeShade {
    static constexpr bool kByAngle = true;
    COLORREF light, dark;
    COLORREF Exact(double theta) const { return BlendColorByDegree(theta, light, dark); }
};
struct CurveDegreeShade {
    static constexpr bool kByAngle = true;
    COLORREF c1, c2;
    float knee, level;
    COLORREF Exact(double theta) const { return BlendColorByDegreeCurve(theta, c1, c2, knee, level); }
};

// Where the pixels of one call can land, in the target's logical
// coordinates: the target's Bounds, when it has them.
struct Drawable {
    bool bounded;
    long long left, top, right, bottom;  // inclusive; empty when left > right or top > bottom

    static Drawable Of(const gdi::PixelTarget& t) {
        RECT r;
        if (!t.Bounds(&r)) return Drawable{false, 0, 0, 0, 0};
        return Drawable{true, r.left, r.top, (long long)r.right - 1, (long long)r.bottom - 1};
    }
};

// The walk points (x, y) of an outline whose mirrored pixels (cx +- x,
// cy +- y) can land on the target: xNear <= x <= xFar and yNear <= y <= yFar.
struct WalkWindow {
    long long xNear, xFar, yNear, yFar;
};

// The distances |p - c| of the points p from lo to hi: [*nearest, *farthest].
inline void Distances(long long lo, long long hi, long long c, long long* nearest, long long* farthest) {
    const long long a = lo - c, b = hi - c;
    *farthest = std::max(std::llabs(a), std::llabs(b));
    *nearest = (a <= 0 && b >= 0) ? 0 : std::min(std::llabs(a), std::llabs(b));
}

// The window of the outline (cx, cy, rx, ry) on d; false when no pixel of
// the outline lands on d. With F as in Outline, that is so when d misses the
// outline's bounding box, or lies wholly beyond the outline, or wholly inside
// its hole:
// - F rises only on a step in y, and to at most rx^2 (2y - 1) (from F <= 0)
//   or below ry^2 (2x - 1) (from F > 0), so no walk point has F above
//   max(rx^2 (2ry - 1), ry^2 (2rx - 1));
// - F falls below zero only on a step in x, to at least -ry^2 (2x + 1) (from
//   F >= 0) or -rx^2 (2y + 1) (from F < 0, as F + rx^2 (2y + 1) is at least
//   as far from zero), so no walk point (x, y) has F below
//   -max(rx^2 (2y + 1), ry^2 (2x + 1));
// and F rises in x and in y, from the window's nearest corner to its farthest.
bool OutlineWindow(const Drawable& d, int cx, int cy, int rx, int ry, WalkWindow* w) {
    if (!d.bounded) {
        *w = WalkWindow{0, rx, 0, ry};
        return true;
    }
    if (d.left > d.right || d.top > d.bottom) return false;
    Distances(d.left, d.right, cx, &w->xNear, &w->xFar);
    Distances(d.top, d.bottom, cy, &w->yNear, &w->yFar);
    if (w->xNear > rx || w->yNear > ry) return false;
    // Coordinates up to the radii, radii up to 32767: every product fits in 64 bits.
    const long long rx2 = (long long)rx * rx, ry2 = (long long)ry * ry;
    auto F = [&](long long x, long long y) { return ry2 * x * x + rx2 * y * y - rx2 * ry2; };
    if (F(w->xNear, w->yNear) > std::max(rx2 * (2LL * ry - 1), ry2 * (2LL * rx - 1))) return false;
    if (w->xFar <= rx && w->yFar <= ry &&
        F(w->xFar, w->yFar) < -std::max(rx2 * (2 * w->yFar + 1), ry2 * (2 * w->xFar + 1)))
        return false;
    return true;
}

inline bool CentreOk(int cx, int cy) {
    return cx > -kMaxCentre && cx < kMaxCentre && cy > -kMaxCentre && cy < kMaxCentre;
}

// A zero radius: a straight line in c1 over offsets -r - extra to r + extra.
void StraightLine(const gdi::PixelTarget& t, int cx, int cy, int rx, int ry, COLORREF c1, int extra) {
    if (rx == 0) {
        for (int y = cy - ry - extra; y <= cy + ry + extra; ++y) t.Set(cx, y, c1);
    } else {
        for (int x = cx - rx - extra; x <= cx + rx + extra; ++x) t.Set(x, cy, c1);
    }
}

// The four mirrored pixels of walk point (x, y).
template <class Shade>
inline void Pixels(const gdi::PixelTarget& t, int cx, int cy, int x, int y, const Shade& shade,
                   const ArcLimits* arc) {
    const int px[4] = {cx + x, cx - x, cx - x, cx + x};
    const int py[4] = {cy + y, cy + y, cy - y, cy - y};
    double theta[4];
    if constexpr (Shade::kByAngle) {
        QuadAngles(x, y, theta);
        for (int i = 0; i < 4; ++i)
            if (!arc || arc->Contains(theta[i])) t.Set(px[i], py[i], shade.Exact(theta[i]));
    } else {
        bool haveTheta = false;
        if (arc) QuadAngles(x, y, theta), haveTheta = true;
        double c[4];
        const unsigned exact = QuadCosines(x, y, c);
        for (int i = 0; i < 4; ++i) {
            if (arc && !arc->Contains(theta[i])) continue;
            COLORREF colour;
            if ((exact & (1u << i)) || !shade.FromCosine(c[i], &colour)) {
                if (!haveTheta) QuadAngles(x, y, theta), haveTheta = true;
                colour = shade.Exact(theta[i]);
            }
            t.Set(px[i], py[i], colour);
        }
    }
}

// Midpoint walk over one quadrant from (rx, 0), stepping up in y while that
// stays closer to the ellipse than a step in x; the four mirrored pixels of
// every point are set in the order (+x, +y), (-x, +y), (-x, -y), (+x, -y).
// F(x, y) = ry^2 x^2 + rx^2 y^2 - rx^2 ry^2 is kept in 64 bits and updated
// incrementally (32 bits overflow from about 215 px radius). Points outside
// the window w are walked over without their pixels, which would not land.
template <class Shade>
void Outline(const gdi::PixelTarget& t, int cx, int cy, int rx, int ry, const WalkWindow& w, const Shade& shade,
             const ArcLimits* arc) {
    const long long rx2 = (long long)rx * rx, ry2 = (long long)ry * ry;
    long long f = 0;  // F(rx, 0)
    int x = rx, y = 0;
    while (x >= 0 && y <= ry) {
        // x only falls and y only rises: the rest of the quadrant is outside.
        if (x < w.xNear || y > w.yFar) break;
        if (x <= w.xFar && y >= w.yNear) Pixels(t, cx, cy, x, y, shade, arc);
        const long long up = f + rx2 * (2LL * y + 1);    // F(x, y + 1)
        const long long left = f - ry2 * (2LL * x - 1);  // F(x - 1, y)
        if (std::llabs(up) < std::llabs(left)) {
            ++y;
            f = up;
        } else {
            --x;
            f = left;
        }
    }
}

bool RadiiOk(int rx, int ry) { return rx >= 0 && ry >= 0 && rx <= kMaxShadedRadius && ry <= kMaxShadedRadius; }

void PlainOutline(const gdi::PixelTarget& t, const Drawable& d, int cx, int cy, int rx, int ry, COLORREF c1,
                  COLORREF c2, const ArcLimits* arc, bool wholeDegrees = false) {
    if (!RadiiOk(rx, ry)) return;
    c1 &= 0xFFFFFF, c2 &= 0xFFFFFF;
    if (rx == 0 || ry == 0) return StraightLine(t, cx, cy, rx, ry, c1, 1);
    WalkWindow w;
    if (!OutlineWindow(d, cx, cy, rx, ry, &w)) return;
    if (wholeDegrees) Outline(t, cx, cy, rx, ry, w, PlainDegreeShade{c1, c2}, arc);
    else Outline(t, cx, cy, rx, ry, w, PlainShade(c1, c2), arc);
}

// The knob's curved outline draws a line of 2r + 1 pixels for a zero radius,
// the button's one of 2r + 3 like the plain outline.
void CurveOutline(const gdi::PixelTarget& t, const Drawable& d, int cx, int cy, int rx, int ry, COLORREF c1,
                  COLORREF c2, float knee, float level, const ArcLimits* arc, bool wholeDegrees = false) {
    if (!RadiiOk(rx, ry)) return;
    c1 &= 0xFFFFFF, c2 &= 0xFFFFFF;
    if (rx == 0 || ry == 0) return StraightLine(t, cx, cy, rx, ry, c1, wholeDegrees ? 1 : 0);
    WalkWindow w;
    if (!OutlineWindow(d, cx, cy, rx, ry, &w)) return;
    if (wholeDegrees) Outline(t, cx, cy, rx, ry, w, CurveDegreeShade{c1, c2, knee, level}, arc);
    else Outline(t, cx, cy, rx, ry, w, CurveShade(c1, c2, knee, level), arc);
}

// Style 5's brightness step: ch + ch * (k - w/2) / w per channel, capped at 255.
COLORREF Brightened(COLORREF c, int k, int w) {
    auto ch = [&](int v) {
        long long r = v + (long long)v * (k - w / 2) / w;
        return r > 255 ? 255 : (r < 0 ? 0 : (int)r);
    };
    return ChannelsToRgb(ch(RedOf(c)), ch(GreenOf(c)), ch(BlueOf(c)));
}

void FlatRing(HDC dc, int cx, int cy, int rx, int ry, int w, COLORREF c1, COLORREF c2, bool framed) {
    if (!dc) return;
    gdi::Region outer(CreateEllipticRgn(cx - rx, cy - ry, cx + rx, cy + ry));
    gdi::Region inner(CreateEllipticRgn(cx - rx + w, cy - ry + w, cx + rx - w, cy + ry - w));
    gdi::Region ring = gdi::EmptyRegion();
    CombineRgn(ring, outer, inner, RGN_DIFF);
    {
        gdi::Brush brush = gdi::SolidBrush(c2);
        FillRgn(dc, ring, brush);
    }
    const POINT corners[3] = {{cx - rx, cy - ry}, {cx - rx, cy + ry}, {cx + rx, cy - ry}};
    gdi::Region triangle(CreatePolygonRgn(corners, 3, WINDING));
    gdi::Region lit = gdi::EmptyRegion();
    CombineRgn(lit, ring, triangle, RGN_AND);
    {
        gdi::Brush brush = gdi::SolidBrush(c1);
        FillRgn(dc, lit, brush);
    }
    if (!framed) return;
    gdi::Brush black = gdi::SolidBrush(RGB(0, 0, 0));
    FrameRgn(dc, ring, black, 1, 1);
}

}  // namespace

ArcLimits ArcLimits::FromDegrees(int startAngle, int endAngle) {
    auto radians = [](int degrees) {
        double r = degrees * kPi / 180.0;
        if (r > kPi) r -= kTwoPi;
        return r;
    };
    return ArcLimits{radians(startAngle), radians(endAngle)};
}

void DrawShadedEllipse(const gdi::PixelTarget& target, int cx, int cy, int rx, int ry, COLORREF c1, COLORREF c2,
                       const ArcLimits* arc) {
    if (!CentreOk(cx, cy)) return;
    target.Flush();
    PlainOutline(target, Drawable::Of(target), cx, cy, rx, ry, c1, c2, arc);
}

void DrawShadedEllipseCurve(const gdi::PixelTarget& target, int cx, int cy, int rx, int ry, COLORREF c1, COLORREF c2,
                            float knee, float level, const ArcLimits* arc) {
    if (!CentreOk(cx, cy)) return;
    target.Flush();
    CurveOutline(target, Drawable::Of(target), cx, cy, rx, ry, c1, c2, knee, level, arc);
}

void DrawShadedRing(const gdi::PixelTarget& target, int cx, int cy, int rx, int ry, int width, COLORREF c1,
                    COLORREF c2, int style, const RingShading& shading) {
    if (!CentreOk(cx, cy) || !RadiiOk(rx, ry)) return;
    c1 &= 0xFFFFFF, c2 &= 0xFFFFFF;
    const int w = width;
    const bool ringFits = w > 0 && w < rx - 2 && w < ry - 2;
    const ArcLimits limits = ArcLimits::FromDegrees(shading.startAngle, shading.endAngle);
    const ArcLimits* arc = (style == RING_EDGES_ARC || style == RING_TUBE_ARC) ? &limits : nullptr;
    const gdi::PixelTarget& t = target;
    t.Flush();
    // Outlines that land wholly off the target are skipped; a disc of a huge
    // radius centred far off the target then costs what its visible part costs.
    const Drawable d = Drawable::Of(t);
    const bool degrees = shading.wholeDegrees;
    switch (style) {
    case RING_BEVEL:
        PlainOutline(t, d, cx, cy, rx, ry, c1, c2, nullptr, degrees);
        PlainOutline(t, d, cx, cy, rx - 1, ry - 1, MixColors(c1, 3, c2, 1, 4), MixColors(c1, 1, c2, 3, 4), nullptr, degrees);
        break;
    case RING_EDGES:
    case RING_EDGES_ARC:
        if (!ringFits) return;
        PlainOutline(t, d, cx, cy, rx, ry, c1, c2, arc, degrees);
        PlainOutline(t, d, cx, cy, rx - 1, ry - 1, MixColors(c1, 2, c2, 1, 3), MixColors(c1, 1, c2, 2, 3), arc, degrees);
        PlainOutline(t, d, cx, cy, rx - w + 1, ry - w + 1, c2, c1, arc, degrees);
        PlainOutline(t, d, cx, cy, rx - w, ry - w, MixColors(c1, 1, c2, 2, 3), MixColors(c1, 2, c2, 1, 3), arc, degrees);
        break;
    case RING_TUBE:
    case RING_TUBE_ARC:
        if (!ringFits) return;
        for (int k = 0; k <= w; ++k)
            PlainOutline(t, d, cx, cy, rx - k, ry - k, GradedColor(c1, c2, k, w), GradedColor(c2, c1, k, w), arc, degrees);
        break;
    case RING_DISC: {
        const int n = rx < ry ? rx : ry;
        if (n < 2) return;
        const bool curved = shading.gradientRate != 0.5f;  // NaN counts as curved
        for (int k = 0; k <= n; ++k) {
            const COLORREF light = GradedColor(c1, c2, k, 2 * n), dark = GradedColor(c2, c1, k, 2 * n);
            if (curved)
                CurveOutline(t, d, cx, cy, rx - k, ry - k, light, dark, shading.gradientRate, 0.5f, nullptr, degrees);
            else
                PlainOutline(t, d, cx, cy, rx - k, ry - k, light, dark, nullptr, degrees);
        }
        break;
    }
    case RING_GRADIENT:
        if (!ringFits) return;
        for (int k = 0; k <= w; ++k)
            CurveOutline(t, d, cx, cy, rx - k, ry - k, Brightened(c1, k, w), Brightened(c2, k, w), 0.2f, 0.6f, nullptr,
                         degrees);
        break;
    case RING_FLAT:
        if (!ringFits) return;
        FlatRing(t.dc(), cx, cy, rx, ry, w, c1, c2, shading.framedFlatRing);
        break;
    default:
        break;
    }
}

namespace {

// The quadratic fill along one column, per channel.
struct QuadColumn {
    int ax[3];
    double rest[3];  // D - trunc(ax), spread over the rows
};

inline int ClampChannel(long long v) { return v < 0 ? 0 : (v > 255 ? 255 : (int)v); }

}  // namespace

void FillQuadraticGradient(const gdi::PixelTarget& target, const RECT& rect, HRGN region, POINT focus, COLORREF c1,
                           COLORREF c2, bool mirror) {
    if (rect.right < rect.left || rect.bottom < rect.top) return;
    // The rectangle as far as the target can take it.
    RECT area{rect.left, rect.top, rect.right + 1, rect.bottom + 1};
    if (rect.right == INT_MAX || rect.bottom == INT_MAX) return;
    RECT bounds;
    if (target.Bounds(&bounds) && !IntersectRect(&area, &area, &bounds)) return;
    const gdi::RegionRows rows(region);
    if (region) {
        if (!rows.count() || !IntersectRect(&area, &area, &rows.box())) return;
    }
    const int from[3] = {RedOf(c1), GreenOf(c1), BlueOf(c1)};
    const int to[3] = {RedOf(c2), GreenOf(c2), BlueOf(c2)};
    const long long fx = focus.x, fy = focus.y;
    const long long cornerX = mirror ? rect.left : rect.right, cornerY = mirror ? rect.top : rect.bottom;
    const bool xPart = mirror ? cornerX < fx : fx < cornerX;
    const bool yPart = mirror ? cornerY < fy : fy < cornerY;
    const double spanX = (double)((cornerX - fx) * (cornerX - fx));
    const double ny = yPart ? (double)((cornerY - fy) * (cornerY - fy)) : 1.0;

    const int width = area.right - area.left;
    std::vector<QuadColumn> columns((size_t)width);
    for (int k = 0; k < width; ++k) {
        const long long dx = (long long)area.left + k - fx;
        const double dx2 = (double)(dx * dx);
        for (int i = 0; i < 3; ++i) {
            // Multiplied before dividing: at the far corner the part is D exactly.
            const double ax = xPart ? dx2 * (to[i] - from[i]) / spanX : 0.0;
            // Far beyond the corner ax leaves int range; the channel is clamped anyway.
            const double cut = ax > 1e9 ? 1e9 : (ax < -1e9 ? -1e9 : ax);
            columns[k].ax[i] = (int)cut;
            columns[k].rest[i] = yPart ? (double)(to[i] - from[i]) - columns[k].ax[i] : 0.0;
        }
    }
    target.Flush();
    auto span = [&](int y, int left, int right) {
        const long long dy = (long long)y - fy;
        const double dy2 = (double)(dy * dy);
        for (int x = left; x < right; ++x) {
            const QuadColumn& col = columns[(size_t)(x - area.left)];
            int ch[3];
            for (int i = 0; i < 3; ++i) {
                double part = dy2 * col.rest[i] / ny;
                part = part > 1e9 ? 1e9 : (part < -1e9 ? -1e9 : part);
                ch[i] = ClampChannel((long long)from[i] + col.ax[i] + (long long)part);
            }
            target.Set(x, y, ChannelsToRgb(ch[0], ch[1], ch[2]));
        }
    };
    if (!region) {
        for (int y = area.top; y < area.bottom; ++y) span(y, area.left, area.right);
        return;
    }
    for (size_t r = 0; r < rows.count(); ++r) {
        RECT piece;
        if (!IntersectRect(&piece, &rows.rects()[r], &area)) continue;
        for (int y = piece.top; y < piece.bottom; ++y) span(y, piece.left, piece.right);
    }
}
