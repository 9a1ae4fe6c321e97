#include "marker_paint.h"
#include <initializer_list>
#include <vector>
#include "Morvel.h"
#include "common/gdi.h"
#include "common/gradient.h"

namespace {

const COLORREF kBlack = 0x000000, kWhite = 0xFFFFFF, kGrey = 0x808080, kLightGrey = 0x969696;
const COLORREF kEllipseRim = 0x646464;

void Fill(HDC dc, const RECT& r, COLORREF c) {
    gdi::Brush brush = gdi::SolidBrush(c);
    FillRect(dc, &r, brush);
}

void Edge(HDC dc, RECT r, UINT edge) { DrawEdge(dc, &r, edge, BF_RECT); }

// A 1-pixel line through the points, in one colour.
void Line(HDC dc, COLORREF colour, std::initializer_list<POINT> pts) {
    gdi::Pen pen = gdi::SolidPen(colour);
    gdi::Select sel(dc, pen);
    const POINT* p = pts.begin();
    MoveToEx(dc, p->x, p->y, nullptr);
    for (++p; p != pts.end(); ++p) LineTo(dc, p->x, p->y);
}

// A shape filled and outlined in one pen and one brush colour.
class Shape {
public:
    Shape(HDC dc, COLORREF pen, COLORREF brush)
        : m_pen(gdi::SolidPen(pen)), m_brush(gdi::SolidBrush(brush)), m_selPen(dc, m_pen), m_selBrush(dc, m_brush) {}

private:
    gdi::Pen m_pen;
    gdi::Brush m_brush;
    gdi::Select m_selPen, m_selBrush;
};

void FilledPolygon(HDC dc, std::initializer_list<POINT> pts, COLORREF c) {
    Shape shape(dc, c, c);
    Polygon(dc, pts.begin(), static_cast<int>(pts.size()));
}

void Quad(HDC dc, POINT a, POINT b, POINT c, POINT d, COLORREF c1, COLORREF c2, float level) {
    FillGradientQuad(dc, a.x, a.y, b.x, b.y, c.x, c.y, d.x, d.y, c1, c2, level);
}

// The band across the marker that grooves and teeth use: inset 4 from K's
// sides, or 1 where 4 leaves nothing.
void AcrossSpan(const RECT& K, bool vertical, int& from, int& to) {
    const int lo = vertical ? K.left : K.top, hi = vertical ? K.right : K.bottom;
    if (hi - 4 < lo + 4) {
        from = lo + 1;
        to = hi - 1;
    } else {
        from = lo + 4;
        to = hi - 4;
    }
}

RECT Band(bool vertical, int acrossFrom, int acrossTo, int alongFrom, int alongTo) {
    return vertical ? RECT{acrossFrom, alongFrom, acrossTo, alongTo} : RECT{alongFrom, acrossFrom, alongTo, acrossTo};
}

// 4-pixel teeth: one at the centre, then pairs outward while the last one on
// the start side lies more than 6 pixels inside K.
void Teeth(HDC dc, const RECT& K, int c, bool vertical, UINT edge) {
    int a0, a1;
    AcrossSpan(K, vertical, a0, a1);
    Edge(dc, Band(vertical, a0, a1, c - 2, c + 2), edge);
    const int start = vertical ? K.top : K.left;
    for (int k = 1; start + 6 < c - 2 - 4 * (k - 1); ++k) {
        Edge(dc, Band(vertical, a0, a1, c + 2 + 4 * (k - 1), c + 2 + 4 * k), edge);
        Edge(dc, Band(vertical, a0, a1, c - 2 - 4 * k, c - 2 - 4 * (k - 1)), edge);
    }
}

void Arrow(HDC dc, const RECT& K, int c, const MarkerSpec& m) {
    const int l = K.left, t = K.top, r = K.right, b = K.bottom;
    if (m.vertical && !m.labelsAfter) {
        FilledPolygon(dc, {{r, t}, {r, b}, {l + 4, b}, {l - 4, c}, {l + 4, t}}, m.face);
        Line(dc, kBlack, {{r, t}, {r, b}, {l + 4, b}});
        Line(dc, kWhite, {{r, t}, {l + 4, t}, {l - 5, c}, {l + 4, b}});
        Line(dc, kWhite, {{r - 1, t + 1}, {l + 4, t + 1}, {l - 4, c}, {l + 4, b}});
    } else if (m.vertical) {
        FilledPolygon(dc, {{l, t}, {l, b}, {r - 4, b}, {r + 4, c}, {r - 4, t}}, m.face);
        Line(dc, kBlack, {{l, b}, {r - 4, b}, {r + 5, c}});
        Line(dc, kWhite, {{l, b}, {l, t}, {r - 4, t}, {r + 5, c}});
        Line(dc, kWhite, {{l + 1, b - 1}, {l + 1, t + 1}, {r - 4, t + 1}});
    } else if (!m.labelsAfter) {
        FilledPolygon(dc, {{l, b}, {l, t + 4}, {c, t - 4}, {r, t + 4}, {r, b}}, m.face);
        Line(dc, kBlack, {{l, b}, {r, b}, {r, t + 4}, {c, t - 4}});
        Line(dc, kWhite, {{l, b}, {l, t + 4}, {c, t - 4}});
        Line(dc, kWhite, {{l + 1, b - 1}, {l + 1, t + 4}, {c, t - 3}});
    } else {
        FilledPolygon(dc, {{l, t}, {l, b - 4}, {c, b + 4}, {r, b - 4}, {r, t}}, m.face);
        Line(dc, kBlack, {{r, t}, {r, b - 4}, {c, b + 4}});
        Line(dc, kWhite, {{r, t}, {l, t}, {l, b - 4}, {c, b + 4}});
        Line(dc, kWhite, {{r - 1, t + 1}, {l + 1, t + 1}, {l + 1, b - 5}, {c, b + 3}});
    }
}

void Triangle(HDC dc, const RECT& K, int c, const MarkerSpec& m) {
    const int l = K.left, t = K.top, r = K.right, b = K.bottom;
    if (m.vertical && !m.labelsAfter) {
        FilledPolygon(dc, {{r, t}, {r, b}, {l, c}}, m.face);
        Line(dc, kBlack, {{r, t}, {r, b}});
        Line(dc, kWhite, {{r, t}, {l, c}, {r, b}});
        Line(dc, kWhite, {{r, t + 1}, {l + 1, c - 1}});
    } else if (m.vertical) {
        FilledPolygon(dc, {{l, t}, {l, b}, {r, c}}, m.face);
        Line(dc, kBlack, {{l, b}, {r, c}});
        Line(dc, kWhite, {{l, b}, {l, t}, {r, c}});
        Line(dc, kWhite, {{l + 1, b - 1}, {l + 1, t + 1}});
    } else if (!m.labelsAfter) {
        FilledPolygon(dc, {{l, b}, {r, b}, {c, t}}, m.face);
        Line(dc, kBlack, {{l, b}, {r, b}, {c, t}});
        Line(dc, kWhite, {{l, b}, {c, t}});
        Line(dc, kWhite, {{l + 1, b - 1}, {c - 1, t + 1}});
    } else {
        FilledPolygon(dc, {{r, t}, {l, t}, {c, b}}, m.face);
        Line(dc, kBlack, {{r, t}, {c, b}});
        Line(dc, kWhite, {{r, t}, {l, t}, {c, b}});
        Line(dc, kWhite, {{l + 1, t + 1}, {c - 1, b - 1}});
    }
}

void Dumbbell(HDC dc, const RECT& K, int e, const MarkerSpec& m) {
    const int l = K.left, t = K.top, r = K.right, b = K.bottom;
    const COLORREF D = RGB(GetRValue(m.face) * 2 / 3, GetGValue(m.face) * 2 / 3, GetBValue(m.face) * 2 / 3);
    RECT caps[2];
    if (m.vertical) {
        Quad(dc, {l, t}, {l, b}, {e, b}, {e, t}, D, kWhite, m.level);
        Quad(dc, {r + 2, t}, {r + 2, b}, {e, b}, {e, t}, D, kWhite, m.level);
        Line(dc, kBlack, {{l, t + 2}, {l, b - 2}});
        Line(dc, kBlack, {{l, t + 10}, {l - 4, t + 9}});
        Line(dc, kBlack, {{r, t + 2}, {r, b - 2}});
        Line(dc, kBlack, {{r, t + 10}, {r + 3, t + 10}});
        caps[0] = RECT{l - 4, t, r + 4, t + 10};
        caps[1] = RECT{l - 4, b - 10, r + 4, b};
    } else {
        Quad(dc, {l, t}, {r, t}, {r, e}, {l, e}, D, kWhite, m.level);
        Quad(dc, {l, b + 2}, {r, b + 2}, {r, e}, {l, e}, D, kWhite, m.level);
        Line(dc, kBlack, {{l + 2, t}, {r - 2, t}});
        Line(dc, kBlack, {{l + 2, b}, {r - 2, b}});
        Line(dc, kBlack, {{l + 10, t}, {l + 10, t - 3}});
        Line(dc, kBlack, {{l + 10, b}, {l + 10, b + 3}});
        caps[0] = RECT{l, t - 4, l + 10, b + 4};
        caps[1] = RECT{r - 10, t - 4, r, b + 4};
    }
    for (const RECT& cap : caps) {
        Fill(dc, cap, m.face);
        Edge(dc, cap, BDR_RAISEDINNER);
    }
}

void Bevelled(HDC dc, const RECT& K, const MarkerSpec& m) {
    const int l = K.left, t = K.top, r = K.right, b = K.bottom;
    {
        Shape shape(dc, kBlack, m.face);
        Rectangle(dc, l, t, r + 1, b - 1);
    }
    Line(dc, kWhite, {{l + 2, b - 2}, {l + 2, t + 2}, {r - 2, t + 2}});
    Line(dc, kGrey, {{l + 1, b - 1}, {r - 1, b - 1}, {r - 1, t + 1}});
    if (m.style == MKEX2) {
        Line(dc, kWhite, {{l + 5, b - 5}, {l + 5, t + 5}, {r - 5, t + 5}});
        Line(dc, kBlack, {{l + 5, b - 5}, {r - 6, b - 5}, {r - 6, t + 5}});
    } else if (m.style == MKEX3) {
        // Ribs 3 pixels apart, each a white line with a black one after it.
        if (m.vertical) {
            for (int y = t + 4; y < b - 5; y += 3) {
                Line(dc, kWhite, {{l + 4, y}, {r - 3, y}});
                Line(dc, kBlack, {{l + 4, y + 1}, {r - 3, y + 1}});
            }
        } else {
            for (int x = l + 4; x < r - 3; x += 3) {
                Line(dc, kWhite, {{x, t + 4}, {x, b - 3}});
                Line(dc, kBlack, {{x + 1, t + 4}, {x + 1, b - 3}});
            }
        }
    }
}

void ArcIn(HDC dc, COLORREF colour, int l, int t, int r, int b, POINT from, POINT to) {
    gdi::Pen pen = gdi::SolidPen(colour);
    gdi::Select sel(dc, pen);
    Arc(dc, l, t, r, b, from.x, from.y, to.x, to.y);
}

void BevelledEllipse(HDC dc, const RECT& K, const MarkerSpec& m) {
    const int l = K.left, t = K.top, r = K.right, b = K.bottom;
    {
        Shape shape(dc, kBlack, m.face);
        Ellipse(dc, l, t, r + 1, b + 1);
    }
    ArcIn(dc, kWhite, l + 2, t + 2, r - 2, b - 2, {r - 2, t + 2}, {l + 2, b - 2});
    ArcIn(dc, kWhite, l + 5, t + 5, r - 4, b - 4, {r - 4, t + 5}, {l + 5, b - 4});
    ArcIn(dc, kLightGrey, l + 1, t + 1, r, b, {l + 1, b - 1}, {r - 1, t + 1});
    ArcIn(dc, kLightGrey, l + 5, t + 5, r - 4, b - 4, {l + 5, b - 4}, {r - 4, t + 5});
}

}  // namespace

