#include "switchknob_paint.h"
#include <cmath>
#include <string>
#include "common/gdi.h"
#include "common/markshape.h"

namespace knobpaint {

namespace {

const double kPi = 3.14159265358979323846;

PointD Dir(double degrees) {
    double r = degrees * kPi / 180;
    return PointD{std::cos(r), std::sin(r)};
}

COLORREF ThreeQuarter(COLORREF c) { return MixColors(c, 3, 0, 0, 4); }

RECT Inset(const RECT& r, int dx, int dy) { return RECT{r.left + dx, r.top + dy, r.right - dx, r.bottom - dy}; }

}  // namespace

SwitchDial SwitchDialOf(const RECT& k) {
    return SwitchDial{POINT{(k.left + k.right) / 2, (k.top + k.bottom) / 2}, k.right - k.left, k.bottom - k.top};
}

namespace {

// Where an item's mark lies: centred at M just inside the rim, u along the
// radius and v across it, each half the mark's size.
struct MarkFrame {
    PointD M, u, v;
    POINT m;
    int h;

    MarkFrame(const SwitchDial& dial, double angle, int s) {
        const PointD d = Dir(angle), t = Dir(angle - 90);
        M = PointD{dial.centre.x + static_cast<double>(static_cast<float>(dial.width - s - 2)) / 2 * d.x,
                   dial.centre.y + static_cast<double>(static_cast<float>(dial.height - s - 2)) / 2 * d.y};
        u = PointD{d.x * s / 2, d.y * s / 2};
        v = PointD{t.x * s / 2, t.y * s / 2};
        m = ToPoint(M);
        h = s / 2;
    }
    POINT at(double fu, double fv) const {
        return ToPoint(PointD{M.x + fu * u.x + fv * v.x, M.y + fu * u.y + fv * v.y});
    }
};

}  // namespace

MarkShape SwitchItemShape(const SwitchDial& dial, double angle, const SwitchMarkStyle& style) {
    const MarkFrame f(dial, angle, style.size);
    const POINT m = f.m;
    const int h = f.h;
    switch (style.type) {
    case ITCIRCLE: return MarkShape::Ellipse(m.x - h, m.y - h, m.x + h, m.y + h);
    case ITGRADIENTCIRCLE: return MarkShape::Ellipse(m.x - h, m.y - h, m.x + h - 1, m.y + h - 1);
    case ITDIAMOND: {
        const POINT p[] = {f.at(1, 0), f.at(0, 1), f.at(-1, 0), f.at(0, -1)};
        return MarkShape::Polygon(p, 4);
    }
    case ITSQURE: {  // a square of side s turned with the radius
        const POINT p[] = {f.at(1, 1), f.at(1, -1), f.at(-1, -1), f.at(-1, 1)};
        return MarkShape::Polygon(p, 4);
    }
    case ITTRIANGLE: {  // pointing outward
        const POINT p[] = {f.at(1, 0), f.at(-1, 1), f.at(-1, -1)};
        return MarkShape::Polygon(p, 3);
    }
    default: return MarkShape();  // a line, or no mark
    }
}

void PaintSwitchItemMark(HDC dc, const ClipArea& clip, const SwitchDial& dial, double angle, COLORREF color,
                         const SwitchMarkStyle& style) {
    if (style.type == ITLINE) {  // a radial stroke of length s in the item's colour
        const MarkFrame f(dial, angle, style.size);
        gdi::Pen pen(CreatePen(PS_SOLID, 1, color));
        gdi::Select selPen(dc, pen.get());
        const POINT a = f.at(1, 0), b = f.at(-1, 0);
        MoveToEx(dc, a.x, a.y, nullptr);
        LineTo(dc, b.x, b.y);
        return;
    }
    const MarkShape shape = SwitchItemShape(dial, angle, style);
    if (!shape.Meets(clip)) return;  // the shaded circle's rings lie within it too
    gdi::Pen pen(CreatePen(PS_SOLID, 1, RGB(0, 0, 0)));
    gdi::Brush brush(CreateSolidBrush(color));
    gdi::Select selPen(dc, pen.get()), selBrush(dc, brush.get());
    shape.Draw(dc, clip);
    if (style.type == ITGRADIENTCIRCLE) {
        const MarkFrame f(dial, angle, style.size);
        const RECT box{f.m.x - f.h, f.m.y - f.h, f.m.x + f.h, f.m.y + f.h};
        DrawGradientRing(dc, box, style.indicatorSize / 2 + 1, ThreeQuarter(color), RGB(255, 255, 255));
    }
}

void PaintSwitchItemName(const Surface& s, const SwitchDial& dial, double angle, BSTR name, COLORREF color) {
    const PointD d = Dir(angle);
    const POINT q = ToPoint(PointD{dial.centre.x + (dial.width + 4) / 2.0 * d.x,
                                   dial.centre.y + (dial.height + 4) / 2.0 * d.y});
    RECT box;
    UINT format, align;
    POINT anchor;
    if (angle > 95 && angle < 265) {  // left of the dial
        box = RECT{q.x - 300, q.y - 15, q.x, q.y + 15};
        format = DT_SINGLELINE | DT_VCENTER | DT_RIGHT;
        align = TA_RIGHT | TA_BASELINE;
        anchor = BaselineAnchor(s, q.x, q.y);
    } else if (angle >= 265 && angle <= 275) {  // above
        box = RECT{q.x - 150, q.y - 26, q.x + 150, q.y + 4};
        format = DT_SINGLELINE | DT_BOTTOM | DT_CENTER;
        align = TA_CENTER | TA_BOTTOM;
        anchor = POINT{q.x, q.y + 4};
    } else if (angle >= 85 && angle <= 95) {  // below
        box = RECT{q.x - 150, q.y - 4, q.x + 150, q.y + 26};
        format = DT_SINGLELINE | DT_TOP | DT_CENTER;
        align = TA_CENTER | TA_TOP;
        anchor = POINT{q.x, q.y - 4};
    } else {  // right of the dial
        box = RECT{q.x, q.y - 15, q.x + 300, q.y + 15};
        format = DT_SINGLELINE | DT_VCENTER | DT_LEFT;
        align = TA_LEFT | TA_BASELINE;
        anchor = BaselineAnchor(s, q.x, q.y);
    }
    SetTextColor(s.dc, color);
    BoxText(s, AnsiText(name), box, format, align, anchor);
}

PointerGeometry PaintSwitchKnob(const Surface& s, const RECT& R, const SwitchKnobAppearance& a, const KnobColors& c,
                                const std::vector<PlacedItem>& items, double pointerAngle) {
    const int mx = a.outerTextLength, my = a.outerTextHeight;

    // Background and frame; the margins leave room for the item names.
    PaintBackground(s.dc, R, a.borderType, c.background, c.ambient);
    SetTextColor(s.dc, RGB(0, 0, 0));
    SetBkMode(s.dc, TRANSPARENT);
    RECT K{R.left + mx + 2, R.top + my + 2, R.right - mx - 2, R.bottom - my - 2};
    K = PaintBorder(s, R, K, BorderSpec{a.borderType, a.outerBorderLen, a.innerBorderLen, mx, my}, c, a.arc);

    // Items: a mark just inside the dial's rim, the name just outside it.
    const SwitchDial dial = SwitchDialOf(K);
    // A mark whose inside covers all the DC shows hides every item before it.
    const SwitchMarkStyle mark{a.elementIndicatorType, a.elementIndicatorSize, a.pointer.size};
    const ClipArea clip = MarkClip(s.dc);
    const size_t first = FirstShownMark(items.size(), clip,
                                        [&](size_t i) { return SwitchItemShape(dial, items[i].angle, mark); });
    for (size_t i = first; i < items.size(); ++i) {
        PaintSwitchItemMark(s.dc, clip, dial, items[i].angle, items[i].color, mark);
        PaintSwitchItemName(s, dial, items[i].angle, items[i].name, items[i].color);
    }

    // Panel inside the marks, then the slide track, the pointer and its marker.
    const int e = Trunc(a.elementIndicatorSize + 2.0);
    K = RECT{K.left + e, K.top + e - 1, K.right - e, K.bottom - e - 1};
    PaintPanel(s, K, a.panel, c.panel, c.panelBorderLight, c.panelBorderDark, a.arc);
    const int p = PanelBorderInset(a.panel);
    K = Inset(K, p + 4, p + 4);
    const PointerColors pc{c.indicator, c.marker, c.slider, c.panelBorderLight, c.panelBorderDark};
    PaintSliderTrack(s, K, a.pointer, pc, a.arc);
    PointerGeometry g = PaintPointer(s, K, pointerAngle, a.pointer, pc, a.arc);

    PaintFrameEdge(s.dc, R, a.borderType);
    return g;
}

}  // namespace knobpaint
