#include "switchknob_paint.h"
#include <cmath>
#include <string>
#include "common/gdi.h"

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

void PaintSwitchItemMark(HDC dc, const SwitchDial& dial, double angle, COLORREF color, const SwitchMarkStyle& style) {
    const int s = style.size;
    const PointD d = Dir(angle), t = Dir(angle - 90);
    const PointD M{dial.centre.x + static_cast<double>(static_cast<float>(dial.width - s - 2)) / 2 * d.x,
                   dial.centre.y + static_cast<double>(static_cast<float>(dial.height - s - 2)) / 2 * d.y};
    const PointD u{d.x * s / 2, d.y * s / 2};  // along the radius
    const PointD v{t.x * s / 2, t.y * s / 2};  // across it
    auto at = [&](double fu, double fv) { return ToPoint(PointD{M.x + fu * u.x + fv * v.x, M.y + fu * u.y + fv * v.y}); };
    const POINT m = ToPoint(M);
    const int h = s / 2;

    if (style.type == ITLINE) {  // a radial stroke of length s in the item's colour
        gdi::Pen pen(CreatePen(PS_SOLID, 1, color));
        gdi::Select selPen(dc, pen.get());
        const POINT a = at(1, 0), b = at(-1, 0);
        MoveToEx(dc, a.x, a.y, nullptr);
        LineTo(dc, b.x, b.y);
        return;
    }
    gdi::Pen pen(CreatePen(PS_SOLID, 1, RGB(0, 0, 0)));
    gdi::Brush brush(CreateSolidBrush(color));
    gdi::Select selPen(dc, pen.get()), selBrush(dc, brush.get());
    switch (style.type) {
    case ITCIRCLE:
        Ellipse(dc, m.x - h, m.y - h, m.x + h, m.y + h);
        break;
    case ITGRADIENTCIRCLE: {
        Ellipse(dc, m.x - h, m.y - h, m.x + h - 1, m.y + h - 1);
        const RECT box{m.x - h, m.y - h, m.x + h, m.y + h};
        DrawGradientRing(dc, box, style.indicatorSize / 2 + 1, ThreeQuarter(color), RGB(255, 255, 255));
        break;
    }
    case ITDIAMOND: {
        const POINT p[] = {at(1, 0), at(0, 1), at(-1, 0), at(0, -1)};
        Polygon(dc, p, 4);
        break;
    }
    case ITSQURE: {  // a square of side s turned with the radius
        const POINT p[] = {at(1, 1), at(1, -1), at(-1, -1), at(-1, 1)};
        Polygon(dc, p, 4);
        break;
    }
    case ITTRIANGLE: {  // pointing outward
        const POINT p[] = {at(1, 0), at(-1, 1), at(-1, -1)};
        Polygon(dc, p, 3);
        break;
    }
    default:
        break;  // no mark
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
    const SwitchMarkStyle mark{a.elementIndicatorType, a.elementIndicatorSize, a.pointer.size};
    for (const PlacedItem& item : items) {
        PaintSwitchItemMark(s.dc, dial, item.angle, item.color, mark);
        PaintSwitchItemName(s, dial, item.angle, item.name, item.color);
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
