// Frame, border, picture and button shapes, lamp and caption of the switch.
#include "switch_paint.h"
#include <algorithm>
#include "common/cliparea.h"
#include "common/color.h"
#include "common/gdi.h"
#include "common/gradient.h"
#include "common/text.h"
#include "common/tiles.h"
#include "Wendal.h"

namespace switchpaint {

namespace {

COLORREF Scaled(COLORREF c, int mul, int add, int div) {
    return ChannelsToRgb((RedOf(c) * mul + add) / div, (GreenOf(c) * mul + add) / div, (BlueOf(c) * mul + add) / div);
}

// A ring's shape at rectangle r: an ellipse, or a round rectangle when a
// corner is given; empty once the rectangle is turned inside out.
gdi::Region RingShape(int l, int t, int r, int b, int cornerW, int cornerH) {
    if (l > r || t > b) return gdi::EmptyRegion();
    if (cornerW || cornerH) return gdi::Region(CreateRoundRectRgn(l, t, r, b, cornerW, cornerH));
    return gdi::Region(CreateEllipticRgn(l, t, r, b));
}

void FillPart(HDC dc, HRGN ring, const POINT (&triangle)[3], COLORREF colour) {
    gdi::Region tri(CreatePolygonRgn(triangle, 3, WINDING));
    gdi::Region part = gdi::EmptyRegion();
    if (!tri || CombineRgn(part, ring, tri, RGN_AND) == ERROR) return;
    gdi::Brush brush = gdi::SolidBrush(colour);
    FillRgn(dc, part, brush);
}

// The picture of shape 0, clipped to the inner rectangle within the bounds.
void PaintPicture(HDC dc, bool metafile, const SwitchLook& a, const RECT& in, const RECT& bounds, COLORREF ground) {
    if (!a.picture) return;
    OLE_XSIZE_HIMETRIC hmWidth = 0;
    OLE_YSIZE_HIMETRIC hmHeight = 0;
    if (FAILED(a.picture->get_Width(&hmWidth)) || FAILED(a.picture->get_Height(&hmHeight))) return;
    int ppx = 96, ppy = 96;
    if (HDC screen = GetDC(nullptr)) {
        ppx = GetDeviceCaps(screen, LOGPIXELSX);
        ppy = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
    }
    const int cx = MulDiv(ppx, hmWidth, 2540), cy = MulDiv(ppy, hmHeight, 2540);
    // Clipping in logical units within a saved state: right in the offset
    // paint buffer, and the container's own clip comes back afterwards.
    gdi::SavedState saved(dc);
    IntersectClipRect(dc, in.left, in.top, in.right, in.bottom);
    auto render = [&](HDC target, int x, int y, int w, int h) {
        a.picture->Render(target, x, y, w, h, 0, hmHeight, hmWidth, -hmHeight, nullptr);
    };
    switch (a.imageStyle) {
    case IPS_ORIGINALSIZE:
        render(dc, (in.left + in.right - cx) / 2, (in.top + in.bottom - cy) / 2, cx, cy);
        break;
    case IPS_AUTOSIZE:
        render(dc, in.left, in.top, in.right - in.left, in.bottom - in.top);
        break;
    default: {  // tiled
        if (cx <= 0 || cy <= 0) return;
        // A border below -1 grows the inner rectangle past the bounds: only
        // the tiles that can be seen are drawn.
        RECT seen, clip;
        if (!IntersectRect(&seen, &in, &bounds)) return;
        if (ClipArea::Of(dc).Box(&clip) && !IntersectRect(&seen, &seen, &clip)) return;
        // Every tile lies on the plain background.
        TiledPicture tiles;
        tiles.cx = cx, tiles.cy = cy;
        tiles.render = [&](HDC target, int x, int y) { render(target, x, y, cx, cy); };
        tiles.onGround = true, tiles.ground = ground;
        PaintTiledPicture(dc, metafile, in, seen, tiles);
        break;
    }
    }
}

// Shapes 1 to 3: raised buttons.
void PaintButton(HDC dc, const SwitchLook& a, const SwitchColors& c, const Derived& d) {
    const RECT& in = d.inner;
    const int bh = a.buttonHeight;
    const RECT face{in.left + bh, in.top + bh, in.right - bh, in.bottom - bh};
    const int outline = a.pressed ? 3 : 1;
    if (a.shape == RECTANGLE) {
        LitBevels(dc, in, face, a.light, d.side1, d.side2, a.rate);
        {
            gdi::Brush brush = gdi::SolidBrush(c.fore);
            gdi::Pen pen = gdi::SolidPen(c.edge);
            gdi::Select b(dc, brush), p(dc, pen);
            Rectangle(dc, face.left, face.top, face.right, face.bottom);
            CornerLines(dc, in, face);
        }
        Outline(dc, in, outline);
    } else {
        const bool round = a.shape == ROUND_RECTANGLE;
        const int cw = round ? a.roundWidth : 0, ch = round ? a.roundHeight : 0;
        auto shape = [&](const RECT& r) {
            if (round) RoundRect(dc, r.left, r.top, r.right, r.bottom, cw, ch);
            else Ellipse(dc, r.left, r.top, r.right, r.bottom);
        };
        {
            gdi::Brush brush = gdi::SolidBrush(c.sideDark);
            gdi::Pen pen = gdi::SolidPen(0, outline);
            gdi::Select b(dc, brush), p(dc, pen);
            shape(in);
        }
        if (a.light == 0) FillGradientBand(dc, in, bh, cw, ch, a.rate, d.side1, d.side2);
        else DrawSplitRing(dc, in, bh, cw, ch, a.light, d.side1, d.side2);
        gdi::Brush brush = gdi::SolidBrush(c.fore);
        gdi::Pen pen = gdi::SolidPen(c.edge);
        gdi::Select b(dc, brush), p(dc, pen);
        shape(face);
    }
    if (a.shape != CIRCLE && a.showStatus) {
        const int x = in.right + a.statusX - bh - 12, y = in.top + a.statusY + bh + 4;
        PaintLamp(dc, RECT{x, y, x + 10, y + 10}, a, c, d);
    }
}

// The outer border on the bounds, BorderLen wide.
void PaintBorder(HDC dc, const RECT& r, const SwitchLook& a, const SwitchColors& c) {
    const int R = a.borderLen;
    if (R <= 0) return;
    switch (a.shape) {
    case USER_IMAGE:
    case RECTANGLE:
    case WEDGE_TOGGLE:
    case GROOVE_TOGGLE:
    case SWITCH_TOGGLE:
        LitBevels(dc, r, RECT{r.left + R, r.top + R, r.right - R, r.bottom - R}, a.light, c.borderLight,
                  c.borderDark, a.rate);
        return;
    default: {
        const bool round = a.shape == ROUND_RECTANGLE;
        const int cw = round ? a.roundWidth : 0, ch = round ? a.roundHeight : 0;
        if (a.light == 0) FillGradientBand(dc, r, R, cw, ch, a.rate, c.borderLight, c.borderDark);
        else DrawSplitRing(dc, r, R + 1, cw, ch, a.light, c.borderLight, c.borderDark);
    }
    }
}

// The caption, centred in the text rectangle, with its white 3D copy.
void PaintCaption(const Surface& s, const SwitchLook& a, const SwitchColors& c, const RECT& box) {
    if (a.text.empty()) return;
    const UINT dt = DT_SINGLELINE | DT_VCENTER | DT_CENTER, ta = TA_CENTER | TA_BASELINE;
    if (a.text3D) {
        SetTextColor(s.dc, RGB(255, 255, 255));
        const RECT white{box.left + 2, box.top + 3, box.right, box.bottom};
        BoxText(s, a.text, white, dt, ta,
                BaselineAnchor(s, (box.left + box.right + 2) / 2, (box.top + box.bottom + 3) / 2));
    }
    SetTextColor(s.dc, c.text);
    BoxText(s, a.text, box, dt, ta, BaselineAnchor(s, (box.left + box.right) / 2, (box.top + box.bottom) / 2));
}

}  // namespace

Derived Derive(const SwitchLook& a, const SwitchColors& c, const RECT& b) {
    Derived d;
    d.foreDark = Scaled(c.fore, 5, 0, 6);
    d.foreLight = Scaled(c.fore, 2, 256, 3);
    d.lampOff = Scaled(c.status, 2, 0, 3);
    d.side1 = a.value ? c.sideLight : c.sideDark;
    d.side2 = a.value ? c.sideDark : c.sideLight;
    d.lampSpace = a.showStatus ? 12 : 0;
    const int R = a.borderLen;
    d.inner = RECT{b.left + R + 1, b.top + R + 1, b.right - R - 1, b.bottom - R - 1};
    return d;
}

void LitBevels(HDC dc, const RECT& o, const RECT& i, int light, COLORREF a, COLORREF b, float rate) {
    // Flat bevels per direction, top, left, bottom, right: true picks b.
    static const bool kFlat[5][4] = {
        {false, false, false, false}, {true, true, false, false}, {false, true, true, false},
        {true, false, false, true},   {false, false, true, true},
    };
    if (light < 0 || light > 4) return;
    auto colours = [&](int side, COLORREF& from, COLORREF& to) {
        if (light == 0) {
            from = a;
            to = b;
        } else {
            from = to = kFlat[light][side] ? b : a;
        }
    };
    COLORREF f, t;
    colours(0, f, t);
    FillGradientQuad(dc, o.left, o.top, o.right, o.top, i.right, i.top, i.left, i.top, f, t, rate);
    colours(1, f, t);
    FillGradientQuad(dc, o.left, o.top, o.left, o.bottom, i.left, i.bottom, i.left, i.top, f, t, rate);
    colours(2, f, t);
    FillGradientQuad(dc, o.left, o.bottom, o.right, o.bottom, i.right, i.bottom, i.left, i.bottom, f, t, rate);
    colours(3, f, t);
    FillGradientQuad(dc, o.right, o.bottom, o.right, o.top, i.right, i.top, i.right, i.bottom, f, t, rate);
}

void DrawSplitRing(HDC dc, const RECT& rc, int width, int cornerW, int cornerH, int direction, COLORREF colour,
                   COLORREF colour2) {
    const LONG l = rc.left, t = rc.top, r = rc.right, b = rc.bottom;
    const POINT upperLeft[3] = {{l, t}, {r, t}, {l, b}};
    const POINT lowerRight[3] = {{l, b}, {r, b}, {r, t}};
    const POINT lowerLeft[3] = {{l, t}, {l, b}, {r, b}};
    const POINT upperRight[3] = {{l, t}, {r, t}, {r, b}};
    const POINT(*dark)[3];
    const POINT(*lit)[3];
    switch (direction) {
    case 1: dark = &upperLeft, lit = &lowerRight; break;
    case 2: dark = &lowerLeft, lit = &upperRight; break;
    case 3: dark = &upperRight, lit = &lowerLeft; break;
    case 4: dark = &lowerRight, lit = &upperLeft; break;
    default: return;
    }
    // A negative border grows the rectangle far past the control: a ring
    // out of sight is passed over, as its regions alone cost much.
    const ClipArea clip = ClipArea::Of(dc);
    const RECT outerBox{l + 1, t + 1, r - 1, b - 1}, innerBox{l + width, t + width, r - width, b - width};
    if (!clip.Meets(outerBox)) return;
    if (innerBox.left <= innerBox.right && innerBox.top <= innerBox.bottom &&
        clip.CoveredBy(innerBox, cornerW, cornerH))
        return;
    gdi::Region outer = RingShape(l + 1, t + 1, r - 1, b - 1, cornerW, cornerH);
    gdi::Region inner = RingShape(l + width, t + width, r - width, b - width, cornerW, cornerH);
    gdi::Region ring = gdi::EmptyRegion();
    if (CombineRgn(ring, outer, inner, RGN_DIFF) == ERROR) return;
    FillPart(dc, ring, *dark, colour2);
    FillPart(dc, ring, *lit, colour);  // covers the shared diagonal
}

void PaintLamp(HDC dc, const RECT& lamp, const SwitchLook& a, const SwitchColors& c, const Derived& d) {
    {
        gdi::Brush brush = gdi::SolidBrush(a.status ? c.status : d.lampOff);
        gdi::Pen pen = gdi::SolidPen(0);
        gdi::Select b(dc, brush), p(dc, pen);
        if (a.circleStatus) Ellipse(dc, lamp.left, lamp.top, lamp.right, lamp.bottom);
        else Rectangle(dc, lamp.left, lamp.top, lamp.right, lamp.bottom);
    }
    if (!a.circleStatus) {
        RECT edge = lamp;
        DrawEdge(dc, &edge, EDGE_SUNKEN, BF_RECT);
        return;
    }
    gdi::Brush brush = gdi::SolidBrush(a.status ? RGB(255, 255, 255) : RGB(0xBE, 0xBE, 0xBE));
    gdi::Pen pen = gdi::SolidPen(a.status ? c.status : d.lampOff);
    gdi::Select b(dc, brush), p(dc, pen);
    Ellipse(dc, lamp.left + 2, lamp.top + 2, lamp.left + 8, lamp.top + 8);
}

void Outline(HDC dc, const RECT& in, int width) {
    gdi::Pen pen = gdi::SolidPen(0, width);
    gdi::Select p(dc, pen);
    const POINT pts[] = {{in.left, in.top}, {in.left, in.bottom}, {in.right, in.bottom}, {in.right, in.top},
                         {in.left, in.top}};
    Polyline(dc, pts, 5);
}

void CornerLines(HDC dc, const RECT& in, const RECT& face) {
    const POINT corners[4][2] = {{{in.left, in.top}, {face.left, face.top}},
                                 {{in.left, in.bottom}, {face.left, face.bottom}},
                                 {{in.right, in.bottom}, {face.right, face.bottom}},
                                 {{in.right, in.top}, {face.right, face.top}}};
    for (const auto& line : corners) Polyline(dc, line, 2);
}

void Lines(HDC dc, const POINT* points, int count, COLORREF colour) {
    gdi::Pen pen = gdi::SolidPen(colour);
    gdi::Select p(dc, pen);
    Polyline(dc, points, count);
}

void PaintSwitch(const Surface& s, const RECT& bounds, const SwitchLook& a, const SwitchColors& c) {
    const Derived d = Derive(a, c, bounds);
    // Nothing of a paint lands outside its bounds, in a metafile either.
    IntersectClipRect(s.dc, bounds.left, bounds.top, bounds.right, bounds.bottom);
    SetBkMode(s.dc, TRANSPARENT);
    {
        gdi::Brush brush = gdi::SolidBrush(c.background);
        FillRect(s.dc, &bounds, brush);
    }
    PaintBorder(s.dc, bounds, a, c);
    RECT textBox = d.inner;
    switch (a.shape) {
    case USER_IMAGE: PaintPicture(s.dc, s.metafile, a, d.inner, bounds, c.background); break;
    case RECTANGLE:
    case ROUND_RECTANGLE:
    case CIRCLE: PaintButton(s.dc, a, c, d); break;
    case WEDGE_TOGGLE:
    case GROOVE_TOGGLE:
        textBox = RockerFace(a, d.inner);
        PaintToggle(s, a, c, d);
        break;
    case SWITCH_TOGGLE: PaintToggle(s, a, c, d); break;
    default: break;
    }
    PaintCaption(s, a, c, textBox);
}

}  // namespace switchpaint