void PaintMarker(HDC dc, const RECT& K, int c, int e, const MarkerSpec& m) {
    const int l = K.left, t = K.top, r = K.right, b = K.bottom;
    switch (m.style) {
    case MKFLAT:
    case MKRAISEDTOOTH:
    case MKSUNKENTOOTH:
        Fill(dc, K, m.face);
        Edge(dc, K, EDGE_RAISED);
        if (m.style != MKFLAT) Teeth(dc, K, c, m.vertical, m.style == MKRAISEDTOOTH ? EDGE_RAISED : EDGE_SUNKEN);
        break;
    case MKGRADIENT:
        Fill(dc, K, m.face);
        if (m.vertical) {
            Quad(dc, {l, t}, {r, t}, {r, c}, {l, c}, m.face, kWhite, m.level);
            Quad(dc, {l, b}, {r, b}, {r, c}, {l, c}, m.face, kWhite, m.level);
        } else {
            Quad(dc, {l, t}, {l, b}, {c, b}, {c, t}, m.face, kWhite, m.level);
            Quad(dc, {r, t}, {r, b}, {c, b}, {c, t}, m.face, kWhite, m.level);
        }
        Line(dc, kBlack, {{l, t}, {l, b}, {r, b}, {r, t}, {l, t}});
        break;
    case MKRAISED:
    case MKSUNKEN: {
        Fill(dc, K, m.face);
        int a0, a1;
        AcrossSpan(K, m.vertical, a0, a1);
        const int half = (m.vertical ? b - t : r - l) < 20 ? 2 : 4;
        Edge(dc, Band(m.vertical, a0, a1, c - half, c + half), m.style == MKRAISED ? EDGE_RAISED : EDGE_SUNKEN);
        Edge(dc, K, EDGE_RAISED);
        break;
    }
    case MKARROW:
    case MKRAISEDTOOTHARROW:
    case MKSUNKENTOOTHARROW:
        Arrow(dc, K, c, m);
        if (m.style != MKARROW) Teeth(dc, K, c, m.vertical, m.style == MKRAISEDTOOTHARROW ? EDGE_RAISED : EDGE_SUNKEN);
        break;
    case MKTRIANGLE:
        Triangle(dc, K, c, m);
        break;
    case MKDUMBBELL:
        Dumbbell(dc, K, e, m);
        break;
    case MKELLIPSE: {
        {
            Shape shape(dc, kEllipseRim, kEllipseRim);
            Ellipse(dc, l, t, r, b);
        }
        FillGradientBand(dc, K, 6, 0, 0, 0.9f, kEllipseRim, m.face);
        Shape shape(dc, kEllipseRim, m.face);
        Ellipse(dc, l + 6, t + 6, r - 6, b - 6);
        break;
    }
    case MKEX1:
    case MKEX2:
    case MKEX3:
        Bevelled(dc, K, m);
        break;
    case MKEX4:
        BevelledEllipse(dc, K, m);
        break;
    default:
        break;  // no marker
    }
}
