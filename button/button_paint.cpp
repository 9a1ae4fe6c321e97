#include "button_paint.h"

#include <cmath>

#include "Pellan.h"
#include "button_shape.h"
#include "common/cliparea.h"
#include "common/color.h"
#include "common/draw.h"
#include "common/shading.h"
#include "common/tiles.h"

namespace buttonpaint {

namespace {

int Clamp255(double v) {
    if (!(v == v) || v <= 0) return 0;  // NaN too
    return v >= 255 ? 255 : (int)v;
}

// The button's forms of the shading routines: whole-degree blends, 2r + 3
// pixel lines, the flat ring without a frame.
RingShading ButtonShading(float rate) { return RingShading{0, 0, rate, true, false}; }

void FillRegion(HDC dc, HRGN region, COLORREF colour) {
    gdi::Brush brush = gdi::SolidBrush(colour);
    FillRgn(dc, region, brush);
}

}  // namespace

COLORREF HighlightColor(COLORREF gradient, COLORREF face, float rate) {
    const double r = rate;
    auto mix = [r](int g, int f) { return Clamp255(r * g + (1.0 - r) * f); };
    return ChannelsToRgb(mix(RedOf(gradient), RedOf(face)), mix(GreenOf(gradient), GreenOf(face)),
                         mix(BlueOf(gradient), BlueOf(face)));
}

COLORREF PressedFace(COLORREF c) {
    return ChannelsToRgb((RedOf(c) + 256) / 2, (GreenOf(c) + 256) / 2, (BlueOf(c) + 256) / 2);
}

// ---------------------------------------------------------------- face

void PaintFace(const Surface& s, HRGN region, const RECT& f, const RECT& h, const ButtonLook& a,
               const ButtonColors& c) {
    if (a.face == BFS_GRADIENT) {
        const POINT focus = a.pressed ? POINT{h.right, h.bottom} : POINT{h.left, h.top};
        FillQuadraticGradient(s.pixels, f, region, focus, c.highlight, c.face, a.pressed);
    } else if (a.face == BFS_GRADIENT_2) {
        const int fW = f.right - f.left, fH = f.bottom - f.top;
        const bool circle = a.shape == BSS_CIRCLE;
        const int rx = circle ? fW / 2 : (3 * fW) / 4, ry = circle ? fH / 2 : (3 * fH) / 4;
        const COLORREF light = a.pressed ? c.face : c.highlight, dark = a.pressed ? c.highlight : c.face;
        DrawShadedRing(s.pixels.ClippedTo(region), (f.left + f.right) / 2, (f.top + f.bottom) / 2, rx, ry, 0, light,
                       dark, RING_DISC, ButtonShading(a.gradientRate));
    } else {
        FillRegion(s.dc, region, a.pressed ? PressedFace(c.face) : c.face);
    }
}

// ---------------------------------------------------------------- pictures

namespace {

// The screen's logical pixels per inch, which stay as they are for the
// process's life: asked once, since every request for the screen's DC is a
// round trip to the window system.
SIZE ScreenDpi() {
    static const SIZE dpi = [] {
        HDC dc = GetDC(nullptr);
        const SIZE d{dc ? GetDeviceCaps(dc, LOGPIXELSX) : 96, dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96};
        if (dc) ReleaseDC(nullptr, dc);
        return d;
    }();
    return dpi;
}

}  // namespace

bool ReadPicture(IPictureDisp* source, PictureInfo& info) {
    if (!source || FAILED(source->QueryInterface(IID_IPicture, reinterpret_cast<void**>(&info.picture))) ||
        !info.picture)
        return false;
    OLE_XSIZE_HIMETRIC w = 0;
    OLE_YSIZE_HIMETRIC h = 0;
    if (FAILED(info.picture->get_Width(&w)) || FAILED(info.picture->get_Height(&h))) return false;
    const SIZE dpi = ScreenDpi();
    info.himetric = SIZE{w, h};
    info.pixels = SIZE{MulDiv(dpi.cx, w, 2540), MulDiv(dpi.cy, h, 2540)};
    return true;
}

void RenderPicture(HDC dc, const PictureInfo& info, int x, int y, int w, int h) {
    info.picture->Render(dc, x, y, w, h, 0, info.himetric.cy, info.himetric.cx, -info.himetric.cy, nullptr);
}

ClipTo::ClipTo(HDC dc, HRGN region) : m_dc(dc), m_saved(SaveDC(dc)) {
    if (!region) return;
    // Clip regions are in device coordinates; the paint buffer's are offset.
    gdi::Region device = gdi::EmptyRegion();
    CombineRgn(device, region, nullptr, RGN_COPY);
    if (GetObjectType(dc) != OBJ_METADC) {
        POINT viewport{}, window{};
        GetViewportOrgEx(dc, &viewport);
        GetWindowOrgEx(dc, &window);
        OffsetRgn(device, viewport.x - window.x, viewport.y - window.y);
    }
    ExtSelectClipRgn(dc, device, RGN_AND);
}

ClipTo::~ClipTo() {
    if (m_saved > 0) RestoreDC(m_dc, m_saved);
}

void PaintPictureFace(const Surface& s, HRGN region, const RECT& content, IPictureDisp* picture, int imageStyle) {
    PictureInfo info;
    if (!ReadPicture(picture, info)) return;
    ClipTo clip(s.dc, region);
    if (imageStyle == IPS_AUTOSIZE) {
        RenderPicture(s.dc, info, content.left, content.top, content.right - content.left,
                      content.bottom - content.top);
    } else if (imageStyle == IPS_TEXTURE) {
        // Only the tiles within the shape and the DC's clip: a negative
        // border grows the content far past the button.
        RECT seen = content, box, clip;
        if (region && GetRgnBox(region, &box) != ERROR && !IntersectRect(&seen, &seen, &box)) return;
        if (ClipArea::Of(s.dc).Box(&clip) && !IntersectRect(&seen, &seen, &clip)) return;
        TiledPicture tiles;
        tiles.cx = info.pixels.cx, tiles.cy = info.pixels.cy;
        tiles.render = [&](HDC dc, int x, int y) { RenderPicture(dc, info, x, y, tiles.cx, tiles.cy); };
        // An opaque bitmap gives every tile the same pixels, whatever lies
        // under it.
        short type = PICTYPE_UNINITIALIZED;
        DWORD attributes = 0;
        tiles.opaque = SUCCEEDED(info.picture->get_Type(&type)) && type == PICTYPE_BITMAP &&
                       SUCCEEDED(info.picture->get_Attributes(&attributes)) && !(attributes & PICTURE_TRANSPARENT);
        PaintTiledPicture(s.dc, s.metafile, content, seen, tiles);
    }
}

// ---------------------------------------------------------------- configurable border

namespace {

// Which sides of a polygon shape's outline (side k runs from vertex k to
// k + 1) lie toward the light in the outer band.
bool LitSide(int shape, int k) {
    switch (shape) {
    case BSS_RECT: return k == 0 || k == 3;             // top, left
    case BSS_DIAMOND: return k == 0 || k == 1;          // the two left sides
    case BSS_LEFT_TRIANGLE: return k == 0 || k == 1;    // the two slanted sides
    case BSS_RIGHT_TRIANGLE: return k == 2;             // the vertical left side
    case BSS_TOP_TRIANGLE: return k == 2;               // the left slanted side
    case BSS_BOTTOM_TRIANGLE: return k == 1 || k == 2;  // top and left slanted side
    default: return false;
    }
}

// The outline inset by d: corners of R move diagonally inward, vertices in
// the middle of a side move perpendicular to it.
POINT Inset(POINT p, const RECT& R, int d) {
    const bool left = p.x == R.left, right = p.x == R.right, top = p.y == R.top, bottom = p.y == R.bottom;
    if (left) p.x += d;
    else if (right) p.x -= d;
    if (top) p.y += d;
    else if (bottom) p.y -= d;
    return p;
}

int Outline(int shape, const RECT& R, POINT* pts) {
    if (shape == BSS_RECT) {
        pts[0] = {R.left, R.top};
        pts[1] = {R.right, R.top};
        pts[2] = {R.right, R.bottom};
        pts[3] = {R.left, R.bottom};
        return 4;
    }
    return buttonshape::ShapePolygon(shape, R, pts);
}

// One band of a polygon outline, from inset d0 to inset d1: its sides
// toward the light (lit) or the others.
struct Band {
    POINT quads[7][4];
    bool lit[7];
    int n;
};

Band MakeBand(int shape, const RECT& R, int d0, int d1) {
    Band b{};
    POINT pts[7];
    b.n = Outline(shape, R, pts);
    for (int k = 0; k < b.n; ++k) {
        const POINT p = pts[k], q = pts[(k + 1) % b.n];
        b.quads[k][0] = Inset(p, R, d0);
        b.quads[k][1] = Inset(q, R, d0);
        b.quads[k][2] = Inset(q, R, d1);
        b.quads[k][3] = Inset(p, R, d1);
        b.lit[k] = LitSide(shape, k);
    }
    return b;
}

HRGN PartRegion(const Band& b, bool lit) {
    gdi::Region part = gdi::EmptyRegion();
    for (int k = 0; k < b.n; ++k) {
        if (b.lit[k] != lit) continue;
        gdi::Region quad(CreatePolygonRgn(b.quads[k], 4, WINDING));
        CombineRgn(part, part, quad, RGN_OR);
    }
    return part.release();
}

// How one part of a band is painted: solid, or the gradient from `from`.
struct PartPaint {
    COLORREF colour;
    bool gradient;
    POINT from;
    bool mirror;
    COLORREF to;
};

void PaintPart(const Surface& s, const RECT& R, HRGN part, const PartPaint& p) {
    if (p.gradient) FillQuadraticGradient(s.pixels, R, part, p.from, p.colour, p.to, p.mirror);
    else FillRegion(s.dc, part, p.colour);
}

// Rectangle and diamond draw each side as a polygon with its outline.
void PolygonSides(const Surface& s, const Band& b, bool lit, COLORREF colour) {
    gdi::Pen pen = gdi::SolidPen(colour);
    gdi::Brush brush = gdi::SolidBrush(colour);
    gdi::Select sp(s.dc, pen), sb(s.dc, brush);
    for (int k = 0; k < b.n; ++k)
        if (b.lit[k] == lit) Polygon(s.dc, b.quads[k], 4);
}

// The two parts of a band: `upperLeft` paints the sides toward the light,
// `lowerRight` the others.
void PaintPolygonBand(const Surface& s, const RECT& R, int shape, int d0, int d1, const PartPaint& upperLeft,
                      const PartPaint& lowerRight, bool upperLeftFirst) {
    const Band b = MakeBand(shape, R, d0, d1);
    const bool solidPolygons = shape == BSS_RECT || shape == BSS_DIAMOND;
    auto paint = [&](bool lit) {
        const PartPaint& p = lit ? upperLeft : lowerRight;
        if (solidPolygons && !p.gradient) return PolygonSides(s, b, lit, p.colour);
        gdi::Region part(PartRegion(b, lit));
        PaintPart(s, R, part, p);
    };
    paint(upperLeftFirst);
    paint(!upperLeftFirst);
}

// The round rectangle's band between insets d0 and d1, split by the diagonal
// from (R, T) to (L, B).
void PaintRoundBand(const Surface& s, const RECT& R, int radius, int d0, int d1, const PartPaint& upperLeft,
                    const PartPaint& lowerRight) {
    const int e = 2 * radius;
    gdi::Region outer(CreateRoundRectRgn(R.left + d0, R.top + d0, R.right - d0, R.bottom - d0, e, e));
    gdi::Region inner(CreateRoundRectRgn(R.left + d1, R.top + d1, R.right - d1, R.bottom - d1, e, e));
    gdi::Region band = gdi::EmptyRegion();
    CombineRgn(band, outer, inner, RGN_DIFF);
    const POINT upper[3] = {{R.left, R.top}, {R.right, R.top}, {R.left, R.bottom}};
    const POINT lower[3] = {{R.right, R.bottom}, {R.right, R.top}, {R.left, R.bottom}};
    for (int half = 0; half < 2; ++half) {
        gdi::Region triangle(CreatePolygonRgn(half == 0 ? upper : lower, 3, WINDING));
        gdi::Region part = gdi::EmptyRegion();
        CombineRgn(part, band, triangle, RGN_AND);
        PaintPart(s, R, part, half == 0 ? upperLeft : lowerRight);
    }
}

}  // namespace

void PaintConfigurableBorder(const Surface& s, const RECT& R, const ButtonLook& a, const ButtonColors& c) {
    if (a.border != BBS_CONFIGURABLE && a.border != BBS_GRADIENT_CONFIGURABLE) return;
    if (a.shape < BSS_RECT || a.shape > BSS_BOTTOM_TRIANGLE) return;
    const int o = a.outerLen, i = a.innerLen;
    const bool gradient = a.border == BBS_GRADIENT_CONFIGURABLE;
    if (a.shape == BSS_CIRCLE) {
        const int cx = (R.left + R.right) / 2, cy = (R.top + R.bottom) / 2;
        const int rx = (R.right - R.left) / 2, ry = (R.bottom - R.top) / 2;
        const int style = gradient ? RING_GRADIENT : RING_FLAT;
        const RingShading shading = ButtonShading(a.gradientRate);
        if (o >= 1) DrawShadedRing(s.pixels, cx, cy, rx, ry, o, c.light, c.dark, style, shading);
        if (i >= 1) DrawShadedRing(s.pixels, cx, cy, rx - o, ry - o, i, c.dark, c.light, style, shading);
        return;
    }
    // The light parts: the outer band's from the upper left, the inner band's
    // from its lower right corner.
    const PartPaint outerLight{c.light, gradient, {R.left, R.top}, false, c.dark};
    const PartPaint innerLight{c.light, gradient, {R.right - o, R.bottom - o}, true, c.dark};
    const PartPaint dark{c.dark, false, {0, 0}, false, 0};
    if (a.shape == BSS_ROUND_RECT) {
        if (o >= 1) PaintRoundBand(s, R, a.roundRadius, 0, o, outerLight, dark);
        if (i >= 1) PaintRoundBand(s, R, a.roundRadius, o, o + i, dark, innerLight);
        return;
    }
    // Rectangle and diamond paint the upper left sides first in both bands,
    // the triangles the dark part first.
    const bool polygons = a.shape == BSS_RECT || a.shape == BSS_DIAMOND;
    if (o >= 1) PaintPolygonBand(s, R, a.shape, 0, o, outerLight, dark, polygons);
    if (i >= 1) PaintPolygonBand(s, R, a.shape, o, o + i, dark, innerLight, true);
}

// ---------------------------------------------------------------- whole button

HRGN PaintButton(const Surface& s, const RECT& R, const ButtonLook& a, const ButtonColors& c) {
    {
        gdi::Brush back = gdi::SolidBrush(c.ambient);
        FillRect(s.dc, &R, back);
    }
    SetTextColor(s.dc, a.caption.colour);
    SetBkMode(s.dc, TRANSPARENT);

    const RECT face = buttonshape::FaceRect(R, a.border, a.outerLen, a.innerLen);
    const RECT highlight = buttonshape::HighlightBox(a.shape, face);
    gdi::Region region(buttonshape::BuildShapeRegion(a.shape, R, a.roundRadius, a.caption.text));
    const int b = a.outerLen + a.innerLen;
    const RECT content{R.left + b, R.top + b, R.right - b, R.bottom - b};

    // Without a region nothing of the shape is drawn; the texts still are.
    if (region) {
        PaintFace(s, region, face, highlight, a, c);
        if (a.iconType == BIS_ICON_RES && a.imageStyle != IPS_ORIGINALSIZE && a.picture)
            PaintPictureFace(s, region, content, a.picture, a.imageStyle);
        if (a.border == BBS_NORMAL) {
            const int style = a.outerLen >= 3 ? 1 : (a.outerLen == 2 ? 2 : 3);
            DrawRegionEdge3D(s.dc, region, a.pressed, style);
        }
    }
    if (a.shape == BSS_CHARACTER) return region.release();
    if (region) PaintConfigurableBorder(s, R, a, c);
    PaintIconAndTexts(s, R, region, a, c);
    return region.release();
}

}  // namespace buttonpaint
