#include "slider_paint.h"
#include "Morvel.h"
#include "common/draw.h"
#include "common/gdi.h"
#include "slider_layout.h"

namespace {

void Fill(HDC dc, const RECT& r, COLORREF c) {
    gdi::Brush brush = gdi::SolidBrush(c);
    FillRect(dc, &r, brush);
}

void Segment(HDC dc, int x0, int y0, int x1, int y1) {
    MoveToEx(dc, x0, y0, nullptr);
    LineTo(dc, x1, y1);
}

// How a text sits in its box: the DrawText alignment and, for a metafile,
// the anchor on the box's named edge and the matching TextOut alignment.
enum class Along { Start, Centre, End };  // left/top, centre, right/bottom

void PlacedText(const Surface& s, const std::string& text, const RECT& box, Along h, Along v) {
    UINT dt = DT_SINGLELINE, ta = 0;
    POINT at{box.left, box.top};
    switch (h) {
    case Along::Start: dt |= DT_LEFT; ta |= TA_LEFT; at.x = box.left; break;
    case Along::Centre: dt |= DT_CENTER; ta |= TA_CENTER; at.x = (box.left + box.right) / 2; break;
    case Along::End: dt |= DT_RIGHT; ta |= TA_RIGHT; at.x = box.right; break;
    }
    switch (v) {
    case Along::Start: dt |= DT_TOP; ta |= TA_TOP; at.y = box.top; break;
    case Along::Centre:
        dt |= DT_VCENTER;
        ta |= TA_BASELINE;
        at = BaselineAnchor(s, at.x, (box.top + box.bottom) / 2);
        break;
    case Along::End: dt |= DT_BOTTOM; ta |= TA_BOTTOM; at.y = box.bottom; break;
    }
    BoxText(s, text, box, dt, ta, at);
}

// Major and minor ticks with their labels along V.
void PaintScale(const Surface& s, const RECT& R, const RECT& V, const SliderLook& k) {
    const int n = k.tickerNum, g = k.scaleGap;
    // Single precision, as the knob's scale: the labels and ticks round
    // where the knob's do.
    const float step = static_cast<float>((k.text.maxVal - k.text.minVal) / (n - 1));
    const int length = k.vertical ? V.bottom - V.top : V.right - V.left;
    const float t = static_cast<float>(length) / (n - 1), m = t / (k.subTickerNum + 1);
    // Major steps closer than a pixel: only the first label and tick landing
    // on each pixel are drawn (the last label, in its own box, always).
    // Those steps' minor ticks stay on that pixel, under its major tick.
    const bool onePerPixel =
        t < 1 && (k.subTickerNum <= 0 || (Trunc(m) == 0 && Trunc(k.subTickerNum * m) == 0));
    int drawnAt = 0;
    for (int i = 0; i < n; ++i) {
        const int o = Trunc(t * i);
        if (onePerPixel && i > 0 && i < n - 1 && o == drawnAt) continue;
        drawnAt = o;
        std::string label;
        RECT box;
        Along h, v;
        if (k.vertical) {
            const int y = V.bottom - o;
            Segment(s.dc, V.left - g, y, V.left - g - 9, y);
            Segment(s.dc, V.right + g, y, V.right + g + 8, y);
            label = FormatScaleValue(k.text, static_cast<float>(k.inverse ? k.text.maxVal - step * i
                                                                           : k.text.minVal + step * i));
            if (k.labelsAfter) box = RECT{V.right + g + 9, 0, R.right + g, 0}, h = Along::Start;
            else box = RECT{R.left, 0, V.left - g - 10, 0}, h = Along::End;
            if (i == 0) box.top = y - 50, box.bottom = y, v = Along::End;
            else if (i == n - 1) box.top = y, box.bottom = y + 50, v = Along::Start;
            else if (k.labelsAfter) box.top = y - 50, box.bottom = y + 50, v = Along::Centre;
            else box.top = y - 25, box.bottom = y + 25, v = Along::Centre;
        } else {
            const int x = V.right - o;
            Segment(s.dc, x, V.top - g, x, V.top - g - 8);
            Segment(s.dc, x, V.bottom + g, x, V.bottom + g + 8);
            label = FormatScaleValue(k.text, static_cast<float>(k.inverse ? k.text.minVal + step * i
                                                                           : k.text.maxVal - step * i));
            if (k.labelsAfter) box = RECT{0, V.bottom + g + 9, 0, R.bottom}, v = Along::Start;
            else box = RECT{0, R.top, 0, V.top - g - 9}, v = Along::End;
            if (i == 0) box.left = x - 300, box.right = x, h = Along::End;
            else if (i == n - 1) box.left = V.left, box.right = V.left + 300, h = Along::Start;
            else box.left = x - 150, box.right = x + 150, h = Along::Centre;
        }
        PlacedText(s, label, box, h, v);
        if (i == n - 1 || k.subTickerNum <= 0) continue;
        // Minor ticks. Where they fall closer than a pixel apart every pixel
        // between the first and the last is hit: walk the pixels instead, so
        // huge counts cost no more than the scale's length.
        auto minor = [&](int off) {
            if (k.vertical) {
                const int y = V.bottom - off;
                Segment(s.dc, V.left - g, y, V.left - g - 4, y);
                Segment(s.dc, V.right + g, y, V.right + g + 3, y);
            } else {
                const int x = V.right - off;
                Segment(s.dc, x, V.top - g, x, V.top - g - 3);
                Segment(s.dc, x, V.bottom + g, x, V.bottom + g + 3);
            }
        };
        if (m <= 1) {
            const int last = Trunc(k.subTickerNum * m);
            for (int q = Trunc(m); q <= last; ++q) minor(o + q);
        } else {
            for (int j = 1; j <= k.subTickerNum; ++j) minor(o + Trunc(j * m));
        }
    }
}

// A value text beside the field at position `at` along it, on the side away
// from the labels.
void PaintValueText(const Surface& s, const RECT& R, const RECT& V, const SliderLook& k, int at,
                    const std::string& text) {
    const int g = k.scaleGap;
    RECT box;
    Along h, v;
    if (k.vertical) {
        if (k.labelsAfter) box.left = V.left - g - 311, box.right = V.left - g - 11, h = Along::End;
        else box.left = V.right + g + 11, box.right = V.right + g + 311, h = Along::Start;
        if (at - 7 < R.top) box.top = R.top, box.bottom = R.top + 50, v = Along::Start;
        else if (at + 7 > R.bottom) box.top = R.bottom - 50, box.bottom = at + 7, v = Along::End;
        else box.top = at - 25, box.bottom = at + 25, v = Along::Centre;
    } else {
        if (k.labelsAfter) box.top = V.top - g - 61, box.bottom = V.top - g - 11, v = Along::End;
        else box.top = V.bottom + g + 11, box.bottom = V.bottom + g + 61, v = Along::Start;
        if (at - 25 < R.left - 10) box.left = R.left, box.right = R.left + 300, h = Along::Start;
        else if (at + 25 > R.right + 10) box.left = R.right - 300, box.right = R.right, h = Along::End;
        else box.left = at - 150, box.right = at + 150, h = Along::Centre;
    }
    PlacedText(s, text, box, h, v);
}

}  // namespace

