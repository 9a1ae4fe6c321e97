#include "gradient.h"
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

// The band's shape at inset t: empty once the inset turns the rectangle
// inside out.
gdi::Region InsetShape(const RECT& r, long long t, int cornerW, int cornerH) {
    const int l = Coord(r.left + t), tp = Coord(r.top + t), rt = Coord(r.right - t), b = Coord(r.bottom - t);
    if (l > rt || tp > b) return gdi::EmptyRegion();
    if (cornerW == 0 && cornerH == 0) return gdi::Region(CreateEllipticRgn(l, tp, rt, b));
    return gdi::Region(CreateRoundRectRgn(l, tp, rt, b, cornerW, cornerH));
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
    for (long long t = s; t <= width; t += s) {
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
    for (long long t = s; t <= L; t += s) {
        const int a = Coord(from + dir * t), b = Coord(from + dir * (t + s));
        gdi::Region strip(alongX ? CreateRectRgn(a, y1, b, y2) : CreateRectRgn(x1, a, x2, b));
        gdi::Region part = gdi::EmptyRegion();
        if (!strip || CombineRgn(part, strip, polygon, RGN_AND) == ERROR) continue;
        FillWith(dc, part, GradientColorAt(colour1, colour2, level, static_cast<int>(t), L));
    }
}
