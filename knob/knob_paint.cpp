#include "knob_paint.h"
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <new>
#include "common/gdi.h"
#include "common/winregion.h"

namespace knobpaint {

namespace {

const double kPi = 3.14159265358979323846;
inline double Rad(double deg) { return deg * kPi / 180.0; }

// A 1-px solid pen and a solid brush of one colour, selected for one shape.
class SolidShape {
public:
    SolidShape(HDC dc, COLORREF penColour, COLORREF brushColour)
        : m_pen(CreatePen(PS_SOLID, 1, penColour)),
          m_brush(CreateSolidBrush(brushColour)),
          m_selPen(dc, m_pen.get()),
          m_selBrush(dc, m_brush.get()) {}

private:
    gdi::Pen m_pen;
    gdi::Brush m_brush;
    gdi::Select m_selPen;
    gdi::Select m_selBrush;
};

}  // namespace

// ---------------------------------------------------------------- numbers

PointD OnEllipse(double cx, double cy, double a, double X, double Y) {
    double r = Rad(a);
    return PointD{cx + std::cos(r) * X / 2, cy + std::sin(r) * Y / 2};
}

double ScaleSpan(int startAngle, int endAngle) {
    double span = static_cast<double>(endAngle) - startAngle;
    if (span <= 0) span += 360;
    return span;
}

// ---------------------------------------------------------------- window region

void ApplyRoundWindowRegion(WindowShape& shape, HWND window, int borderType, bool inPaint) {
    if (!window) return;
    if (borderType < ES_CIRCLE || borderType > ES_RAISEDCIRCLE) {
        shape.Apply(window, nullptr, inPaint);
        return;
    }
    RECT rc;
    GetClientRect(window, &rc);
    gdi::Region wanted(CreateEllipticRgn(rc.left, rc.top, rc.right, rc.bottom));
    if (wanted) shape.Apply(window, wanted, inPaint);
}

void KeepForInput(const fw::RenderTarget& target, PointerGeometry& painted, KnobGeometry& kept, WindowShape& shape,
                  HWND window, int borderType) {
    gdi::Region hit(painted.hitRegion);
    painted.hitRegion = nullptr;
    if (!target.own) return;
    kept.SetHitRegion(hit.release());
    kept.centre = painted.centre;
    kept.pointerAngle = painted.angle;
    // The redraw path of values and drags leaves the window's shape alone.
    if (target.given) ApplyRoundWindowRegion(shape, window, borderType, true);
}

// ---------------------------------------------------------------- background and border

void PaintBackground(HDC dc, const RECT& R, int borderType, COLORREF background, COLORREF ambient) {
    if (borderType >= ES_CIRCLE && borderType <= ES_RAISEDCIRCLE) {
        gdi::Brush corners(CreateSolidBrush(ambient));
        FillRect(dc, &R, corners.get());
        SolidShape shape(dc, background, background);
        Ellipse(dc, R.left, R.top, R.right, R.bottom);
    } else {
        gdi::Brush fill(CreateSolidBrush(background));
        FillRect(dc, &R, fill.get());
    }
}

namespace {

RECT Inset(const RECT& r, int dx, int dy) { return RECT{r.left + dx, r.top + dy, r.right - dx, r.bottom - dy}; }

}  // namespace

RECT PaintBorder(const Surface& s, const RECT& R, RECT S, const BorderSpec& b, const KnobColors& c,
                 const DialArc& arc) {
    const int cx = (R.left + R.right) / 2, cy = (R.top + R.bottom) / 2;
    const int rx = (R.right - R.left) / 2, ry = (R.bottom - R.top) / 2;
    switch (b.type) {
    case ES_CIRCLE:
        DrawGradientRing(s.dc, R, 10, c.circle, RGB(255, 255, 255));
        return Inset(R, b.mx + 11, b.my + 11);
    case ES_3DRING:
    case ES_3DGRADIENT:
    case ES_3DCIRCLEFLAT: {
        int style = b.type == ES_3DRING ? 3 : b.type == ES_3DGRADIENT ? 5 : 6;
        DrawShadedRing(s.pixels, cx, cy, rx, ry, 10, c.borderLight, c.borderDark, style, arc);
        return Inset(R, b.mx + 11, b.my + 11);
    }
    case ES_SUNKENCIRCLE:
        DrawShadedRing(s.pixels, cx, cy, rx - 2, ry - 2, 10, c.borderDark, c.borderLight, 1, arc);
        return Inset(R, b.mx + 2, b.my + 2);
    case ES_RAISEDCIRCLE:
        DrawShadedRing(s.pixels, cx, cy, rx - 2, ry - 2, 10, c.borderLight, c.borderDark, 1, arc);
        return Inset(R, b.mx + 2, b.my + 2);
    case ES_CONFIGURABLE:
        PaintConfigurableBands(s.dc, R, b.outerLen, b.innerLen, c.borderLight, c.borderDark);
        return Inset(R, b.mx + b.outerLen + b.innerLen + 1, b.my + b.outerLen + b.innerLen + 1);
    default:
        return S;
    }
}

void PaintFrameEdge(HDC dc, const RECT& R, int borderType) {
    RECT rc = R;
    if (borderType == ES_RAISED) DrawEdge(dc, &rc, EDGE_RAISED, BF_RECT);
    else if (borderType == ES_SUNKEN) DrawEdge(dc, &rc, EDGE_SUNKEN, BF_RECT);
}

// ---------------------------------------------------------------- scale ring

namespace {

// A sector of the ellipse box from angle `from` clockwise (on the screen) to
// `to`. GDI's Pie runs counter-clockwise from its first radial point to its
// second and paints the whole ellipse when the two points coincide, so a
// sector whose points fall together is drawn only when it is (nearly) the
// whole turn; an empty sector paints nothing.
// The radial points are taken at `from` and `to` themselves; `sweep` is the
// clockwise extent between them.
void Sector(HDC dc, const RECT& box, double cx, double cy, double X, double Y, double from, double to, double sweep) {
    if (!(sweep != 0) || !std::isfinite(from) || !std::isfinite(to) || !std::isfinite(sweep)) return;
    POINT pFrom = ToPoint(OnEllipse(cx, cy, from, X, Y));
    POINT pTo = ToPoint(OnEllipse(cx, cy, to, X, Y));
    if (pFrom.x == pTo.x && pFrom.y == pTo.y) {
        double turn = std::fmod(sweep, 360.0);
        if (turn < 0) turn += 360;
        if (turn != 0 && turn < 180) return;  // a sliver: Pie would paint the whole ring
    }
    Pie(dc, box.left, box.top, box.right, box.bottom, pTo.x, pTo.y, pFrom.x, pFrom.y);
}

}  // namespace

void PaintScaleRing(HDC dc, const RECT& S, const RingSpec& ring, const DialArc& arc, const KnobColors& c) {
    const int l = S.left, t = S.top, r = S.right, b = S.bottom;
    const RECT box{l + 1, t + 1, r - 1, b - 1};
    const int cx = (l + r) / 2, cy = (t + b) / 2;
    const double X = r - l - 2, Y = b - t - 2;
    const bool outerEdge = ring.borderType == ONLY_OUTER || ring.borderType == BOTH;
    const double span = ScaleSpan(arc.startAngle, arc.endAngle);
    {
        SolidShape shape(dc, outerEdge ? RGB(0, 0, 0) : c.scaleRing, c.scaleRing);
        Sector(dc, box, cx, cy, X, Y, arc.startAngle, arc.endAngle, span);
    }
    for (int k = 0; k < 10; ++k) {
        const RangeSpec& range = ring.ranges[k];
        if (!range.active) continue;
        double from, to;
        if (ring.minVal < ring.maxVal) {
            const double scale = span / (ring.maxVal - ring.minVal);
            if (ring.inverse) {
                from = arc.endAngle - (range.end - ring.minVal) * scale;
                to = arc.endAngle - (range.start - ring.minVal) * scale;
            } else {
                from = arc.startAngle + (range.start - ring.minVal) * scale;
                to = arc.startAngle + (range.end - ring.minVal) * scale;
            }
        } else {
            from = arc.startAngle;
            to = arc.endAngle + (arc.startAngle > arc.endAngle ? 360 : 0);
        }
        SolidShape shape(dc, outerEdge ? RGB(0, 0, 0) : c.range[k], c.range[k]);
        Sector(dc, box, cx, cy, X, Y, from, to, to - from);
    }
    {
        SolidShape shape(dc, c.background, c.background);
        Ellipse(dc, l + 20, t + 20, r - 20, b - 20);
    }
    if (ring.borderType == ONLY_INNER || ring.borderType == BOTH) {
        gdi::Pen pen(CreatePen(PS_SOLID, 1, RGB(0, 0, 0)));
        gdi::Select sel(dc, pen.get());
        const double Xi = r - l - 20, Yi = b - t - 20;
        POINT pEnd = ToPoint(OnEllipse(cx, cy, arc.endAngle, Xi, Yi));
        POINT pStart = ToPoint(OnEllipse(cx, cy, arc.startAngle, Xi, Yi));
        Arc(dc, l + 20, t + 20, r - 20, b - 20, pEnd.x, pEnd.y, pStart.x, pStart.y);
    }
}

// ---------------------------------------------------------------- panel

int PanelBorderInset(const PanelSpec& p) {
    if (p.borderType >= PBS_GRADIENT && p.borderType <= PBS_3D_RING) return p.borderLen;
    if (p.borderType == PBS_SUNKEN || p.borderType == PBS_RAISED) return 2;
    return 0;
}

void PaintPanel(const Surface& s, const RECT& P, const PanelSpec& p, COLORREF face, COLORREF rimLight,
                COLORREF rimDark, const DialArc& arc) {
    const int d = PanelBorderInset(p);
    const int cx = (P.left + P.right) / 2, cy = (P.top + P.bottom) / 2;
    const int w = P.right - P.left, h = P.bottom - P.top;
    switch (p.type) {
    case PS_None:
    case PS_Circle: {
        SolidShape shape(s.dc, p.type == PS_Circle ? RGB(0, 0, 0) : face, face);
        Ellipse(s.dc, P.left + d, P.top + d, P.right - d, P.bottom - d);
        break;
    }
    case PS_Bubble:
        DrawShadedRing(s.pixels, cx, cy, (w - 2 * d) / 2, (h - 2 * d) / 2, 0, LightTint(face), HalfColor(face), 4,
                             arc);
        break;
    case PS_Hover:
        DrawShadedRing(s.pixels, cx, cy, (w - 2 * d) / 2, (h - 2 * d) / 2, 0, HalfColor(face), LightTint(face), 4,
                             arc);
        break;
    default:
        break;
    }
    switch (p.borderType) {
    case PBS_GRADIENT:
        DrawGradientRing(s.dc, P, p.borderLen, rimDark, rimLight);
        break;
    case PBS_3D_FLAT:
        DrawShadedRing(s.pixels, cx, cy, w / 2, h / 2, p.borderLen, rimLight, rimDark, 6, arc);
        break;
    case PBS_3D_GRADIENT:
        DrawShadedRing(s.pixels, cx, cy, w / 2, h / 2, p.borderLen, rimLight, rimDark, 5, arc);
        break;
    case PBS_3D_RING:
        DrawShadedRing(s.pixels, cx, cy, w / 2, h / 2, p.borderLen, rimLight, rimDark, 3, arc);
        break;
    case PBS_SUNKEN:
        DrawShadedRing(s.pixels, cx, cy, w / 2, h / 2, 10, rimDark, rimLight, 1, arc);
        break;
    case PBS_RAISED:
        DrawShadedRing(s.pixels, cx, cy, w / 2, h / 2, 10, rimLight, rimDark, 1, arc);
        break;
    default:
        break;
    }
}

// ---------------------------------------------------------------- ticks and labels

namespace {

// Box and alignment of a label at anchor (x, y) for a tick at angle a: the
// labels on the left run to the anchor, those on the right start from it,
// and those near the top (265 to 275 degrees) are centred on it.
void LabelBox(double a, bool outer, int x, int y, RECT& box, UINT& dt, UINT& ta) {
    bool rightAligned;
    if (a >= 265 && a <= 275) {
        box = RECT{x - 150, y - 25, x + 150, y + 25};
        dt = DT_CENTER;
        ta = TA_BASELINE | TA_CENTER;
        return;
    }
    rightAligned = (a < 265) == outer;
    if (rightAligned) {
        box = RECT{x - 300, y - 25, x, y + 25};
        dt = DT_RIGHT;
        ta = TA_BASELINE | TA_RIGHT;
    } else {
        box = RECT{x, y - 25, x + 300, y + 25};
        dt = DT_LEFT;
        ta = TA_BASELINE | TA_LEFT;
    }
}

void Line(HDC dc, PointD from, PointD to) {
    POINT a = ToPoint(from), b = ToPoint(to);
    MoveToEx(dc, a.x, a.y, nullptr);
    LineTo(dc, b.x, b.y);
}

}  // namespace

void PaintTicksAndLabels(const Surface& s, const RECT& S, const TickSpec& t, const DialArc& arc, COLORREF ticker,
                         COLORREF text) {
    const int n = t.tickerNum;
    if (n <= 1) return;
    const double W = S.right - S.left, H = S.bottom - S.top;
    const int cx = (S.left + S.right) / 2, cy = (S.top + S.bottom) / 2;
    const double span = ScaleSpan(arc.startAngle, arc.endAngle);
    const int sub = t.subTickerNum > 0 ? t.subTickerNum : 0;
    const float valueStep = static_cast<float>((t.text.maxVal - t.text.minVal) / (n - 1));
    const float angleStep = static_cast<float>(span / (n - 1));
    const float minorStep = static_cast<float>(angleStep / (sub + 1));
    const bool outerTicks = t.alignment == OUTER;
    const bool outerText = t.textPos == OUTER;

    // Every tick is drawn up to a bound far above what a dial can show, so a
    // huge count cannot stall the thread.
    const long long limit = 16384;
    const long long majorStride = n > limit ? (n + limit - 1) / limit : 1;
    const long long minors = static_cast<long long>(n - 1) * sub;
    const long long minorStride = minors > limit ? (minors + limit - 1) / limit : 1;

    gdi::Pen pen(CreatePen(PS_SOLID, 1, ticker));
    gdi::Select selPen(s.dc, pen.get());
    SetTextColor(s.dc, text);
    SetBkMode(s.dc, TRANSPARENT);
    for (int i = 0; i < n; ++i) {
        const float a = arc.startAngle + i * angleStep;
        if (i % majorStride == 0) {
            if (outerTicks) Line(s.dc, OnEllipse(cx, cy, a, W - 4, H - 4), OnEllipse(cx, cy, a, W - 36, H - 36));
            else Line(s.dc, OnEllipse(cx, cy, a, W - 40, H - 40), OnEllipse(cx, cy, a, W - 8, H - 8));

            const double value = t.inverse ? t.text.maxVal - i * valueStep : t.text.minVal + i * valueStep;
            const std::string label = FormatScaleValue(t.text, static_cast<float>(value));
            POINT anchor = outerText ? ToPoint(OnEllipse(cx, cy, a, W + 2, H + 12))
                                     : ToPoint(OnEllipse(cx, cy, a, W - 50, H - 60));
            RECT box;
            UINT dt, ta;
            LabelBox(a, outerText, anchor.x, anchor.y, box, dt, ta);
            BoxText(s, label, box, DT_SINGLELINE | DT_VCENTER | dt, ta, BaselineAnchor(s, anchor.x, anchor.y));
        }
        if (i < n - 1 && sub > 0) {
            // First minor tick of this interval that falls on the stride.
            const long long first = static_cast<long long>(i) * sub;
            long long k = (minorStride - first % minorStride) % minorStride + 1;
            for (; k <= sub; k += minorStride) {
                const float m = a + k * minorStep;
                if (outerTicks) Line(s.dc, OnEllipse(cx, cy, m, W - 4, H - 4), OnEllipse(cx, cy, m, W - 16, H - 16));
                else Line(s.dc, OnEllipse(cx, cy, m, W - 40, H - 40), OnEllipse(cx, cy, m, W - 28, H - 28));
            }
        }
    }
}

// ---------------------------------------------------------------- set-point text

void PaintSetpointText(const Surface& s, const RECT& I, const SetpointSpec& sp, COLORREF text) {
    const bool bottom = sp.type >= STS_BOTTOM_TRANSPARENT && sp.type <= STS_BOTTOM_NONE;
    const double x = (I.left + I.right) * 0.5 + 0.00001;
    const double y = bottom ? I.bottom + sp.rimInset + 4 + 2 : (I.top + I.bottom) * 0.5 + 10;
    const RECT box{Trunc(x - 25), Trunc(y), Trunc(x + 25), Trunc(y) + 20};
    const bool valueShown = sp.type != STS_NONE && sp.type != STS_BOTTOM_NONE;
    SetBkMode(s.dc, TRANSPARENT);
    if (sp.type == STS_SUNKEN || sp.type == STS_BOTTOM_SUNKEN) {
        gdi::Brush white(CreateSolidBrush(RGB(255, 255, 255)));
        FillRect(s.dc, &box, white.get());
        RECT edge = box;
        DrawEdge(s.dc, &edge, EDGE_SUNKEN, BF_RECT);
    }
    if (valueShown) {
        SetTextColor(s.dc, RGB(0, 0, 0));
        BoxText(s, sp.valueText, box, DT_SINGLELINE | DT_VCENTER | DT_CENTER, TA_BASELINE | TA_CENTER,
                BaselineAnchor(s, (box.left + box.right) / 2, (box.top + box.bottom) / 2));
    }
    if (sp.unitName && !sp.unitName->empty()) {
        SetTextColor(s.dc, text);
        const int top = valueShown ? Trunc(y + 22) : box.top;
        const RECT unitBox{Trunc(x - 150), top, Trunc(x + 150), top + 14};
        BoxText(s, *sp.unitName, unitBox, DT_SINGLELINE | DT_CENTER, TA_CENTER,
                POINT{(unitBox.left + unitBox.right) / 2, top});
    }
}

// ---------------------------------------------------------------- whole knob

PointerGeometry PaintKnob(const Surface& s, const RECT& R, const KnobAppearance& a, const KnobColors& c,
                          double previousAngle) {
    const bool outerText = a.scaleTextPosStyle == OUTER;
    const int mx = outerText ? a.outerTextLength : 0, my = outerText ? a.outerTextHeight : 0;

    PaintBackground(s.dc, R, a.borderType, c.background, c.ambient);
    SetTextColor(s.dc, c.text);
    SetBkMode(s.dc, TRANSPARENT);

    RECT S{R.left + mx + 2, R.top + my + 2, R.right - mx - 2, R.bottom - my - 2};
    S = PaintBorder(s, R, S, BorderSpec{a.borderType, a.outerBorderLen, a.innerBorderLen, mx, my}, c, a.arc);

    if (a.scaleRingVisible)
        PaintScaleRing(s.dc, S, RingSpec{a.scaleRingBorderType, a.text.minVal, a.text.maxVal, a.inverseDirection, a.ranges},
                       a.arc, c);

    RECT P = a.scaleRingVisible ? Inset(S, 20, 20) : S;
    const PanelSpec panel{a.panelType, a.panelBorderType, a.panelBorderLen};
    const int d = PanelBorderInset(panel);
    PaintPanel(s, P, panel, c.panel, c.panelBorderLight, c.panelBorderDark, a.arc);

    if (a.scaleRingVisible) {
        PaintTicksAndLabels(s, S,
                            TickSpec{a.tickerNum, a.subTickerNum, a.tickerAlignment, a.scaleTextPosStyle,
                                     a.inverseDirection, a.text},
                            a.arc, c.ticker, c.text);
        if (a.scaleTextPosStyle == INNER) P = Inset(P, a.outerTextLength, a.outerTextHeight);
    }

    const RECT I = Inset(P, d + 4, d + 4);
    const PointerSpec pointer{a.indicatorType, a.indicatorSize, a.sliderType, a.sliderWidth, a.markerType,
                              a.markerVisible};
    const PointerColors pc{c.indicator, c.marker, c.slider, c.panelBorderLight, c.panelBorderDark};
    PaintSliderTrack(s, I, pointer, pc, a.arc);

    PaintSetpointText(s, I, SetpointSpec{a.setpointTextType, d, FormatScaleValue(a.text, static_cast<float>(a.value)),
                                         &a.unitName},
                      c.text);

    const double angle = PointerAngle(a.value, a.text.minVal, a.text.maxVal, a.inverseDirection, a.arc, previousAngle);
    PointerGeometry g = PaintPointer(s, I, angle, pointer, pc, a.arc);

    PaintFrameEdge(s.dc, R, a.borderType);
    return g;
}

}  // namespace knobpaint