void PaintFrame(HDC dc, const RECT& R, const FrameSpec& f) {
    RECT r = R;
    switch (f.style) {
    case SUNKEN: DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT); break;
    case RAISED: DrawEdge(dc, &r, EDGE_RAISED, BF_RECT); break;
    case CONFIGURABLE: PaintConfigurableBands(dc, R, f.outerLen, f.innerLen, f.light, f.dark); break;
    default: break;
    }
}

void PaintFieldEdge(HDC dc, const RECT& field, int style) {
    RECT r = field;
    if (style == RAISED) DrawEdge(dc, &r, EDGE_RAISED, BF_RECT);
    else if (style == SUNKEN) DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT);
}

SliderLeft PaintSlider(const Surface& s, const RECT& R, const SliderLook& k, const SliderColors& c) {
    Fill(s.dc, R, c.background);
    SetTextColor(s.dc, c.text);
    SetBkMode(s.dc, TRANSPARENT);

    const bool scaled = k.tickerNum > 1;
    const SliderLayoutSpec spec{k.vertical, k.tickerNum, k.rangeFieldWidth, k.rangeEndGap,
                                SliderFrameDepth(k.frame.style, static_cast<short>(k.frame.outerLen),
                                                 static_cast<short>(k.frame.innerLen))};
    const RECT V = SliderValueRect(R, spec);
    if (scaled && k.scaleVisible) {
        gdi::Pen pen = gdi::SolidPen(c.text);
        gdi::Select sel(s.dc, pen);
        PaintScale(s, R, V, k);
    }

    const SliderValues values{k.vertical, k.inverse, k.text.minVal, k.text.maxVal,
                              k.setpoint, k.actual,  k.markerWidth, k.markerHeight};
    const SliderPlacement p = PlaceSliderMarker(V, values);

    Fill(s.dc, V, c.rangeBack);
    if (k.actualVisible) Fill(s.dc, p.band, c.rangeActual);
    PaintFieldEdge(s.dc, V, k.rangeBorderStyle);

    MarkerSpec marker = k.marker;
    marker.vertical = k.vertical;
    marker.labelsAfter = k.labelsAfter;
    PaintMarker(s.dc, p.marker, p.centre, p.middle, marker);

    if (scaled) {
        if (k.showSetpoint) {
            SetTextColor(s.dc, c.text);
            PaintValueText(s, R, V, k, p.centre, FormatScaleValue(k.text, static_cast<float>(k.setpoint)));
        }
        if (k.showActual) {
            const int end = k.vertical ? (k.inverse ? p.band.bottom : p.band.top)
                                       : (k.inverse ? p.band.left : p.band.right);
            SetTextColor(s.dc, c.rangeActual);
            PaintValueText(s, R, V, k, end, FormatScaleValue(k.text, static_cast<float>(k.actual)));
        }
    }
    PaintFrame(s.dc, R, k.frame);
    return SliderLeft{V, p.marker};
}
