// The toggle shapes of the switch: the rocker (4), the rocker with a shaded
// or two-tone face (5) and the lever in a slot (6), with their on and off
// texts. The on half is the upper (or left) one.
#include "switch_paint.h"
#include <vector>
#include "common/color.h"
#include "common/gdi.h"
#include "common/gradient.h"
#include "common/text.h"
#include "Wendal.h"

namespace switchpaint {

namespace {

const COLORREF kBlack = RGB(0, 0, 0);
const COLORREF kWhite = RGB(255, 255, 255);

// OnText at the top (or left) of `box`, OffText at the bottom (or right),
// white copies first when the texts are 3D.
void PaintToggleTexts(const Surface& s, const SwitchLook& a, const SwitchColors& c, const Derived& d, RECT box,
                      bool vertical) {
    if (!a.circleStatus && (vertical || a.shape == SWITCH_TOGGLE)) {
        box.top += d.lampSpace;
        box.bottom -= d.lampSpace;
    }
    const LONG l = box.left, t = box.top, r = box.right, b = box.bottom;
    const int mid2 = (t + b + 2) / 2, mid = (t + b) / 2;
    struct Text {
        const std::string& text;
        COLORREF colour;
        RECT rect;
        UINT dt, ta;
        POINT anchor;
    };
    const bool white = a.text3D;
    std::vector<Text> texts;
    texts.reserve(4);
    if (vertical) {
        const UINT on = DT_SINGLELINE | DT_CENTER, off = DT_SINGLELINE | DT_BOTTOM | DT_CENTER;
        if (white) {
            texts.push_back({a.onText, kWhite, {l + 2, t + 3, r, b}, on, TA_CENTER | TA_TOP, {(l + r + 2) / 2, t + 3}});
            texts.push_back(
                {a.offText, kWhite, {l + 2, t, r, b - 2}, off, TA_CENTER | TA_BOTTOM, {(l + r + 2) / 2, b - 2}});
        }
        texts.push_back({a.onText, c.onText, {l, t + 2, r, b}, on, TA_CENTER | TA_TOP, {(l + r) / 2, t + 2}});
        texts.push_back({a.offText, c.offText, {l, t, r, b - 3}, off, TA_CENTER | TA_BOTTOM, {(l + r) / 2, b - 3}});
    } else {
        const UINT on = DT_SINGLELINE | DT_VCENTER, off = DT_SINGLELINE | DT_VCENTER | DT_RIGHT;
        const UINT onTa = TA_LEFT | TA_BASELINE, offTa = TA_RIGHT | TA_BASELINE;
        if (white) {
            texts.push_back({a.onText, kWhite, {l + 2, t + 2, r, b}, on, onTa, BaselineAnchor(s, l + 2, mid2)});
            texts.push_back({a.offText, kWhite, {l, t + 2, r - 3, b}, off, offTa, BaselineAnchor(s, r - 3, mid2)});
        }
        texts.push_back({a.onText, c.onText, {l + 2, t, r, b}, on, onTa, BaselineAnchor(s, l + 2, mid)});
        texts.push_back({a.offText, c.offText, {l, t, r - 3, b}, off, offTa, BaselineAnchor(s, r - 3, mid)});
    }
    for (const Text& x : texts) {
        if (x.text.empty()) continue;
        SetTextColor(s.dc, x.colour);
        BoxText(s, x.text, x.rect, x.dt, x.ta, x.anchor);
    }
}

// Shapes 4 and 5: bevels round the pushed face, the face, its shading, the
// corner lines, the outline, the texts and the lamp.
void PaintRocker(const Surface& s, const SwitchLook& a, const SwitchColors& c, const Derived& d) {
    HDC dc = s.dc;
    const RECT& in = d.inner;
    const RECT f = RockerFace(a, in);
    LitBevels(dc, in, f, a.light, c.sideDark, c.sideLight, a.rate);
    {
        gdi::Brush brush = gdi::SolidBrush(c.fore);
        gdi::Pen pen = gdi::SolidPen(c.edge);
        gdi::Select b(dc, brush), p(dc, pen);
        Rectangle(dc, f.left, f.top, f.right, f.bottom);
        if (a.shape == GROOVE_TOGGLE) {
            if (a.foreGradient) {
                const COLORREF D = c.sideDark, L = c.sideLight;
                if (a.value && a.vertical)
                    FillGradientQuad(dc, f.left, f.bottom, f.right, f.bottom, f.right, f.top, f.left, f.top, D, L, a.rate);
                else if (a.value)
                    FillGradientQuad(dc, f.right, f.bottom, f.right, f.top, f.left, f.top, f.left, f.bottom, D, L, a.rate);
                else if (a.vertical)
                    FillGradientQuad(dc, f.left, f.top, f.right, f.top, f.right, f.bottom, f.left, f.bottom, D, L, a.rate);
                else
                    FillGradientQuad(dc, f.left, f.top, f.left, f.bottom, f.right, f.bottom, f.right, f.top, D, L, a.rate);
            } else {
                const int my = (f.top + f.bottom) / 2, mx = (f.left + f.right) / 2;
                RECT half = f;
                if (a.vertical) (a.value ? half.top : half.bottom) = my;
                else (a.value ? half.left : half.right) = mx;
                gdi::Brush tone = gdi::SolidBrush(a.value ? d.foreLight : d.foreDark);
                gdi::Select t(dc, tone);
                Rectangle(dc, half.left, half.top, half.right, half.bottom);
            }
        }
        CornerLines(dc, in, f);
    }
    Outline(dc, in, 1);
    PaintToggleTexts(s, a, c, d, f, a.vertical);
    if (!a.showStatus) return;
    const int y = f.top + a.statusY + 4;
    RECT lamp;
    if (!a.vertical) lamp = RECT{f.left + a.statusX + 4, y, f.left + a.statusX + 14, y + 10};
    else if (a.circleStatus) lamp = RECT{f.right + a.statusX - 12, y, f.right + a.statusX - 2, y + 10};
    else lamp = RECT{f.left + a.statusX + 4, y, f.right + a.statusX - 2, y + 10};
    PaintLamp(dc, lamp, a, c, d);
}

// Shape 6: a framed box with a shaded slot and a lever that stands up when
// on and hangs down when off.
void PaintLever(const Surface& s, const SwitchLook& a, const SwitchColors& c, const Derived& d) {
    HDC dc = s.dc;
    const RECT& in = d.inner;
    const LONG il = in.left, it = in.top, ir = in.right, ib = in.bottom;
    const COLORREF D = c.sideDark, L = c.sideLight;
    {
        gdi::Brush brush = gdi::SolidBrush(c.background);
        gdi::Pen pen = gdi::SolidPen(kBlack);
        gdi::Select b(dc, brush), p(dc, pen);
        Rectangle(dc, il, it, ir, ib);
    }
    // Double frame: each side (left, top, right, bottom) of the outer and
    // inner frame in D or L by light direction.
    if (a.light >= 0 && a.light <= 4) {
        static const bool kLit[5][4] = {
            {false, false, false, false}, {true, true, false, false}, {true, false, false, true},
            {false, true, true, false},   {false, false, true, true},
        };
        for (int k = 1; k <= 2; ++k) {
            const LONG x0 = il + k, y0 = it + k, x1 = ir - 1 - k, y1 = ib - 1 - k;
            const POINT sides[4][2] = {{{x0, y0}, {x0, y1}}, {{x0, y0}, {x1, y0}}, {{x1, y0}, {x1, y1 + 1}},
                                       {{x0, y1}, {x1 + 1, y1}}};
            for (int side = 0; side < 4; ++side) {
                const bool lit = a.light == 0 ? k == 2 : kLit[a.light][side];
                Lines(dc, sides[side], 2, lit ? L : D);
            }
        }
    }
    const int h = (ib - it) / 6 > 18 ? (ib - it) / 6 : 18;
    const int mid = it + (ib - it) / 2;
    FillGradientQuad(dc, il + 4, mid - h, ir - 4, mid - h, ir - 4, mid, il + 4, mid, D, L, a.rate);
    FillGradientQuad(dc, il + 4, mid + h, ir - 4, mid + h, ir - 4, mid, il + 4, mid, D, L, a.rate);
    const POINT slot[] = {{il + 4, mid - h}, {il + 4, mid + h}, {ir - 4, mid + h}, {ir - 4, mid - h}, {il + 4, mid - h}};
    Lines(dc, slot, 5, L);
    const POINT groove[] = {{il + 5, mid - h + 1}, {il + 5, mid + h - 1}, {ir - 5, mid + h - 1}, {ir - 5, mid - h + 1},
                            {il + 5, mid - h + 1}};
    Lines(dc, groove, 5, kBlack);
    PaintToggleTexts(s, a, c, d, in, true);
    if (a.showStatus) {
        const int y = it + a.statusY + 4;
        const RECT lamp = a.circleStatus ? RECT{ir + a.statusX - 14, y, ir + a.statusX - 4, y + 10}
                                         : RECT{il + a.statusX + 4, y, ir + a.statusX - 4, y + 10};
        PaintLamp(dc, lamp, a, c, d);
    }
    // The lever covers the texts and the lamp where they meet. Its head is
    // 10 high at the top (on) or the bottom (off), shaded toward white from
    // both edges to its middle.
    const LONG x0 = il + 8, x1 = ir - 8;
    const int head = a.value ? it + h / 2 + 4 : ib - h / 2 - 4;
    const int dir = a.value ? 1 : -1;
    gdi::Brush brush = gdi::SolidBrush(c.fore);
    gdi::Pen pen = gdi::SolidPen(c.edge);
    gdi::Select b(dc, brush), p(dc, pen);
    Rectangle(dc, x0, head, x1, a.value ? mid + 10 : mid - 10);
    Rectangle(dc, x0, head, x1, head + 10 * dir);
    FillGradientQuad(dc, x0, head, x1, head, x1, head + 5 * dir, x0, head + 5 * dir, c.fore, kWhite, a.rate);
    FillGradientQuad(dc, x0, head + 10 * dir, x1, head + 10 * dir, x1, head + 5 * dir, x0, head + 5 * dir, c.fore, kWhite,
                     a.rate);
    const int from = a.value ? head : head - 1;
    const POINT left[] = {{x0, from}, {x0, head + 10 * dir}};
    const POINT right[] = {{ir - 9, from}, {ir - 9, head + 10 * dir}};
    Polyline(dc, left, 2);
    Polyline(dc, right, 2);
}

}  // namespace

RECT RockerFace(const SwitchLook& a, const RECT& in) {
    const short bh = static_cast<short>(a.buttonHeight), th = static_cast<short>(a.toggleHeight);
    const short rest = th < bh ? static_cast<short>(bh - th) : 0;
    const short pushed = static_cast<short>(bh + th);
    const short A = a.value ? pushed : rest, B = a.value ? rest : pushed;
    if (a.vertical) return RECT{in.left + bh, in.top + B, in.right - bh, in.bottom - A};
    return RECT{in.left + B, in.top + bh, in.right - A, in.bottom - bh};
}

void PaintToggle(const Surface& s, const SwitchLook& a, const SwitchColors& c, const Derived& d) {
    if (a.shape == SWITCH_TOGGLE) PaintLever(s, a, c, d);
    else PaintRocker(s, a, c, d);
}

}  // namespace switchpaint
