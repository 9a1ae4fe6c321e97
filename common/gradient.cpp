#include "gradient.h"
#include <algorithm>
#include "common/cliparea.h"
#include "common/color.h"
#include "common/gdi.h"
#include "common/text.h"

namespace {

int Channel(int o, int inner, float level, int t, int L) {
    const int d = inner - o;
    const int H = L / 2;
    const float dl = d * level;
    long long v;
    if (t < H) v = o + static_cast<long long>(Trunc(dl * t / (L * 0.5)));
    else v = static_cast<long long>(o) + Trunc(dl) + Trunc(d * (1 - level) * (t - H) / (L * 0.5));
    return v < 0 ? 0 : v > 255 ? 255 : static_cast<int>(v);
}

// A coordinate of a step, kept where GDI can take it.
int Coord(long long v) { return Trunc(static_cast<double>(v)); }

// The box of the band's shape at inset t; false once the inset turns the
// rectangle inside out (the shape is then empty).
bool InsetBox(const RECT& r, long long t, RECT* box) {
    *box = RECT{Coord(r.left + t), Coord(r.top + t), Coord(r.right - t), Coord(r.bottom - t)};
    return box->left <= box->right && box->top <= box->bottom;
}

gdi::Region InsetShape(const RECT& r, long long t, int cornerW, int cornerH) {
    RECT box;
    if (!InsetBox(r, t, &box)) return gdi::EmptyRegion();
    if (cornerW == 0 && cornerH == 0) return gdi::Region(CreateEllipticRgnIndirect(&box));
    return gdi::Region(CreateRoundRectRgn(box.left, box.top, box.right, box.bottom, cornerW, cornerH));
}

// Whether the ring between the insets t and t + s can change a pixel the DC
// shows: it lies within the outer shape's box, and none of it within a hole
// that covers what the DC shows.
bool RingSeen(const ClipArea& clip, const RECT& r, long long t, long long s, int cornerW, int cornerH) {
    RECT outer, inner;
    if (!InsetBox(r, t, &outer) || !clip.Meets(outer)) return false;
    return !(InsetBox(r, t + s, &inner) && clip.CoveredBy(inner, cornerW, cornerH));
}

void FillWith(HDC dc, HRGN region, COLORREF colour) {
    gdi::Brush brush(CreateSolidBrush(colour));
    FillRgn(dc, region, brush);
}

}  // namespace

COLORREF GradientColorAt(COLORREF from, COLORREF to, float level, int t, int L) {
    if (L <= 0) return from;
    return ChannelsToRgb(Channel(RedOf(from), RedOf(to), level, t, L),
                         Channel(GreenOf(from), GreenOf(to), level, t, L),
                         Channel(BlueOf(from), BlueOf(to), level, t, L));
}

void FillGradientBand(HDC dc, const RECT& rect, int width, int cornerW, int cornerH, float level, COLORREF outer,
                      COLORREF inner) {
    if (width < 1) return;
    const int s = width / 128 > 1 ? width / 128 : 1;
    // A negative size can grow the rectangle far past the control: rings
    // out of sight are passed over, as their regions alone cost much.
    const ClipArea clip = ClipArea::Of(dc);
    for (long long t = s; t <= width; t += s) {
        if (!RingSeen(clip, rect, t, s, cornerW, cornerH)) continue;
        gdi::Region outside = InsetShape(rect, t, cornerW, cornerH);
        gdi::Region inside = InsetShape(rect, t + s, cornerW, cornerH);
        gdi::Region ring = gdi::EmptyRegion();
        if (CombineRgn(ring, outside, inside, RGN_DIFF) == ERROR) continue;
        FillWith(dc, ring, GradientColorAt(outer, inner, level, static_cast<int>(t), width));
    }
}

void FillGradientQuad(HDC dc, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4, COLORREF colour1,
                      COLORREF colour2, float level) {
    const POINT corners[] = {{x1, y1}, {x2, y2}, {x3, y3}, {x4, y4}};
    gdi::Region polygon(CreatePolygonRgn(corners, 4, WINDING));
    if (!polygon) return;
    const bool alongX = x1 == x2;
    const long long from = alongX ? x1 : y1, to = alongX ? x3 : y3;
    const long long span = to >= from ? to - from : from - to;
    if (span == 0 || span > 0x7FFFFFFF) return;
    const int L = static_cast<int>(span);
    const int dir = to > from ? 1 : -1;
    const int s = L / 128 > 1 ? L / 128 : 1;
    // Strips out of sight are passed over, and the rest cut from the part of
    // the polygon in sight: a polygon grown far past the control costs what
    // its visible part costs.
    const ClipArea clip = ClipArea::Of(dc);
    RECT seen;
    if (clip.Box(&seen)) {
        gdi::Region box(CreateRectRgnIndirect(&seen));
        if (!box || CombineRgn(polygon, polygon, box, RGN_AND) == ERROR) return;
    }
    for (long long t = s; t <= L; t += s) {
        const int a = Coord(from + dir * t), b = Coord(from + dir * (t + s));
        if (alongX ? !clip.Meets(std::min(a, b), std::min(y1, y2), std::max(a, b), std::max(y1, y2))
                   : !clip.Meets(std::min(x1, x2), std::min(a, b), std::max(x1, x2), std::max(a, b)))
            continue;
        gdi::Region strip(alongX ? CreateRectRgn(a, y1, b, y2) : CreateRectRgn(x1, a, x2, b));
        gdi::Region part = gdi::EmptyRegion();
        if (!strip || CombineRgn(part, strip, polygon, RGN_AND) == ERROR) continue;
        FillWith(dc, part, GradientColorAt(colour1, colour2, level, static_cast<int>(t), L));
    }
}
