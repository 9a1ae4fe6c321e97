#include "button_shape.h"

#include <algorithm>
#include <climits>
#include <initializer_list>

#include "Pellan.h"
#include "common/gdi.h"

namespace buttonshape {

RECT FaceRect(const RECT& R, int borderType, int outerLen, int innerLen) {
    if (borderType == BBS_NORMAL) return R;
    const int b = outerLen + innerLen;
    return RECT{R.left + b, R.top + b, R.right - b, R.bottom - b};
}

RECT HighlightBox(int shape, const RECT& f) {
    const int fW = f.right - f.left, fH = f.bottom - f.top;
    switch (shape) {
    case BSS_RECT:
    case BSS_ROUND_RECT:
    case BSS_CIRCLE:
    case BSS_CHARACTER:
        return RECT{f.left + fW / 5, f.top + fH / 5, f.left + (4 * fW) / 5, f.top + (4 * fH) / 5};
    case BSS_DIAMOND:
    case BSS_LEFT_TRIANGLE:
    case BSS_TOP_TRIANGLE:
        return RECT{f.left + fW / 3, f.top + fH / 3, f.left + (2 * fW) / 3, f.top + (2 * fH) / 3};
    case BSS_BOTTOM_TRIANGLE:
        return RECT{f.left + fW / 3, f.top + fH / 6, f.left + (2 * fW) / 3, f.top + (2 * fH) / 3};
    default:  // right triangle, arrows, half circles and values outside the enumeration
        return RECT{f.left + fW / 6, f.top + fH / 3, f.left + (2 * fW) / 3, f.top + (2 * fH) / 3};
    }
}

int ShapePolygon(int shape, const RECT& R, POINT* p) {
    const int L = R.left, T = R.top, Rt = R.right, B = R.bottom;
    const int W = Rt - L, H = B - T;
    const int midX = (L + Rt) / 2, midY = (T + B) / 2;
    const int sT = T + (3 * H) / 10, sB = B + (3 * (T - B)) / 10;
    const int sL = L + (3 * W) / 10, sR = Rt + (3 * (L - Rt)) / 10;
    auto set = [p](std::initializer_list<POINT> pts) {
        int n = 0;
        for (const POINT& q : pts) p[n++] = q;
        return n;
    };
    switch (shape) {
    case BSS_DIAMOND: return set({{midX, T}, {L, midY}, {midX, B}, {Rt, midY}});
    case BSS_LEFT_TRIANGLE: return set({{Rt, T}, {L, midY}, {Rt, B}});
    case BSS_RIGHT_TRIANGLE: return set({{L, T}, {Rt, midY}, {L, B}});
    case BSS_TOP_TRIANGLE: return set({{midX, T}, {Rt, B}, {L, B}});
    case BSS_BOTTOM_TRIANGLE: return set({{midX, B}, {Rt, T}, {L, T}});
    case BSS_LEFT_ARROW: {
        const int cx = L + W / 2;
        return set({{L, midY}, {cx, B}, {cx, sB}, {Rt, sB}, {Rt, sT}, {cx, sT}, {cx, T}});
    }
    case BSS_RIGHT_ARROW: {
        const int cx = Rt - W / 2;
        return set({{Rt, midY}, {cx, B}, {cx, sB}, {L, sB}, {L, sT}, {cx, sT}, {cx, T}});
    }
    case BSS_TOP_ARROW: {
        const int cy = T + H / 2;
        return set({{midX, T}, {L, cy}, {sL, cy}, {sL, B}, {sR, B}, {sR, cy}, {Rt, cy}});
    }
    case BSS_BOTTOM_ARROW: {
        const int cy = B - H / 2;
        return set({{midX, B}, {L, cy}, {sL, cy}, {sL, T}, {sR, T}, {sR, cy}, {Rt, cy}});
    }
    default: return 0;
    }
}

namespace {

// The half of the ellipse `e` that lies in R.
HRGN HalfEllipse(const RECT& e, const RECT& R) {
    gdi::Region ellipse(CreateEllipticRgn(e.left, e.top, e.right, e.bottom));
    gdi::Region box(CreateRectRgn(R.left, R.top, R.right, R.bottom));
    gdi::Region half = gdi::EmptyRegion();
    if (CombineRgn(half, ellipse, box, RGN_AND) == ERROR) return nullptr;
    return half.release();
}

// How many bytes of `text`, one line from R.left in the font selected into
// `dc`, can reach into R: the characters that start no further right than
// R.right plus the widest character (no glyph reaches further back than
// that), and two more for rounding and a split double-byte character.
// Outlining thousands of glyphs past the edge took seconds.
size_t ReachingLength(HDC dc, const RECT& R, const std::string& text) {
    TEXTMETRICA tm;
    if (!GetTextMetricsA(dc, &tm)) return text.size();
    const long long reach = static_cast<long long>(R.right) - R.left + std::max<LONG>(tm.tmMaxCharWidth, 0) +
                            std::max<LONG>(tm.tmOverhang, 0);
    const int extent = static_cast<int>(std::min<long long>(std::max<long long>(reach, 0), INT_MAX));
    const int count = static_cast<int>(std::min<size_t>(text.size(), INT_MAX));
    INT fit = 0;
    SIZE size;
    if (!GetTextExtentExPointA(dc, text.data(), count, extent, &fit, nullptr, &size) || fit < 0)
        return text.size();
    return std::min(text.size(), static_cast<size_t>(fit) + 2);
}

HRGN GlyphRegion(const RECT& R, const std::string& caption) {
    if (caption.empty()) return nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc) return nullptr;
    HRGN region = nullptr;
    {
        gdi::Font font(CreateFontA(R.bottom - R.top, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, 0, 0, 0, 0,
                                   VARIABLE_PITCH | FF_SWISS, "Arial"));
        gdi::Select selected(dc, font);
        SetBkMode(dc, TRANSPARENT);
        const size_t length = ReachingLength(dc, R, caption);
        if (BeginPath(dc)) {
            TextOutA(dc, R.left, R.top, caption.data(), static_cast<int>(length));
            if (EndPath(dc)) region = PathToRegion(dc);
        }
    }
    DeleteDC(dc);
    // Blank text has no outline.
    RECT box;
    if (region && GetRgnBox(region, &box) == NULLREGION) {
        DeleteObject(region);
        region = nullptr;
    }
    return region;
}

}  // namespace

HRGN BuildShapeRegion(int shape, const RECT& R, int roundRadius, const std::string& caption) {
    const int L = R.left, T = R.top, Rt = R.right, B = R.bottom;
    POINT pts[7];
    switch (shape) {
    case BSS_RECT: return CreateRectRgn(L, T, Rt, B);
    case BSS_ROUND_RECT: return CreateRoundRectRgn(L, T, Rt, B, 2 * roundRadius, 2 * roundRadius);
    case BSS_CIRCLE: return CreateEllipticRgn(L, T, Rt, B);
    case BSS_LEFT_HALF_CIRCLE: return HalfEllipse(RECT{L, T, 2 * Rt - L, B}, R);
    case BSS_RIGHT_HALF_CIRCLE: return HalfEllipse(RECT{2 * L - Rt, T, Rt, B}, R);
    case BSS_TOP_HALF_CIRCLE: return HalfEllipse(RECT{L, T, Rt, 2 * B - T}, R);
    case BSS_BOTTOM_HALF_CIRCLE: return HalfEllipse(RECT{L, 2 * T - B, Rt, B}, R);
    case BSS_CHARACTER: return GlyphRegion(R, caption);
    default: {
        const int n = ShapePolygon(shape, R, pts);
        return n ? CreatePolygonRgn(pts, n, WINDING) : nullptr;
    }
    }
}

}  // namespace buttonshape
